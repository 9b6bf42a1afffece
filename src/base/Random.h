// The process-wide pseudo-random source, seeded from the time of day at first use.
#pragma once

#include <cstdint>

namespace ox {

// A whole number from 0 to range - 1 (0 when range is 0 or less). Safe to call from any thread:
// each call advances the one shared state exactly once.
int32_t Random(int32_t range);

// Sets the state, so that the draws that follow repeat from run to run (for tests).
void SeedRandom(uint32_t state);

}  // namespace ox
