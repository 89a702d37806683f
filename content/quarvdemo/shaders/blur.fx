// blur.fx: a 13-tap Gaussian blur of a picture on the screen rectangle, radius "blur" texels of
// the source ("ps" = one over its size). Pass 0 writes the blurred picture; pass 1 tints it warm,
// scales it by "alpha" and is meant to be added to the screen (the ribbon glow).
--- common
uniform mat4 matProjection = mat4(1.0);
uniform sampler2D tex0;
uniform vec2 ps = vec2(0.003125, 0.004166667);
uniform float blur = 1.0;
uniform float alpha = 1.0;
// The centre, eight taps on a ring of radius blur x ps and four on the axes at twice that,
// weighted by a Gaussian of one ring radius.
vec3 gaussian13(vec2 uv) {
  vec2 r = blur * ps;
  const float d = 0.70710678;
  vec3 ring = texture(tex0, uv + r * vec2(1.0, 0.0)).rgb + texture(tex0, uv + r * vec2(-1.0, 0.0)).rgb +
              texture(tex0, uv + r * vec2(0.0, 1.0)).rgb + texture(tex0, uv + r * vec2(0.0, -1.0)).rgb +
              texture(tex0, uv + r * vec2(d, d)).rgb + texture(tex0, uv + r * vec2(-d, d)).rgb +
              texture(tex0, uv + r * vec2(d, -d)).rgb + texture(tex0, uv + r * vec2(-d, -d)).rgb;
  vec3 outer = texture(tex0, uv + r * vec2(2.0, 0.0)).rgb + texture(tex0, uv + r * vec2(-2.0, 0.0)).rgb +
               texture(tex0, uv + r * vec2(0.0, 2.0)).rgb + texture(tex0, uv + r * vec2(0.0, -2.0)).rgb;
  const float w1 = 0.60653066;  // exp(-1/2)
  const float w2 = 0.13533528;  // exp(-2)
  return (texture(tex0, uv).rgb + w1 * ring + w2 * outer) / (1.0 + 8.0 * w1 + 4.0 * w2);
}
--- vertex quad
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matProjection * vec4(inPosition, 1.0);
  uv = vec2(inTexcoord0.x, 1.0 + inTexcoord0.y);
}
--- fragment blurred
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(gaussian13(uv), 1.0); }
--- fragment glow
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(gaussian13(uv) * max(alpha, 0.0) * vec3(1.0, 0.75, 0.45) * 1.2, 1.0); }
--- pass 0 quad blurred
--- pass 1 quad glow
--- sampler tex0 clamp linear
