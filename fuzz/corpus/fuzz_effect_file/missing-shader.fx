--- vertex v
void main() {}
--- pass 0 v nowhere
