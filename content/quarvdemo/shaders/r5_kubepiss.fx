// r5_kubepiss.fx: the cube field of the alternate view: the stone tile tex1 on every face,
// multiplied by the ink picture tex3 laid across the whole field by each box's centre (carried in
// the BINORMAL slot) and scrolling with "time", lit by the spot texture tex0 and the shadow map
// tex2 (projected through matLightViewProjection) with N.L toward LightPosition; alpha1 is the
// light's strength.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matLightViewProjection = mat4(1.0);
uniform mat4 matView = mat4(1.0);
uniform mat4 matWorld = mat4(1.0);
uniform sampler2D tex0;
uniform sampler2D tex1;
uniform sampler2D tex2;
uniform sampler2D tex3;
uniform float time = 0.0;
uniform float alpha1 = 1.0;
uniform vec3 LightPosition = vec3(0.0, 100.0, 0.0);
vec3 safeNormalize(vec3 v, vec3 fallback) { return dot(v, v) > 1e-12 ? normalize(v) : fallback; }
--- vertex cube
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexcoord0;
layout(location = 4) in vec3 inBinormal;
out vec2 uv;
out vec2 fieldUv;
out vec3 position;
out vec3 normal;
out vec4 lightClip;
void main() {
  vec4 world = matWorld * vec4(inPosition, 1.0);
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  lightClip = matLightViewProjection * world;
  position = world.xyz;
  normal = mat3(matWorld) * inNormal;
  uv = inTexcoord0;
  // The box centre (x, z) picks one spot of the picture for the whole box.
  fieldUv = vec2((inBinormal.x + 200.0) / 400.0, (inBinormal.z + 200.0) / 800.0 + 0.1 * time);
}
--- fragment spotlit
in vec2 uv;
in vec2 fieldUv;
in vec3 position;
in vec3 normal;
in vec4 lightClip;
out vec4 colour;
void main() {
  vec3 n = safeNormalize(normal, vec3(0.0, 1.0, 0.0));
  vec3 l = safeNormalize(LightPosition - position, vec3(0.0, 1.0, 0.0));
  vec3 lit = vec3(0.0);
  if (lightClip.w > 0.0) {
    vec2 uvL = vec2(0.5 + 0.5 * lightClip.x / lightClip.w, 0.5 - 0.5 * lightClip.y / lightClip.w);
    lit = textureLod(tex0, uvL, 0.0).r * texture(tex2, uvL).rgb;
  }
  vec3 surface = texture(tex1, uv).rgb * texture(tex3, fieldUv).rgb;
  colour = vec4(surface * (0.12 + max(alpha1, 0.0) * lit * max(dot(n, l), 0.0)), 1.0);
}
--- pass 0 cube spotlit
--- sampler tex0 clamp linear
--- sampler tex2 clamp linear
