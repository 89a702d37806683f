--- common
uniform float alpha;
