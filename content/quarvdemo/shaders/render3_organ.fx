// render3_organ.fx: picture cards. Pass 0 draws a translucent card mesh (its own 0..1 texture
// coordinates) at the picture's opacity times alpha1; pass 1 draws a grid card opaque, for a shadow
// map written without blending and for minimum blending on screen, where white vanishes.
--- common
uniform mat4 matProjection = mat4(1.0);
uniform sampler2D tex0;
uniform float alpha1 = 1.0;
// Set by the scenes, not read: its range differs from scene to scene.
uniform float pump = 0.0;
--- vertex mesh
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
}
--- vertex grid
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matProjection * vec4(inPosition, 1.0);
  uv = vec2(inTexcoord0.x, 1.0 + inTexcoord0.y);
}
--- fragment translucent
in vec2 uv;
out vec4 colour;
void main() {
  vec4 c = texture(tex0, uv);
  colour = vec4(c.rgb, clamp(c.a * alpha1, 0.0, 1.0));
}
--- fragment opaque
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(texture(tex0, uv).rgb, 1.0); }
--- pass 0 mesh translucent
--- pass 1 grid opaque
--- sampler tex0 clamp linear
