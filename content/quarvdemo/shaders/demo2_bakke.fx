// demo2_bakke.fx: ground under a spot light: the texture tex0 lit by the spot texture tex1
// projected through matLightViewProjection, N.L toward LightPosition, strength alpha1, over a dim
// ambient (the ground's world is the identity).
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matLightViewProjection = mat4(1.0);
uniform sampler2D tex0;
uniform sampler2D tex1;
uniform float alpha1 = 1.0;
uniform vec3 LightPosition = vec3(0.0, 100.0, 0.0);
--- vertex ground
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
out vec3 position;
out vec3 normal;
out vec4 lightClip;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  lightClip = matLightViewProjection * vec4(inPosition, 1.0);
  position = inPosition;
  normal = inNormal;
  uv = inTexcoord0;
}
--- fragment spotlit
in vec2 uv;
in vec3 position;
in vec3 normal;
in vec4 lightClip;
out vec4 colour;
void main() {
  vec3 n = dot(normal, normal) > 1e-12 ? normalize(normal) : vec3(0.0, 1.0, 0.0);
  vec3 toLight = LightPosition - position;
  vec3 l = dot(toLight, toLight) > 1e-12 ? normalize(toLight) : vec3(0.0, 1.0, 0.0);
  float spot = 0.0;
  if (lightClip.w > 0.0) spot = texture(tex1, vec2(0.5 + 0.5 * lightClip.x / lightClip.w, 0.5 - 0.5 * lightClip.y / lightClip.w)).r;
  colour = vec4(texture(tex0, uv).rgb * (0.12 + 0.5 * max(alpha1, 0.0) * spot * max(dot(n, l), 0.0)), 1.0);
}
--- pass 0 ground spotlit
--- sampler tex1 clamp linear
