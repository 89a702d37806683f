--- common
uniform float t;
--- sampler t clamp
