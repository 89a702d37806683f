// demo1_partikkel.fx: camera-facing particle quads, each textured and weighted by alpha1, meant
// to be added to the picture. The quad's corners come from the corner offsets (+-0.5) carried in
// the texture coordinates, spread along the view's right and up axes by ParticleSize.
--- common
uniform mat4 matView = mat4(1.0);
uniform mat4 matViewProjection = mat4(1.0);
uniform vec2 ParticleSize = vec2(1.0, 1.0);
uniform sampler2D tex0;
uniform float alpha1 = 1.0;
--- vertex billboard
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  vec3 right = vec3(matView[0][0], matView[1][0], matView[2][0]);
  vec3 up = vec3(matView[0][1], matView[1][1], matView[2][1]);
  vec3 corner = inPosition + right * (inTexcoord0.x * ParticleSize.x) + up * (inTexcoord0.y * ParticleSize.y);
  gl_Position = matViewProjection * vec4(corner, 1.0);
  uv = vec2(0.5 + inTexcoord0.x, 0.5 - inTexcoord0.y);
}
--- fragment spark
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(texture(tex0, uv).rgb * max(alpha1, 0.0), 1.0); }
--- pass 0 billboard spark
--- sampler tex0 clamp linear
