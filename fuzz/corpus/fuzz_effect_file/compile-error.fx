--- vertex v
#error broken
void main() {}
--- fragment f
void main() {}
--- pass 0 v f
