--- common
uniform mat4 matWorldViewProjection;
uniform vec3 LightPosition, CameraPosition;
uniform vec2 ps = vec2(0.003125, 0.004166667), movement;
uniform vec4 baseColor[4];
uniform sampler2D tex0, tex1;
--- vertex v
layout(location = 0) in vec3 inPosition;
void main() { gl_Position = matWorldViewProjection * vec4(inPosition, 1.0); }
--- fragment a
out vec4 colour;
void main() { colour = baseColor[0] + texture(tex0, ps); }
--- fragment b
out vec4 colour;
void main() { colour = vec4(LightPosition - CameraPosition, 1.0) * texture(tex1, movement); }
--- pass 1 v b blend=add zenable=false cull=none
--- pass 0 v a blend=alpha cull=ccw alphablend=true blendop=min srcblend=one destblend=invsrccolor
--- sampler tex1 wrap point
