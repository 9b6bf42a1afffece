// The arithmetic of the player's pseudo-random source: a linear congruential generator modulo
// 10^8 with the multiplier 31415821, worked in 32-bit pieces so that nothing overflows.
// Pure; Random.h holds the process-wide source built on it.
#pragma once

#include <cstdint>

namespace ox::rng {

// The first state, from the time of day: ((hour * 256 + minute) * 256 + second) * 256 + ms.
uint32_t Seed(uint16_t hour, uint16_t minute, uint16_t second, uint16_t milliseconds);

// The state after `state`: (state * 31415821 + 1) mod 100000000.
uint32_t Next(uint32_t state);

// Scales a state to a whole number from 0 to range - 1: ((state / 10000) * range) / 10000.
// A range of 0 or less gives 0.
int32_t Scale(uint32_t state, int32_t range);

}  // namespace ox::rng
