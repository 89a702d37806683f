// r1_line.fx: noise ribbons lit in their own space (no world matrix reaches this effect; the
// direction of LightPosition serves as the light direction, both faces alike).
// Pass 0: a glowing ribbon brightened by "ambient". Pass 1: a spot-lit ribbon, the spot texture
// tex1 projected through matLightViewProjection, with a floor of light outside the cone and
// opacity "alpha". Pass 2: a translucent band, the spot only modulating it, opacity tex0.a x alpha.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matLightViewProjection = mat4(1.0);
uniform mat4 matView = mat4(1.0);
uniform sampler2D tex0;
uniform sampler2D tex1;
uniform float ambient = 0.2;
uniform float alpha = 1.0;
// Set by the scenes, not read: pass 1 gets its opacity from "alpha".
uniform float alpha1 = 1.0;
uniform vec3 LightPosition = vec3(0.0, 100.0, 0.0);
vec3 safeNormalize(vec3 v, vec3 fallback) { return dot(v, v) > 1e-12 ? normalize(v) : fallback; }
// The spot texture where the light's projection puts this point; 0 behind the light.
float spotAt(vec4 lightClip) {
  if (lightClip.w <= 0.0) return 0.0;
  vec2 uvL = vec2(0.5 + 0.5 * lightClip.x / lightClip.w, 0.5 - 0.5 * lightClip.y / lightClip.w);
  return texture(tex1, uvL).r;
}
--- vertex ribbon
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
out vec3 normal;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
  normal = inNormal;
}
--- vertex spotribbon
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
out vec3 normal;
out vec4 lightClip;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  lightClip = matLightViewProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
  normal = inNormal;
}
--- fragment glowing
in vec2 uv;
in vec3 normal;
out vec4 colour;
void main() {
  float diffuse = abs(dot(safeNormalize(normal, vec3(0.0, 0.0, 1.0)), safeNormalize(LightPosition, vec3(0.0, 1.0, 0.0))));
  colour = vec4(texture(tex0, uv).rgb * (0.5 * max(ambient, 0.0) + 0.8 * diffuse), 1.0);
}
--- fragment spotlit
in vec2 uv;
in vec3 normal;
in vec4 lightClip;
out vec4 colour;
void main() {
  float diffuse = abs(dot(safeNormalize(normal, vec3(0.0, 0.0, 1.0)), safeNormalize(LightPosition, vec3(0.0, 1.0, 0.0))));
  float light = clamp(ambient, 0.0, 0.5) + 0.15 + 0.85 * spotAt(lightClip) * diffuse;
  colour = vec4(texture(tex0, uv).rgb * light, clamp(alpha, 0.0, 1.0));
}
--- fragment band
in vec2 uv;
in vec3 normal;
in vec4 lightClip;
out vec4 colour;
void main() {
  vec4 c = texture(tex0, uv);
  colour = vec4(c.rgb * (0.7 + 0.6 * spotAt(lightClip)), clamp(c.a * alpha, 0.0, 1.0));
}
--- pass 0 ribbon glowing
--- pass 1 spotribbon spotlit
--- pass 2 spotribbon band
--- sampler tex1 clamp linear
