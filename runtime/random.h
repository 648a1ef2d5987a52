// The random generator: Park-Miller minimal standard, multiplier 48271, Schrage's method.
#pragma once
#include <cstdint>

namespace orvelt {

void SeedRandom(int32_t seed);
double RandomUnit();                       // in [0, 1)
int32_t RandomInt(int32_t low, int32_t high);  // between the two bounds, both included, either order
int32_t RandomState();                     // for tests

}  // namespace orvelt
