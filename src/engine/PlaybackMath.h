// The arithmetic of the playback thread: balance and volume to left and right levels, the level
// correction divisor, fades, silence at the ends of a block, scaling a block, and the automatic
// level. Pure.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ox {

struct Levels {
  int left, right;  // 0 to 100
};

// Balance 0..100 (0 counts as 1, above 100 as 100; 50 is centre) and volume 0..100.
Levels LevelsFor(uint32_t balance, uint32_t volume);

// The level correction of a track record's volume boost as a divisor in percent, 1 to 300:
// 100 for 0, 500 and 4000; quieter below 500, louder above.
int BoostDivisor(int16_t volumeBoost);

// The fade-out of a track that is no longer the main one: 100 at 3 s + length before the end down
// to 0 at 3 s before it; outside that window `current` stays.
int FadeOutPercent(uint32_t remainingMs, uint32_t crossFadeLengthMs, int current);

// Bytes of silence at the start or end of a block (16-bit: -399..399; 8-bit: within 19 of 128;
// other widths have none).
size_t LeadingSilence(const uint8_t* block, size_t bytes, int bitsPerSample);
size_t TrailingSilence(const uint8_t* block, size_t bytes, int bitsPerSample);

// Largest absolute sample of a block on a 16-bit scale (8-bit samples scaled by 256).
int32_t BlockPeak(const uint8_t* block, size_t bytes, int bitsPerSample);

// Scales every sample by fadePercent / divisor (divisor below 1 counts as 1), truncating toward
// zero; 16-bit results are stored without saturation, as the player always has.
void ScaleBlock(uint8_t* block, size_t bytes, int bitsPerSample, int fadePercent, int divisor);

// The volume boost the automatic level measurement stores for a track whose loudest sample was
// `peak` (16-bit scale): 500 (none) to 968.
int16_t AutomaticBoost(int32_t peak);

}  // namespace ox
