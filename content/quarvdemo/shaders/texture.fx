// texture.fx: a textured screen rectangle or card. Pass 0 is a plain copy of the picture (the
// closing logo); pass 1 scales it by "alpha" and saturates at white (the added glow, and the
// slide written into the shadow map, where white must stay white and black ink black).
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform sampler2D tex0;
uniform float alpha = 1.0;
// Set by the slide pass but not read: alpha1 and pump keep no meaning here.
uniform float alpha1 = 1.0;
uniform float pump = 0.0;
--- vertex quad
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  // Grid v runs 0 (bottom) to -1 (top): 1 + v puts the picture's top row at the top.
  uv = vec2(inTexcoord0.x, 1.0 + inTexcoord0.y);
}
--- fragment copy
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(texture(tex0, uv).rgb, 1.0); }
--- fragment scaled
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(min(texture(tex0, uv).rgb * max(alpha, 0.0), vec3(1.0)), 1.0); }
--- pass 0 quad copy
--- pass 1 quad scaled
--- sampler tex0 clamp linear
