// r1_bakke.fx: normal-mapped ground under a spot light (the floors' world is the identity, so
// model space is world space). The spot texture tex1 and the shadow map tex2 are projected through
// matLightViewProjection; tex3 bends the vertex normal, in a tangent frame built from the normal
// because the ground meshes carry no tangents. Light strength is 0.5 x alpha1, softened above 1 so
// strong flashes saturate instead of clipping flat.
// Pass 2: diffuse x (ambient floor + spot x shadow x N.L); "gamma" scales the bumps only.
// Pass 3: no shadow map; fades toward a dim warm horizon colour with distance.
// Passes 0 and 1: plain texture, and spot-lit without shadow.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matLightViewProjection = mat4(1.0);
uniform mat4 matView = mat4(1.0);
uniform sampler2D tex0;
uniform sampler2D tex1;
uniform sampler2D tex2;
uniform sampler2D tex3;
uniform float alpha1 = 1.0;
uniform float gamma = 1.0;
uniform vec3 LightPosition = vec3(0.0, 100.0, 0.0);
vec3 safeNormalize(vec3 v, vec3 fallback) { return dot(v, v) > 1e-12 ? normalize(v) : fallback; }
// Where the light's projection puts a point, in texture coordinates of its maps.
vec2 lightUv(vec4 lightClip) {
  return vec2(0.5 + 0.5 * lightClip.x / lightClip.w, 0.5 - 0.5 * lightClip.y / lightClip.w);
}
// The normal bent by the normal map, the bumps scaled by `strength`.
vec3 bumped(vec3 normal, vec2 uv, float strength) {
  vec3 n = safeNormalize(normal, vec3(0.0, 1.0, 0.0));
  vec3 t = cross(n, vec3(0.0, 0.0, 1.0));
  if (dot(t, t) < 1e-6) t = cross(n, vec3(1.0, 0.0, 0.0));
  t = normalize(t);
  vec3 b = cross(n, t);
  vec3 m = texture(tex3, uv).rgb * 2.0 - 1.0;
  return safeNormalize(t * (m.x * strength) + b * (m.y * strength) + n * max(m.z, 0.05), n);
}
// Linear up to 1, then easing toward 1.6.
vec3 soften(vec3 light) {
  light = max(light, vec3(0.0));
  return mix(light, 1.0 + 0.6 * (1.0 - exp(-(light - 1.0) / 0.6)), step(1.0, light));
}
// The shadow map around uvL, 3 x 3 texels averaged: white is lit. Nine bilinear taps one texel
// apart weigh the 4 x 4 texels around uvL by (1 - f, 1, 1, f) on each axis (f the fraction of uvL
// between texel centres); four bilinear taps, each between the right pair of texels, give the
// same sums.
vec3 shadowAt(vec2 uvL) {
  vec2 size = vec2(textureSize(tex2, 0));
  vec2 p = uvL * size - 0.5;
  vec2 base = floor(p);
  vec2 f = p - base;
  vec2 wLow = 2.0 - f;
  vec2 wHigh = 1.0 + f;
  vec2 low = (base - 0.5 + 1.0 / wLow) / size;
  vec2 high = (base + 1.5 + f / wHigh) / size;
  vec3 sum = wLow.x * wLow.y * texture(tex2, low).rgb + wHigh.x * wLow.y * texture(tex2, vec2(high.x, low.y)).rgb +
             wLow.x * wHigh.y * texture(tex2, vec2(low.x, high.y)).rgb + wHigh.x * wHigh.y * texture(tex2, high).rgb;
  return sum / 9.0;
}
--- vertex ground
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
out vec3 position;
out vec3 normal;
out vec4 lightClip;
out float viewDistance;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  lightClip = matLightViewProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
  position = inPosition;
  normal = inNormal;
  viewDistance = gl_Position.w;
}
--- fragment flat
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(texture(tex0, uv).rgb, 1.0); }
--- fragment spot
in vec2 uv;
in vec3 position;
in vec3 normal;
in vec4 lightClip;
out vec4 colour;
void main() {
  vec3 n = bumped(normal, uv, 1.0);
  vec3 l = safeNormalize(LightPosition - position, vec3(0.0, 1.0, 0.0));
  float spot = lightClip.w > 0.0 ? texture(tex1, lightUv(lightClip)).r : 0.0;
  vec3 light = soften(vec3(0.5 * alpha1 * spot * max(dot(n, l), 0.0)));
  colour = vec4(texture(tex0, uv).rgb * (0.12 + light), 1.0);
}
--- fragment shadowed
in vec2 uv;
in vec3 position;
in vec3 normal;
in vec4 lightClip;
out vec4 colour;
void main() {
  vec3 n = bumped(normal, uv, clamp(gamma, 0.0, 3.0));
  vec3 l = safeNormalize(LightPosition - position, vec3(0.0, 1.0, 0.0));
  vec3 lit = vec3(0.0);
  if (lightClip.w > 0.0) {
    vec2 uvL = lightUv(lightClip);
    lit = texture(tex1, uvL).r * shadowAt(uvL);
  }
  vec3 light = soften(0.5 * alpha1 * lit * max(dot(n, l), 0.0));
  colour = vec4(texture(tex0, uv).rgb * (0.12 + light), 1.0);
}
--- fragment fogged
in vec2 uv;
in vec3 position;
in vec3 normal;
in vec4 lightClip;
in float viewDistance;
out vec4 colour;
void main() {
  vec3 n = bumped(normal, uv, 1.0);
  vec3 l = safeNormalize(LightPosition - position, vec3(0.0, 1.0, 0.0));
  float spot = lightClip.w > 0.0 ? texture(tex1, lightUv(lightClip)).r : 0.0;
  vec3 light = soften(vec3(0.5 * alpha1 * spot * max(dot(n, l), 0.0)));
  vec3 ground = texture(tex0, uv).rgb * (0.15 + light);
  const vec3 horizon = vec3(0.24, 0.186, 0.135);
  colour = vec4(mix(ground, horizon, clamp(viewDistance / 1500.0, 0.0, 1.0)), 1.0);
}
--- pass 0 ground flat
--- pass 1 ground spot
--- pass 2 ground shadowed
--- pass 3 ground fogged
--- sampler tex1 clamp linear
--- sampler tex2 clamp linear
