// plain.fx: a solid grey at 90 % opacity placed by "Matrix": a stamp that darkens a shadow map,
// and the bright source picture of the ribbon glow.
--- common
uniform mat4 Matrix = mat4(1.0);
--- vertex solid
layout(location = 0) in vec3 inPosition;
void main() { gl_Position = Matrix * vec4(inPosition, 1.0); }
--- fragment grey
out vec4 colour;
void main() { colour = vec4(0.45, 0.45, 0.45, 0.9); }
--- pass 0 solid grey
