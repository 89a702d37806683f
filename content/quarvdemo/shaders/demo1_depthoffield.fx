// demo1_depthoffield.fx: depth of field. Pass 0 writes each pixel's view distance / 200 into the
// float depth target. Pass 4 lays the blurred half-size picture tex0 over the sharp back buffer
// with opacity clamp((|depth - Focus| x FallOff) ^ Eksponent, 0, 1), depth read from tex1: sharp
// at the focus distance, blurred away from it. Passes 1 to 3 show the depth, the blurred and the
// sharp picture (tex2) on their own, for checking.
--- common
uniform mat4 matWorldViewProjection = mat4(1.0);
// Set with the geometry of the depth pass; the depth needs only the clip position.
uniform mat4 matLightViewProjection = mat4(1.0);
uniform mat4 matWorldView = mat4(1.0);
uniform mat4 matWorld = mat4(1.0);
uniform sampler2D tex0;
uniform sampler2D tex1;
uniform sampler2D tex2;
uniform float Focus = 0.3;
uniform float Eksponent = 1.0;
uniform float FallOff = 1.0;
--- vertex scene
layout(location = 0) in vec3 inPosition;
out float viewDistance;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  viewDistance = gl_Position.w;
}
--- vertex quad
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() {
  gl_Position = matWorldViewProjection * vec4(inPosition, 1.0);
  uv = vec2(inTexcoord0.x, 1.0 + inTexcoord0.y);
}
--- fragment depth
in float viewDistance;
out vec4 colour;
void main() { colour = vec4(viewDistance / 200.0, 0.0, 0.0, 1.0); }
--- fragment showdepth
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(vec3(clamp(texture(tex1, uv).r, 0.0, 1.0)), 1.0); }
--- fragment showblurred
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(texture(tex0, uv).rgb, 1.0); }
--- fragment showsharp
in vec2 uv;
out vec4 colour;
void main() { colour = vec4(texture(tex2, uv).rgb, 1.0); }
--- fragment mix
in vec2 uv;
out vec4 colour;
void main() {
  float depth = texture(tex1, uv).r;
  float amount = clamp(pow(abs(depth - Focus) * max(FallOff, 0.0), max(Eksponent, 0.01)), 0.0, 1.0);
  colour = vec4(texture(tex0, uv).rgb, amount);
}
--- pass 0 scene depth
--- pass 1 quad showdepth
--- pass 2 quad showblurred
--- pass 3 quad showsharp
--- pass 4 quad mix
--- sampler tex0 clamp linear
--- sampler tex1 clamp point
--- sampler tex2 clamp linear
