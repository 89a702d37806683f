// render3_post.fx: the screen copy drawn back through the distortion grid. Pass 0 sends a ring
// pulse outward from the centre as "anim" runs from 0 to pi; pass 1 ripples the picture with waves
// of strength "amplitude" and frequency "freq", moving with "anim".
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform sampler2D tex0;
uniform float anim = 0.0;
uniform float amplitude = 0.0;
uniform float freq = 0.0;
--- vertex grid
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  uv = vec2(inTexcoord0.x, 1.0 + inTexcoord0.y);
}
--- fragment ring
in vec2 uv;
out vec4 colour;
void main() {
  const float pi = 3.14159265;
  // Distances measured on the 4:3 screen so the ring is round.
  vec2 d = (uv - vec2(0.5)) * vec2(4.0 / 3.0, 1.0);
  float r = length(d);
  float radius = 0.8 * anim / pi;
  float strength = 0.03 * sin(anim);
  float x = (r - radius) / 0.06;
  float band = exp(-x * x);
  vec2 direction = r > 1e-4 ? d / r : vec2(0.0);
  vec2 offset = direction * strength * band * vec2(0.75, 1.0);
  colour = vec4(texture(tex0, uv - offset).rgb, 1.0);
}
--- fragment waves
in vec2 uv;
out vec4 colour;
void main() {
  float k = 6.2831853 * freq * 0.001;
  vec2 offset = amplitude * vec2(sin(k * uv.y + 6.0 * anim), cos(k * uv.x + 5.0 * anim));
  colour = vec4(texture(tex0, uv + offset).rgb, 1.0);
}
--- pass 0 grid ring
--- pass 1 grid waves
--- sampler tex0 clamp linear
