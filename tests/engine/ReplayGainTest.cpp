// The gain a tagged track plays at, the settings' rules, and the gain applied to samples.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "engine/ReplayGain.h"

namespace ox {
namespace {

TEST(ReplayGain, FactorFollowsModeTagsPreampAndPeak) {
  LoudnessTags both;
  both.hasTrackGain = both.hasAlbumGain = both.hasTrackPeak = both.hasAlbumPeak = true;
  both.trackGainDb = -6.02f, both.albumGainDb = 4.0f, both.trackPeak = 0.5f, both.albumPeak = 0.9f;
  LoudnessTags trackOnly;
  trackOnly.hasTrackGain = true, trackOnly.trackGainDb = 3.0f;
  using M = ReplayGainMode;
  const struct {
    M mode;
    int preamp;
    bool clip, albumQueue;
    LoudnessTags tags;
    double factor;
  } cases[] = {
      {M::Off, 0, true, false, both, 0},
      {M::Track, 0, true, false, LoudnessTags{}, 0},                // no tags: the automatic level
      {M::Track, 0, true, false, both, 0.5},                        // -6.02 dB: half
      {M::Track, 150, true, false, both, 2.0},                      // +15 dB preamp, peak 0.5 allows 2
      {M::Album, 0, true, false, both, 1.0 / 0.9},                  // +4 dB held by the album peak
      {M::Album, 0, false, false, both, std::pow(10.0, 0.2)},       // no clip prevention
      {M::Album, 0, true, false, trackOnly, std::pow(10.0, 0.15)},  // no album gain: the track's
      {M::AlbumWhenAlbumQueue, 0, true, false, both, 0.5},
      {M::AlbumWhenAlbumQueue, 0, true, true, both, 1.0 / 0.9},
  };
  for (const auto& c : cases) {
    ReplayGainSettings s;
    s.mode = c.mode, s.preampTenthsDb = c.preamp, s.clipPrevention = c.clip;
    EXPECT_NEAR(ReplayGainFactor(s, c.tags, c.albumQueue), c.factor, c.factor * 0.001)
        << static_cast<int>(c.mode) << " " << c.preamp;
  }
}

TEST(ReplayGain, SettingsAreHeldToTheirRanges) {
  const struct {
    uint32_t mode, preamp, clip;
    ReplayGainMode wantMode;
    int wantPreamp;
    bool wantClip;
  } cases[] = {{2, static_cast<uint32_t>(-35), 0, ReplayGainMode::Album, -35, false},
               {3, 400, 1, ReplayGainMode::AlbumWhenAlbumQueue, 150, true},
               {9, static_cast<uint32_t>(-1000), 7, ReplayGainMode::Off, -150, true}};
  for (const auto& c : cases) {
    const ReplayGainSettings s = ReplayGainSettingsOf(c.mode, c.preamp, c.clip);
    EXPECT_EQ(std::make_tuple(s.mode, s.preampTenthsDb, s.clipPrevention),
              std::make_tuple(c.wantMode, c.wantPreamp, c.wantClip));
  }
}

TEST(ReplayGain, SamplesScaleRoundAndSaturate) {
  const struct {
    int bits;
    std::vector<uint8_t> in;
    double factor;
    std::vector<uint8_t> out;
  } cases[] = {
      {16, {0x00, 0x40, 0x01, 0x80, 0x03, 0x00}, std::pow(10.0, -6.02 / 20), {0x01, 0x20, 0xFF, 0xBF, 0x02, 0x00}},
      {16, {0xFF, 0x7F, 0x00, 0x80}, 2.0, {0xFF, 0x7F, 0x00, 0x80}},
      {24, {0x00, 0x00, 0x40, 0x00, 0x00, 0xC0}, 4.0, {0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80}},
      {8, {0x80, 0xFF, 0x00, 0xC0}, 0.5, {0x80, 0xC0, 0x40, 0xA0}},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> block = c.in;
    ApplyReplayGain(block.data(), block.size(), c.bits, c.factor);
    EXPECT_EQ(block, c.out) << c.bits;
  }
}

}  // namespace
}  // namespace ox
