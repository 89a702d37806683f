--- common
uniform float a[0];
uniform mat4 b[99999];
