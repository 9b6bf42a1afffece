#include "engine/VisualFeed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace ox {
namespace {

constexpr VisualFormat kCd{44100, 2, 16, 176400};

// 16-bit stereo whose left sample of frame f is (f % 128) x 256 and right the negative: a
// snapshot's first waveform value tells at which frame it was cut.
std::vector<uint8_t> Ramp(size_t frames) {
  std::vector<uint8_t> bytes(frames * 4);
  for (size_t f = 0; f < frames; ++f) {
    const int16_t left = static_cast<int16_t>((f % 128) * 256), right = static_cast<int16_t>(-left);
    std::memcpy(&bytes[f * 4], &left, 2);
    std::memcpy(&bytes[f * 4 + 2], &right, 2);
  }
  return bytes;
}

std::vector<OxVisualSnapshot> ReleaseAll(VisualFeed& feed) {
  std::vector<OxVisualSnapshot> out;
  for (uint32_t t = 0; t < 100000; t += 5) {
    OxVisualSnapshot s;
    if (feed.Step(t, s)) out.push_back(s);
  }
  return out;
}

TEST(VisualFeed, PointsEvery50MsCarryAcrossBlocksOfAnySize) {
  VisualFeed feed(kCd);
  EXPECT_EQ(feed.Interval(), 8820u);
  EXPECT_EQ(feed.Need(), 2048u);
  const std::vector<uint8_t> stream = Ramp(68164 / 4);
  // Blocks of odd sizes, one of them 12 bytes (less than the distance to the next point); no point
  // lies where its 512 frames would run past its block.
  size_t at = 0;
  for (size_t size : {8648, 12, 16444, 13464, 26644, 2952}) {
    feed.Feed(stream.data() + at, size, static_cast<uint32_t>(at * 1000 / 176400));
    at += size;
  }
  const std::vector<OxVisualSnapshot> released = ReleaseAll(feed);
  ASSERT_EQ(released.size(), 8u);
  for (size_t n = 0; n < released.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(released[n].waveform[0][0], static_cast<int8_t>(2205 * n % 128));  // frame 2205 n
    EXPECT_EQ(released[n].waveform[1][0], static_cast<int8_t>(-(2205 * n % 128)));
    EXPECT_NEAR(double(released[n].timeMs), 50.0 * n, 1.0);  // block time plus the offset in it
    EXPECT_EQ(released[n].sampleRate, 44100u);
  }
}

TEST(VisualFeed, ReleasesTheLatestReachedAndFreesTheOlder_SeeksAndDisablingDropThem) {
  VisualFeed feed(kCd);
  const std::vector<uint8_t> second = Ramp(44100);
  feed.Feed(second.data(), second.size(), 1000);  // points at 1000, 1050, ... 1950
  EXPECT_EQ(feed.Pending(), 20u);
  OxVisualSnapshot s;
  EXPECT_FALSE(feed.Step(1000, s));  // a point is released once the position has passed it
  ASSERT_TRUE(feed.Step(1120, s));
  EXPECT_EQ(s.timeMs, 1100u);
  EXPECT_EQ(feed.Pending(), 17u);  // 1000 and 1050 went with it
  feed.SetEnabled(true);  // already on: nothing is dropped
  EXPECT_EQ(feed.Pending(), 17u);
  feed.Reset();
  EXPECT_EQ(feed.Pending(), 0u);
  feed.Feed(second.data(), second.size(), 5000);
  feed.SetEnabled(false);
  EXPECT_EQ(feed.Pending(), 0u);
  feed.Feed(second.data(), second.size(), 6000);
  EXPECT_FALSE(feed.Step(100000, s));
  feed.SetEnabled(true);
  feed.Feed(second.data(), 20000, 7000);
  EXPECT_TRUE(feed.Step(7001, s));
}

TEST(VisualFeed, WaveformsBy8And16BitMonoRepeated_OtherDepthsGiveZeros) {
  std::vector<uint8_t> mono16(4096);
  const int16_t samples[] = {-300, 255, 32767, -32768};
  for (size_t i = 0; i < 4; ++i) std::memcpy(&mono16[i * 2], &samples[i], 2);
  VisualFeed feed({22050, 1, 16, 44100});
  feed.Feed(mono16.data(), mono16.size(), 0);
  OxVisualSnapshot s;
  ASSERT_TRUE(feed.Step(1, s));
  const int8_t expected[] = {-1, 0, 127, -128};  // / 256, truncated toward zero
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s.waveform[0][i], expected[i]) << i;
    EXPECT_EQ(s.waveform[1][i], expected[i]) << i;
  }
  std::vector<uint8_t> stereo8(4096, 128);
  stereo8[0] = 200, stereo8[1] = 0;
  VisualFeed eight({8000, 2, 8, 16000});
  eight.Feed(stereo8.data(), stereo8.size(), 0);
  ASSERT_TRUE(eight.Step(1, s));
  EXPECT_EQ(s.waveform[0][0], 72);
  EXPECT_EQ(s.waveform[1][0], -128);
  EXPECT_EQ(s.waveform[0][1], 0);

  std::vector<uint8_t> deep(3 * 2 * 512 + 10, 0x7F);
  VisualFeed wide({48000, 2, 24, 288000});
  wide.Feed(deep.data(), deep.size(), 300);
  ASSERT_TRUE(wide.Step(301, s));
  EXPECT_EQ(s.timeMs, 300u);
  EXPECT_EQ(s.waveform[0][7], 0);
}

TEST(VisualFeed, ASineOfBin16PeaksAtBin16InBothChannels) {
  OxVisualSnapshot s{};
  for (int i = 0; i < OX_VIS_FRAMES; ++i) {
    s.waveform[0][i] = static_cast<int8_t>(std::lround(60 * std::sin(2 * 3.14159265358979 * 16 * i / 512)));
    s.waveform[1][i] = static_cast<int8_t>(std::lround(30 * std::cos(2 * 3.14159265358979 * 16 * i / 512)));
  }
  ComputeSpectrum(s);
  for (int c = 0; c < 2; ++c) {
    int peak = 0;
    for (int k = 1; k < OX_VIS_BINS; ++k)
      if (s.spectrum[c][k] > s.spectrum[c][peak]) peak = k;
    EXPECT_EQ(peak, 16) << c;
    // |X_16| = 512 / 2 x amplitude / 128: 120 for the left, 60 for the right.
    EXPECT_NEAR(s.spectrum[c][16], 120 * std::log10(c == 0 ? 120.0 : 60.0), 1.5) << c;
  }
  for (int i = 0; i < OX_VIS_FRAMES; ++i)
    s.waveform[0][i] = static_cast<int8_t>(std::lround(127 * std::sin(2 * 3.14159265358979 * 100 * i / 512)));
  ComputeSpectrum(s);
  EXPECT_EQ(s.spectrum[0][100], 255);  // 120 x log10 254 = 288: held at 255
  OxVisualSnapshot silent{};
  ComputeSpectrum(silent);
  EXPECT_EQ(silent.spectrum[0][0], 0);  // zero magnitude: level 0
}

}  // namespace
}  // namespace ox
