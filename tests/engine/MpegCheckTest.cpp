#include "engine/MpegCheck.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace ox {
namespace {

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz: 417 bytes, 418 padded.
std::vector<uint8_t> Frames(int count) {
  std::vector<uint8_t> out;
  for (int i = 0; i < count; ++i) {
    const size_t at = out.size();
    out.resize(at + 417, 0);
    out[at] = 0xFF, out[at + 1] = 0xFB, out[at + 2] = 0x90, out[at + 3] = 0x44;
  }
  return out;
}

TEST(MpegCheck, ParseMpegHeader_FieldsAndLengths) {
  MpegHeader m;
  EXPECT_EQ(ParseMpegHeader(0xFFFB9044, m), 417u);
  EXPECT_EQ(std::make_tuple(m.version, m.layer, m.bitRateKbps, m.sampleRate, m.channels, m.modeExtension, m.flags),
            std::make_tuple(1, 3, 128u, 44100u, 2, 0, 4));
  EXPECT_EQ(ParseMpegHeader(0xFFFB9244, m), 418u);  // padding
  EXPECT_EQ(ParseMpegHeader(0xFFF380C4, m), 64u * 144000 / (2 * 22050));  // MPEG-2, mono
  EXPECT_EQ(std::make_pair(m.version, m.channels), std::make_pair(2, 1));
  EXPECT_EQ(ParseMpegHeader(0xFFE340C4, m), 32u * 144000 / (2 * 11025));  // MPEG-2.5
  EXPECT_EQ(m.version, 25);
  EXPECT_EQ(ParseMpegHeader(0xFFFF4000, m), 128u * 144000 / 44100);  // layer I: the same rule
  EXPECT_EQ(m.layer, 1);
  // Free format counts as 128 kbit/s in every version and layer.
  for (uint32_t header : {0xFFFB0044u, 0xFFFD0044u, 0xFFFF0044u, 0xFFF30044u, 0xFFF50044u, 0xFFF70044u}) {
    EXPECT_EQ(ParseMpegHeader(header, m), 417u) << std::hex << header;
    EXPECT_EQ(m.bitRateKbps, 128u);
  }
  EXPECT_EQ(ParseMpegHeader(0xFFF99044, m), 0u);   // layer bits 0
  EXPECT_EQ(ParseMpegHeader(0xFFFBF044, m), 0u);   // bit-rate index 15
  EXPECT_EQ(ParseMpegHeader(0xFFFB9C44, m), 0u);   // sample-rate index 3
  EXPECT_EQ(ParseMpegHeader(0xFFDB9044, m), 0u);   // sync bits
}

TEST(MpegCheck, FindFrames_ChainsLastMayBeBadAndEndStopsTheSearch) {
  std::vector<uint8_t> data(100, 0x11);
  const std::vector<uint8_t> frames = Frames(6);
  data.insert(data.end(), frames.begin(), frames.end());
  EXPECT_EQ(FindFrames(data.data(), data.size(), 5), 100);

  std::vector<uint8_t> lastBad = data;
  lastBad[100 + 4 * 417] = 0;  // the fifth header is invalid: still a chain
  EXPECT_EQ(FindFrames(lastBad.data(), lastBad.size(), 5), 100);
  std::vector<uint8_t> thirdBad = data;
  thirdBad[100 + 2 * 417] = 0;
  EXPECT_EQ(FindFrames(thirdBad.data(), thirdBad.size(), 5), -1);

  // Five frames need room for the walk: four frames and a header are not enough.
  const std::vector<uint8_t> short4 = Frames(4);
  EXPECT_EQ(FindFrames(short4.data(), short4.size(), 5), -1);
  // Start offsets are tried only in the first half of the data.
  std::vector<uint8_t> late(3000, 0x11);
  late.insert(late.end(), frames.begin(), frames.end());
  EXPECT_EQ(FindFrames(late.data(), late.size(), 5), -1);
}

TEST(MpegCheck, IsMpegAudio_LooksFromTheMiddle) {
  std::vector<uint8_t> all = Frames(400);
  MemorySource whole(all);
  EXPECT_TRUE(IsMpegAudio(whole));

  std::vector<uint8_t> firstHalf = Frames(200);
  firstHalf.resize(firstHalf.size() * 2, 0);
  MemorySource front(firstHalf);
  EXPECT_FALSE(IsMpegAudio(front));

  std::vector<uint8_t> noise(200000);
  std::mt19937 gen(9);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(gen());
  MemorySource random(noise);
  EXPECT_FALSE(IsMpegAudio(random));
  MemorySource empty({});
  EXPECT_FALSE(IsMpegAudio(empty));
}

}  // namespace
}  // namespace ox
