--- vertex v
void main() {}
--- fragment f
void main() {}
--- pass 1 v f
