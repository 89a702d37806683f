// render5_endorf.fx: the mirrored hall of spheres. Pass 0: the polished ground and its mirror
// image, fading into a faint sheen with view distance (taken from the clip position alone, so
// the mirrored ceiling fades like the floor). Pass 1: the spheres, lit from a fixed direction
// with a cool rim toward CameraPosition.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matWorldView = mat4(1.0);
uniform mat4 matWorld = mat4(1.0);
uniform sampler2D tex0;
uniform vec3 CameraPosition = vec3(0.0, 0.0, 0.0);
vec3 safeNormalize(vec3 v, vec3 fallback) { return dot(v, v) > 1e-12 ? normalize(v) : fallback; }
--- vertex plane
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
out float viewDistance;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
  viewDistance = gl_Position.w;
}
--- fragment polished
in vec2 uv;
in float viewDistance;
out vec4 colour;
void main() {
  float fade = pow(clamp(1.0 - viewDistance / 350.0, 0.0, 1.0), 1.5);
  vec3 sheen = vec3(0.13, 0.15, 0.17);
  colour = vec4(texture(tex0, uv).rgb * fade + sheen * (1.0 - fade), 1.0);
}
--- vertex sphere
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
out vec3 position;
out vec3 normal;
void main() {
  vec4 world = matWorld * vec4(inPosition, 1.0);
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  position = world.xyz;
  normal = mat3(matWorld) * inNormal;
  uv = inTexcoord0;
}
--- fragment shiny
in vec2 uv;
in vec3 position;
in vec3 normal;
out vec4 colour;
void main() {
  vec3 n = safeNormalize(normal, vec3(0.0, 1.0, 0.0));
  vec3 v = safeNormalize(CameraPosition - position, n);
  const vec3 l = vec3(0.28221626, 0.94072087, 0.18814417);  // (0.3, 1, 0.2) normalised
  float rim = 1.0 - max(dot(n, v), 0.0);
  vec3 lit = texture(tex0, uv).rgb * (0.35 + 0.65 * max(dot(n, l), 0.0));
  colour = vec4(lit + rim * rim * vec3(0.6, 0.8, 1.0), 1.0);
}
--- pass 0 plane polished
--- pass 1 sphere shiny
