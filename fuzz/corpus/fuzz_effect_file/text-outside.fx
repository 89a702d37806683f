uniform float x;
--- vertex v
void main() {}
