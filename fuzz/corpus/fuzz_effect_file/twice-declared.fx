--- common
uniform float a;
uniform vec2 a;
