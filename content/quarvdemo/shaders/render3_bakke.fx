// render3_bakke.fx: the dusk ground plane: a slowly streaming earth texture that fades into
// "baseColor" (the sky's horizon colour) outside the cover mask tex1, darkened by the ribbons'
// shadow map tex2 seen through matLightViewProjection, times alpha1.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
uniform mat4 matLightViewProjection = mat4(1.0);
uniform sampler2D tex0;
uniform sampler2D tex1;
uniform sampler2D tex2;
uniform float alpha1 = 1.0;
uniform vec2 movement = vec2(0.0, 0.0);
uniform vec4 baseColor = vec4(0.6039216, 0.254902, 0.07058824, 0.0);
--- vertex ground
layout(location = 0) in vec3 inPosition;
out vec2 ground;
out vec4 lightClip;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  lightClip = matLightViewProjection * vec4(inPosition, 1.0);
  ground = inPosition.xz;
}
--- fragment earth
in vec2 ground;
in vec4 lightClip;
out vec4 colour;
void main() {
  vec3 earth = texture(tex0, ground / 200.0 + 0.02 * movement).rgb;
  float cover = texture(tex1, ground / 1200.0 + 0.5).r;
  vec3 shadow = vec3(1.0);
  if (lightClip.w > 0.0) {
    vec2 uvL = vec2(0.5 + 0.5 * lightClip.x / lightClip.w, 0.5 - 0.5 * lightClip.y / lightClip.w);
    if (all(greaterThanEqual(uvL, vec2(0.0))) && all(lessThanEqual(uvL, vec2(1.0)))) shadow = texture(tex2, uvL).rgb;
  }
  colour = vec4(mix(baseColor.rgb, earth, cover) * shadow * max(alpha1, 0.0), 1.0);
}
--- pass 0 ground earth
--- sampler tex1 clamp linear
--- sampler tex2 clamp linear
