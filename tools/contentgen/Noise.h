// Deterministic noise for the content generator: an integer hash, a seeded random sequence, value
// noise and fractal sums that can tile with a given lattice period, and cellular (Worley)
// distances. No global state; the same seed always gives the same numbers.
#pragma once

#include <cstdint>

namespace contentgen {

std::uint32_t hash32(std::uint32_t x);
// A value in [0, 1) for a lattice point.
float latticeUnit(int x, int y, std::uint32_t seed);

// splitmix64: a small seeded generator.
class Rng {
public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint32_t next();
  float unit();                       // [0, 1)
  float range(float low, float high);  // [low, high)

private:
  std::uint64_t state_;
};

// Smooth value noise in [-1, 1] on a unit lattice; `period` > 0 wraps the lattice so the noise
// tiles every `period` units in x and y.
float valueNoise(float x, float y, int period, std::uint32_t seed);
// The same with separate periods along x and y (0: no wrap).
float valueNoise(float x, float y, int periodX, int periodY, std::uint32_t seed);
// Sum of `octaves` value-noise layers, each twice the frequency and half the amplitude of the one
// before, normalised to about [-1, 1]. Tiles every `period` units when period > 0.
float fbm(float x, float y, int octaves, int period, std::uint32_t seed);
float fbm(float x, float y, int octaves, int periodX, int periodY, std::uint32_t seed);

struct CellDistances {
  float nearest = 0;  // distance to the nearest feature point, in lattice units
  float second = 0;   // distance to the second nearest
};
// One jittered feature point per lattice cell; tiles every `period` cells when period > 0.
CellDistances cellNoise(float x, float y, int period, std::uint32_t seed);

}  // namespace contentgen
