#include "base/Random.h"

#include <windows.h>

#include <atomic>

#include "base/RandomGenerator.h"

namespace ox {

namespace {

uint32_t SeedFromClock() {
  SYSTEMTIME t;
  GetSystemTime(&t);
  return rng::Seed(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

std::atomic<uint32_t>& State() {
  static std::atomic<uint32_t> state{SeedFromClock()};
  return state;
}

}  // namespace

void SeedRandom(uint32_t seed) { State() = seed; }

int32_t Random(int32_t range) {
  std::atomic<uint32_t>& state = State();
  uint32_t current = state.load(std::memory_order_relaxed), next;
  do {
    next = rng::Next(current);
  } while (!state.compare_exchange_weak(current, next, std::memory_order_relaxed));
  return rng::Scale(next, range);
}

}  // namespace ox
