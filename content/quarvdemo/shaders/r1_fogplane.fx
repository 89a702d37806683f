// r1_fogplane.fx: a drifting layer of mist: two scales of the texture tex0 sliding across each
// other with "time", shown at their opacity times alpha1, for source-alpha blending.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform sampler2D tex0;
uniform float time = 0.0;
uniform float alpha1 = 1.0;
--- vertex layer
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  uv = inTexcoord0;
}
--- fragment mist
in vec2 uv;
out vec4 colour;
void main() {
  vec4 c = texture(tex0, uv + vec2(0.02, 0.005) * time);
  vec4 d = texture(tex0, uv * 0.5 - vec2(0.01, 0.015) * time);
  colour = vec4(0.5 * (c.rgb + d.rgb), clamp(0.5 * (c.a + d.a) * max(alpha1, 0.0), 0.0, 1.0));
}
--- pass 0 layer mist
