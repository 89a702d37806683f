// demo1_text.fx: a textured card or sky dome. Colour and opacity both scale with alpha1: with
// blending off (the skies) alpha1 is a brightness, with additive blending a weight (the white
// flashes), with source-alpha blending an opacity (title cards, fades, the frame overlay).
--- common
uniform mat4 matProjection = mat4(1.0);
uniform sampler2D tex0;
uniform float alpha1 = 1.0;
--- vertex card
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
}
--- fragment card
in vec2 uv;
out vec4 colour;
void main() {
  vec4 c = textureLod(tex0, uv, 0.0);
  float weight = max(alpha1, 0.0);
  // The opacity saturates at 1, so a weight above 1 means fully covered.
  colour = vec4(c.rgb * weight, clamp(c.a * weight, 0.0, 1.0));
}
--- pass 0 card card
