// render3_post.fx: the screen copy drawn back through the distortion grid. Pass 0 sends a ring
// pulse outward from the centre as "anim" runs from 0 to pi; pass 1 ripples the picture with waves
// of strength "amplitude" and frequency "freq", moving with "anim".
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform sampler2D tex0;
uniform float anim = 0.0;
uniform float amplitude = 0.0;
uniform float freq = 0.0;
--- vertex ring
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
// The ring and the waves move the picture smoothly, so their offsets are worked out at the grid's
// vertices (about 100 x 75 over the screen) and interpolated: the same picture for a fraction of
// the per-pixel work.
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  const float pi = 3.14159265;
  vec2 at = vec2(inTexcoord0.x, 1.0 + inTexcoord0.y);
  // Distances measured on the 4:3 screen so the ring is round.
  vec2 d = (at - vec2(0.5)) * vec2(4.0 / 3.0, 1.0);
  float r = length(d);
  float radius = 0.8 * anim / pi;
  float strength = 0.03 * sin(anim);
  float x = (r - radius) / 0.06;
  float band = exp(-x * x);
  vec2 direction = r > 1e-4 ? d / r : vec2(0.0);
  uv = at - direction * strength * band * vec2(0.75, 1.0);
}
--- vertex waves
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  vec2 at = vec2(inTexcoord0.x, 1.0 + inTexcoord0.y);
  float k = 6.2831853 * freq * 0.001;
  uv = at + amplitude * vec2(sin(k * at.y + 6.0 * anim), cos(k * at.x + 5.0 * anim));
}
--- fragment moved
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(texture(tex0, uv).rgb, 1.0); }
--- pass 0 ring moved
--- pass 1 waves moved
--- sampler tex0 clamp linear
