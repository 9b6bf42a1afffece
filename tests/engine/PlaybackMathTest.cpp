#include "engine/PlaybackMath.h"

#include <gtest/gtest.h>

#include <vector>

namespace ox {
namespace {

// Balance and volume give the output's two levels; a track's level correction a divisor of the
// samples (100 keeps them). Out-of-range inputs count as the nearest end.
TEST(PlaybackMath, LevelsAndBoostDivisors) {
  const struct {
    uint32_t balance, volume;
    int left, right;
  } levels[] = {{50, 100, 100, 100}, {0, 100, 100, 0},  {1, 100, 100, 0},  {49, 100, 100, 96},
                {51, 100, 98, 100},  {100, 80, 0, 80}, {250, 900, 0, 100}};
  for (const auto& c : levels) {
    EXPECT_EQ(LevelsFor(c.balance, c.volume).left, c.left) << c.balance << " " << c.volume;
    EXPECT_EQ(LevelsFor(c.balance, c.volume).right, c.right) << c.balance << " " << c.volume;
  }
  const struct {
    int16_t boost;
    int divisor;
  } boosts[] = {{0, 100}, {250, 200}, {500, 100}, {750, 63}, {1000, 31}, {4000, 100}, {-7, 300}, {501, 100}, {30000, 31}};
  for (const auto& c : boosts) EXPECT_EQ(BoostDivisor(c.boost), c.divisor) << c.boost;
}

TEST(PlaybackMath, FadeOutRunsFromEightToThreeSecondsBeforeTheEnd) {
  // Remaining, cross-fade length, current, expected: kept before the window (whose start at 8000 is
  // open) and after it, and with no cross-fade.
  const int fades[][4] = {{9000, 5000, 100, 100}, {8000, 5000, 100, 100}, {7999, 5000, 100, 99},
                          {5500, 5000, 100, 50},  {3000, 5000, 7, 0},     {2999, 5000, 7, 7}, {5500, 0, 64, 64}};
  for (const auto& f : fades) EXPECT_EQ(FadeOutPercent(f[0], f[1], f[2]), f[3]) << f[0] << " " << f[1];
}

TEST(PlaybackMath, SilenceAtTheEnds) {
  std::vector<int16_t> s16 = {0, 399, -399, 400, 5, -400, 12, -3};
  const auto* b = reinterpret_cast<const uint8_t*>(s16.data());
  EXPECT_EQ(LeadingSilence(b, 16, 16), 6u);
  EXPECT_EQ(TrailingSilence(b, 16, 16), 4u);
  EXPECT_EQ(LeadingSilence(b, 15, 16), 6u);  // a partial sample is no sample
  const uint8_t u8[] = {128, 147, 109, 148, 128, 140};
  EXPECT_EQ(LeadingSilence(u8, 6, 8), 3u);
  EXPECT_EQ(TrailingSilence(u8, 6, 8), 2u);
  EXPECT_EQ(LeadingSilence(u8, 6, 24), 0u);
  std::vector<int16_t> quiet(100, 3);
  EXPECT_EQ(LeadingSilence(reinterpret_cast<const uint8_t*>(quiet.data()), 200, 16), 200u);
  EXPECT_EQ(TrailingSilence(reinterpret_cast<const uint8_t*>(quiet.data()), 200, 16), 200u);
}

TEST(PlaybackMath, ScalingTruncatesAndDoesNotSaturate) {
  std::vector<int16_t> s = {10000, -10000, 7, -7, 30000};
  ScaleBlock(reinterpret_cast<uint8_t*>(s.data()), 10, 16, 100, 300);
  EXPECT_EQ(s, (std::vector<int16_t>{3333, -3333, 2, -2, 10000}));
  std::vector<int16_t> loud = {20000};
  ScaleBlock(reinterpret_cast<uint8_t*>(loud.data()), 2, 16, 100, 31);  // 64516: wraps, as it always has
  EXPECT_EQ(loud[0], int16_t(64516 - 65536));
  uint8_t u8[] = {228, 28, 128};
  ScaleBlock(u8, 3, 8, 50, 100);
  EXPECT_EQ(u8[0], 178);
  EXPECT_EQ(u8[1], 78);
  EXPECT_EQ(u8[2], 128);
  ScaleBlock(u8, 3, 8, 50, 0);  // a divisor below 1 counts as 1: times 50, kept in 8 bits
  EXPECT_EQ(u8[0], uint8_t((178 - 128) * 50 + 128));
}

TEST(PlaybackMath, PeakAndAutomaticBoost) {
  std::vector<int16_t> s = {100, -32768, 5};
  EXPECT_EQ(BlockPeak(reinterpret_cast<const uint8_t*>(s.data()), 6, 16), 32768);
  const std::vector<int16_t> lastLoudest = {5, 100, -300};
  EXPECT_EQ(BlockPeak(reinterpret_cast<const uint8_t*>(lastLoudest.data()), 6, 16), 300);
  const uint8_t u8[] = {128, 0, 200};
  EXPECT_EQ(BlockPeak(u8, 3, 8), 128 * 256);
  EXPECT_EQ(AutomaticBoost(32767), 500);   // loud: nothing to add
  EXPECT_EQ(AutomaticBoost(16384), 750);   // s = (20 - 9) * 30 / 20 = 16
  EXPECT_EQ(AutomaticBoost(3000), 968);    // quiet: the most there is (s = 30)
  EXPECT_EQ(AutomaticBoost(0), 968);
  EXPECT_EQ(AutomaticBoost(25000), 593);   // s = (13 - 9) * 30 / 20 = 6
}

}  // namespace
}  // namespace ox
