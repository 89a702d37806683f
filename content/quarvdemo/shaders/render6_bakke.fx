// render6_bakke.fx: a reflecting floor: the texture tex0 that darkens where the floor is seen
// head-on and brightens into a pale sheen at grazing angles from CameraPosition, brightness alpha1.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matWorld = mat4(1.0);
uniform sampler2D tex0;
uniform vec3 CameraPosition = vec3(0.0, 0.0, 0.0);
uniform float alpha1 = 1.0;
--- vertex floor
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
--- fragment sheen
in vec2 uv;
in vec3 position;
in vec3 normal;
out vec4 colour;
void main() {
  vec3 n = dot(normal, normal) > 1e-12 ? normalize(normal) : vec3(0.0, 1.0, 0.0);
  vec3 toEye = CameraPosition - position;
  vec3 v = dot(toEye, toEye) > 1e-12 ? normalize(toEye) : n;
  float grazing = pow(1.0 - clamp(abs(dot(n, v)), 0.0, 1.0), 3.0);
  vec3 c = mix(texture(tex0, uv).rgb * 0.6, vec3(0.75, 0.8, 0.85), grazing);
  colour = vec4(c * max(alpha1, 0.0), 1.0);
}
--- pass 0 floor sheen
