// demo2_partikkel.fx: camera-facing particle quads. Each particle's four vertices sit at its centre
// and carry their corner offset (+-0.5) as texture coordinates; the quad is spread along the view's
// right and up axes by ParticleSize. Pass 0: a faint additive spark (many overlap). Pass 1: the
// plain picture. Pass 2: a picture card that pales to white as it nears the eye, so under minimum
// blending it fades out instead of blacking out the view. Pass 3: a spark dimmed by distance from
// CameraPosition, an inverse-square fog between FogStart and FogEnd.
--- common
uniform mat4 matView = mat4(1.0);
uniform mat4 matViewProjection = mat4(1.0);
uniform vec2 ParticleSize = vec2(1.0, 1.0);
uniform sampler2D tex0;
uniform vec3 CameraPosition = vec3(0.0, 0.0, 0.0);
uniform float FogStart = 0.0;
uniform float FogEnd = 100.0;
--- vertex billboard
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
out vec3 centre;
out float viewDepth;
void main() {
  // Row-major matrices arrive unchanged: matView[c][r] is D3DX's _(c+1)(r+1), so the first two
  // columns of the view matrix, the camera's right and up in world space, are read like this.
  vec3 right = vec3(matView[0][0], matView[1][0], matView[2][0]);
  vec3 up = vec3(matView[0][1], matView[1][1], matView[2][1]);
  vec3 corner = inPosition + right * (inTexcoord0.x * ParticleSize.x) + up * (inTexcoord0.y * ParticleSize.y);
  gl_Position = matViewProjection * vec4(corner, 1.0);
  uv = vec2(0.5 + inTexcoord0.x, 0.5 - inTexcoord0.y);
  centre = inPosition;
  viewDepth = (matView * vec4(corner, 1.0)).z;
}
--- fragment spark
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(textureLod(tex0, uv, 0.0).rgb * 0.12, 1.0); }
--- fragment picture
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(textureLod(tex0, uv, 0.0).rgb, 1.0); }
--- fragment card
in vec2 uv;
in float viewDepth;
out vec4 colour;
void main() {
  float near = 1.0 - smoothstep(150.0, 400.0, viewDepth);
  colour = vec4(mix(textureLod(tex0, uv, 0.0).rgb, vec3(1.0), near), 1.0);
}
--- fragment fogged
in vec2 uv;
in vec3 centre;
out vec4 colour;
void main() {
  float d = distance(centre, CameraPosition);
  float x = max(d - FogStart, 0.0) / max(FogEnd - FogStart, 1e-3);
  colour = vec4(textureLod(tex0, uv, 0.0).rgb / (1.0 + x * x), 1.0);
}
--- pass 0 billboard spark
--- pass 1 billboard picture
--- pass 2 billboard card
--- pass 3 billboard fogged
--- sampler tex0 clamp linear
