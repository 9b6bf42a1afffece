#include "base/RandomGenerator.h"

namespace ox::rng {

namespace {
constexpr uint32_t kModulus = 100000000;
constexpr uint32_t kSplit = 10000;
constexpr uint32_t kMulHigh = 3141, kMulLow = 5821;  // 31415821 split at 10^4
}  // namespace

uint32_t Seed(uint16_t hour, uint16_t minute, uint16_t second, uint16_t milliseconds) {
  return ((uint32_t{hour} * 256 + minute) * 256 + second) * 256 + milliseconds;
}

uint32_t Next(uint32_t state) {
  // state = p1 * 10^4 + p0; the product modulo 10^8 needs only the cross terms' low four digits.
  // The seed can exceed 10^8, so p1 is reduced too; that changes nothing modulo 10^8.
  const uint32_t p1 = (state / kSplit) % kSplit, p0 = state % kSplit;
  const uint32_t cross = (p0 * kMulHigh + p1 * kMulLow) % kSplit;
  return (cross * kSplit + p0 * kMulLow + 1) % kModulus;
}

int32_t Scale(uint32_t state, int32_t range) {
  if (range <= 0) return 0;
  // state < 10^8 after the first step, so the quotient stays below 10^4 and the result in range.
  return static_cast<int32_t>((int64_t{state / kSplit % kSplit} * range) / kSplit);
}

}  // namespace ox::rng
