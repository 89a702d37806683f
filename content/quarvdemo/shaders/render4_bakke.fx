// render4_bakke.fx: a liquid floor: two layers of the texture tex0 drifting across each other
// with "time" and shimmering, brightness alpha1.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform sampler2D tex0;
uniform float time = 0.0;
uniform float alpha1 = 1.0;
--- vertex floor
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
}
--- fragment liquid
in vec2 uv;
out vec4 colour;
void main() {
  vec3 a = texture(tex0, uv + vec2(0.03, 0.01) * time).rgb;
  vec3 b = texture(tex0, uv * 1.7 - vec2(0.01, 0.04) * time).rgb;
  float shimmer = 0.9 + 0.1 * sin(6.0 * (uv.x + uv.y) + 2.0 * time);
  colour = vec4(0.5 * (a + b) * shimmer * max(alpha1, 0.0), 1.0);
}
--- pass 0 floor liquid
