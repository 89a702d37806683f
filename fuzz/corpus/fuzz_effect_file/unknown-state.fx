--- vertex v
void main() {}
--- fragment f
void main() {}
--- pass 0 v f fog=on
