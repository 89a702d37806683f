// demo2render4_ground.fx: a terrain shaded by height and light: the texture tex0 lit from
// LightPosition, valleys darker than crests, brightness alpha1.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matWorld = mat4(1.0);
uniform sampler2D tex0;
uniform float alpha1 = 1.0;
uniform vec3 LightPosition = vec3(0.0, 100.0, 0.0);
--- vertex terrain
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
--- fragment shaded
in vec2 uv;
in vec3 position;
in vec3 normal;
out vec4 colour;
void main() {
  vec3 n = dot(normal, normal) > 1e-12 ? normalize(normal) : vec3(0.0, 1.0, 0.0);
  vec3 toLight = LightPosition - position;
  vec3 l = dot(toLight, toLight) > 1e-12 ? normalize(toLight) : vec3(0.0, 1.0, 0.0);
  float height = clamp(0.5 + position.y / 40.0, 0.0, 1.0);
  float light = (0.15 + 0.85 * max(dot(n, l), 0.0)) * (0.6 + 0.4 * height);
  colour = vec4(texture(tex0, uv).rgb * light * max(alpha1, 0.0), 1.0);
}
--- pass 0 terrain shaded
