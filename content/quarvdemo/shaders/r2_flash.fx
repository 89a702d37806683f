// r2_flash.fx: the burst picture over the whole screen after a camera cut, zoomed about the centre
// by "scale" (below 1 enlarges it) and shown at its own opacity times "alpha".
--- common
uniform mat4 matProjection = mat4(1.0);
uniform sampler2D tex0;
uniform float alpha = 1.0;
uniform float scale = 1.0;
--- vertex quad
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
}
--- fragment burst
in vec2 uv;
out vec4 colour;
void main() {
  // Grid coordinates: u 0..1, v 0 (bottom) to -1 (top), centre (0.5, -0.5).
  const vec2 centre = vec2(0.5, -0.5);
  vec2 p = (uv - centre) * scale + centre;
  vec4 c = texture(tex0, vec2(p.x, 1.0 + p.y));
  colour = vec4(c.rgb, clamp(c.a * alpha, 0.0, 1.0));
}
--- pass 0 quad burst
--- sampler tex0 clamp linear
