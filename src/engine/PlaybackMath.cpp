#include "engine/PlaybackMath.h"

#include <cstring>

namespace ox {

namespace {

int16_t Sample16(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }
bool Silent16(const uint8_t* p) { return Sample16(p) >= -399 && Sample16(p) <= 399; }
bool Silent8(const uint8_t* p) { return p[0] - 128 >= -19 && p[0] - 128 <= 19; }

}  // namespace

Levels LevelsFor(uint32_t balance, uint32_t volume) {
  int b = balance == 0 ? 1 : balance > 100 ? 100 : static_cast<int>(balance);
  int left = 100, right = 100;
  if (b < 50) right = 2 * b - 2;
  else left = 200 - 2 * b;
  const int v = volume > 100 ? 100 : static_cast<int>(volume);
  return {left * v / 100, right * v / 100};
}

int BoostDivisor(int16_t volumeBoost) {
  int v = volumeBoost;
  if (v == 0 || v == 500 || v == 4000) return 100;
  v = v < 0 ? 0 : v > 1000 ? 1000 : v;
  int divisor = v <= 500 ? 300 - (10 * v / 25) : 16000 / (v - 499);
  if (divisor > 300) divisor = 300;
  if (v > 500 && divisor > 100) divisor = 100;
  return divisor == 0 ? 1 : divisor;
}

int FadeOutPercent(uint32_t remainingMs, uint32_t crossFadeLengthMs, int current) {
  if (crossFadeLengthMs == 0 || remainingMs < 3000 || remainingMs >= 3000 + crossFadeLengthMs) return current;
  return static_cast<int>(uint64_t{remainingMs - 3000} * 100 / crossFadeLengthMs);
}

size_t LeadingSilence(const uint8_t* block, size_t bytes, int bits) {
  size_t at = 0;
  if (bits == 16)
    while (at + 2 <= bytes && Silent16(block + at)) at += 2;
  else if (bits == 8)
    while (at < bytes && Silent8(block + at)) ++at;
  return at;
}

size_t TrailingSilence(const uint8_t* block, size_t bytes, int bits) {
  size_t count = 0;
  if (bits == 16)
    for (size_t end = bytes - bytes % 2; end >= 2 && Silent16(block + end - 2); end -= 2) count += 2;
  else if (bits == 8)
    for (size_t end = bytes; end >= 1 && Silent8(block + end - 1); --end) ++count;
  return count;
}

int32_t BlockPeak(const uint8_t* block, size_t bytes, int bits) {
  int32_t peak = 0;
  if (bits == 16) {
    for (size_t at = 0; at + 2 <= bytes; at += 2) {
      const int32_t s = Sample16(block + at);
      if ((s < 0 ? -s : s) > peak) peak = s < 0 ? -s : s;
    }
  } else if (bits == 8) {
    for (size_t at = 0; at < bytes; ++at) {
      const int32_t s = (block[at] - 128) * 256;
      if ((s < 0 ? -s : s) > peak) peak = s < 0 ? -s : s;
    }
  }
  return peak;
}

void ScaleBlock(uint8_t* block, size_t bytes, int bits, int fadePercent, int divisor) {
  if (divisor < 1) divisor = 1;
  if (bits == 16) {
    for (size_t at = 0; at + 2 <= bytes; at += 2) {
      const int32_t s = Sample16(block + at) * fadePercent / divisor;
      block[at] = static_cast<uint8_t>(s);
      block[at + 1] = static_cast<uint8_t>(static_cast<uint32_t>(s) >> 8);
    }
  } else if (bits == 8) {
    for (size_t at = 0; at < bytes; ++at)
      block[at] = static_cast<uint8_t>((block[at] - 128) * fadePercent / divisor + 128);
  }
}

int16_t AutomaticBoost(int32_t peak) {
  int s = ((327680 / (peak == 0 ? 1 : peak)) - 9) * 30 / 20;
  s = s < 0 ? 0 : s > 30 ? 30 : s;
  const int v = 500 + s * 500 / 32;
  return static_cast<int16_t>(v < 550 ? 500 : v);
}

}  // namespace ox
