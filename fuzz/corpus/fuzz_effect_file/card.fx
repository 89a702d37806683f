// a textured full-screen card with an opacity
--- common
uniform mat4 matProjection;
uniform sampler2D tex0;
uniform float alpha1;
--- vertex quad
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() { gl_Position = matProjection * vec4(inPosition, 1.0); uv = inTexcoord0; }
--- fragment card
in vec2 uv; out vec4 colour;
void main() { vec4 c = texture(tex0, uv); colour = vec4(c.rgb * alpha1, c.a * alpha1); }
--- pass 0 quad card
--- sampler tex0 clamp linear
