// demo1_kube.fx: the cube field under a circling spot light. Pass 2: the stone tile tex1 on every
// face, lit by the spot texture tex0 and the ribbons' shadow map tex2 (both projected through
// matLightViewProjection) with N.L toward LightPosition, strength alpha1, over a dim ambient, and
// tinted by how far the box is lifted above its rest place (position y minus the rest y the
// BINORMAL slot carries): low rows cool, the spectrum's peaks warm, so the waterfall reads.
// Passes 0 and 1: the tile unlit, and lit without spot or shadow.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matLightViewProjection = mat4(1.0);
uniform mat4 matView = mat4(1.0);
uniform mat4 matWorld = mat4(1.0);
uniform sampler2D tex0;
uniform sampler2D tex1;
uniform sampler2D tex2;
uniform float alpha1 = 1.0;
uniform vec3 LightPosition = vec3(0.0, 100.0, 0.0);
vec3 safeNormalize(vec3 v, vec3 fallback) { return dot(v, v) > 1e-12 ? normalize(v) : fallback; }
// Cool near the lowest lift (53: base 60, sway -7), warm from 20 units above 58.
vec3 liftTint(float lift) {
  float t = clamp((lift - 58.0) / 20.0, 0.0, 1.0);
  return mix(vec3(0.55, 0.68, 0.85), vec3(1.3, 1.0, 0.62), t * t * (3.0 - 2.0 * t));
}
--- vertex cube
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexcoord0;
layout(location = 4) in vec3 inBinormal;
out vec2 uv;
out vec3 position;
out vec3 normal;
out vec4 lightClip;
out float lift;
void main() {
  vec4 world = matWorld * vec4(inPosition, 1.0);
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  lightClip = matLightViewProjection * world;
  position = world.xyz;
  normal = mat3(matWorld) * inNormal;
  uv = inTexcoord0;
  lift = inPosition.y - inBinormal.y;
}
--- fragment unlit
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(texture(tex1, uv).rgb, 1.0); }
--- fragment diffuse
in vec2 uv;
in vec3 position;
in vec3 normal;
out vec4 colour;
void main() {
  vec3 n = safeNormalize(normal, vec3(0.0, 1.0, 0.0));
  vec3 l = safeNormalize(LightPosition - position, vec3(0.0, 1.0, 0.0));
  colour = vec4(texture(tex1, uv).rgb * (0.12 + max(alpha1, 0.0) * max(dot(n, l), 0.0)), 1.0);
}
--- fragment spotlit
in vec2 uv;
in vec3 position;
in vec3 normal;
in vec4 lightClip;
in float lift;
out vec4 colour;
void main() {
  vec3 n = safeNormalize(normal, vec3(0.0, 1.0, 0.0));
  vec3 l = safeNormalize(LightPosition - position, vec3(0.0, 1.0, 0.0));
  vec3 lit = vec3(0.0);
  if (lightClip.w > 0.0) {
    vec2 uvL = vec2(0.5 + 0.5 * lightClip.x / lightClip.w, 0.5 - 0.5 * lightClip.y / lightClip.w);
    lit = textureLod(tex0, uvL, 0.0).r * texture(tex2, uvL).rgb;
  }
  vec3 light = 0.12 + max(alpha1, 0.0) * lit * max(dot(n, l), 0.0);
  colour = vec4(min(texture(tex1, uv).rgb * liftTint(lift) * light, vec3(1.0)), 1.0);
}
--- pass 0 cube unlit
--- pass 1 cube diffuse
--- pass 2 cube spotlit
--- sampler tex0 clamp linear
--- sampler tex2 clamp linear
