// render3_line.fx: noise ribbons. Pass 0 lights a ribbon from the direction of LightPosition,
// taken in the ribbon's own space (no world matrix reaches this effect), both faces alike, scaled
// by alpha1. Pass 1 stamps the ribbon's soft shape into a shadow map through the light's
// projection: black at the texture's opacity.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matLightViewProjection = mat4(1.0);
uniform mat4 matView = mat4(1.0);
uniform sampler2D tex0;
uniform float alpha1 = 1.0;
uniform vec3 LightPosition = vec3(0.0, 100.0, 0.0);
vec3 safeNormalize(vec3 v, vec3 fallback) { return dot(v, v) > 1e-12 ? normalize(v) : fallback; }
--- vertex lit
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
--- fragment lit
in vec2 uv;
in vec3 normal;
out vec4 colour;
void main() {
  vec3 n = safeNormalize(normal, vec3(0.0, 0.0, 1.0));
  vec3 l = safeNormalize(LightPosition, vec3(0.0, 1.0, 0.0));
  float diffuse = abs(dot(n, l));
  colour = vec4(texture(tex0, uv).rgb * (0.35 + 0.65 * diffuse) * max(alpha1, 0.0), 1.0);
}
--- vertex stamp
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matLightViewProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
}
--- fragment stamp
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(0.0, 0.0, 0.0, texture(tex0, uv).a); }
--- pass 0 lit lit
--- pass 1 stamp stamp
