#include "MpegAudio.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "Id3Tag.h"
#include "engine/MpegCheck.h"

namespace mpeg {
namespace {

std::vector<uint8_t> Header(uint8_t b1, uint8_t b2, uint8_t b3) { return {0xFF, b1, b2, b3}; }

TEST(MpegAudio, ParseHeader_VersionsLayersAndFrameSizes_RefusesReservedAndFreeFormat) {
  struct Case {
    uint8_t b1, b2, b3;
    int version, layer;
    uint32_t bitRate, sampleRate, frameBytes, samples;
    int channels;
  } cases[] = {
      {0xFB, 0x90, 0x44, 10, 3, 128000, 44100, 417, 1152, 2},  // MPEG-1 L3 128k 44.1k joint stereo
      {0xFB, 0x92, 0x44, 10, 3, 128000, 44100, 418, 1152, 2},  // padded
      {0xFB, 0x78, 0xC4, 10, 3, 96000, 32000, 432, 1152, 1},   // 32 kHz mono
      {0xF3, 0x80, 0xC4, 20, 3, 64000, 22050, 208, 576, 1},    // MPEG-2 L3
      {0xE3, 0x40, 0xC4, 25, 3, 32000, 11025, 208, 576, 1},    // MPEG-2.5 L3
      {0xFD, 0x80, 0x00, 10, 2, 128000, 44100, 417, 1152, 2},  // MPEG-1 L2
      {0xFF, 0x40, 0x00, 10, 1, 128000, 44100, 136, 384, 2},   // MPEG-1 L1: (12*128000/44100)*4
  };
  for (const Case& c : cases) {
    FrameHeader h;
    ASSERT_TRUE(ParseHeader(Header(c.b1, c.b2, c.b3).data(), h)) << int(c.b1) << " " << int(c.b2);
    EXPECT_EQ(std::make_tuple(h.version, h.layer, h.bitRate, h.sampleRate, h.frameBytes, h.samplesPerFrame, h.channels),
              std::make_tuple(c.version, c.layer, c.bitRate, c.sampleRate, c.frameBytes, c.samples, c.channels));
  }
  // Refused: a reserved version, layer or sample rate, free format, a bad bit rate, no sync.
  FrameHeader h;
  for (uint32_t bad : {0xFFEB9044u, 0xFFF99044u, 0xFFFB9C44u, 0xFFFB0044u, 0xFFFBF044u, 0xFEFB9044u}) {
    const uint8_t bytes[4] = {uint8_t(bad >> 24), uint8_t(bad >> 16), uint8_t(bad >> 8), uint8_t(bad)};
    EXPECT_FALSE(ParseHeader(bytes, h)) << std::hex << bad;
  }
}

// The codec's tables and the player's own check (engine/MpegCheck) were written apart: for every
// version, layer, bit rate and sample rate index they must give the same rates.
TEST(MpegAudio, HeaderTablesAgreeWithThePlayersMpegCheck) {
  for (uint32_t versionBits : {0u, 2u, 3u})
    for (uint32_t layerBits = 1; layerBits <= 3; ++layerBits)
      for (uint32_t rate = 1; rate <= 14; ++rate)
        for (uint32_t sampleRate = 0; sampleRate <= 2; ++sampleRate) {
          const uint32_t header = 0xFFE00000u | versionBits << 19 | layerBits << 17 | 1u << 16 | rate << 12 | sampleRate << 10;
          const uint8_t bytes[4] = {uint8_t(header >> 24), uint8_t(header >> 16), uint8_t(header >> 8), uint8_t(header)};
          FrameHeader h;
          ox::MpegHeader m;
          const bool parsed = ParseHeader(bytes, h);
          ASSERT_NE(ox::ParseMpegHeader(header, m), 0u) << std::hex << header;
          if (!parsed) continue;  // a frame too short for its side information
          EXPECT_EQ(h.bitRate, m.bitRateKbps * 1000) << std::hex << header;
          EXPECT_EQ(h.sampleRate, m.sampleRate) << std::hex << header;
          EXPECT_EQ(h.layer, m.layer) << std::hex << header;
        }
}

// A CBR stream: an optional Info frame with a LAME tag, then `frames` 128k frames.
std::vector<uint8_t> MakeStream(int frames, bool info, uint32_t delay = 576, uint32_t padding = 1000) {
  std::vector<uint8_t> s;
  auto frame = [&](bool padded) {
    const std::vector<uint8_t> h = Header(0xFB, padded ? 0x92 : 0x90, 0x44);
    const size_t start = s.size();
    s.insert(s.end(), h.begin(), h.end());
    s.resize(start + (padded ? 418 : 417), 0x55);
    return start;
  };
  if (info) {
    const size_t at = frame(false) + 4 + 32;
    const char tag[] = "Info\0\0\0\x0F";
    std::copy(tag, tag + 8, s.begin() + at);
    ox::PutLe32(&s[at + 8], 0);
    s[at + 8] = static_cast<uint8_t>(frames >> 24), s[at + 9] = static_cast<uint8_t>(frames >> 16);
    s[at + 10] = static_cast<uint8_t>(frames >> 8), s[at + 11] = static_cast<uint8_t>(frames);
    for (int i = 0; i < 100; ++i) s[at + 16 + i] = static_cast<uint8_t>(i * 255 / 100);
    const size_t lame = at + 120;
    std::copy("LAME3.100", "LAME3.100" + 9, s.begin() + lame);
    s[lame + 21] = static_cast<uint8_t>(delay >> 4);
    s[lame + 22] = static_cast<uint8_t>((delay & 15) << 4 | padding >> 8);
    s[lame + 23] = static_cast<uint8_t>(padding);
  }
  for (int i = 0; i < frames; ++i) frame(i % 3 == 1);
  return s;
}

TEST(MpegAudio, FindStream_InfoFrameGivesCountsAndGaplessTrim) {
  ox::MemorySource source(MakeStream(40, true));
  Stream s;
  ASSERT_TRUE(FindStream(source, s));
  EXPECT_EQ(std::make_tuple(s.xing.present, s.xing.vbr, s.xing.hasLame, s.xing.hasToc), std::make_tuple(true, false, true, true));
  EXPECT_EQ(std::make_tuple(s.xing.encoderDelay, s.xing.encoderPadding, s.firstFrame, s.frames), std::make_tuple(576u, 1000u, uint64_t{417}, uint64_t{40}));
  EXPECT_EQ(s.MusicSamples(), 40u * 1152 - 576 - 1000);
  EXPECT_EQ(s.LengthMs(), (40u * 1152 - 1576) * 1000 / 44100);
  EXPECT_EQ(s.xing.toc[50], 127);
}

TEST(MpegAudio, FindStream_CountsFramesPastJunkTagsAndDamage) {
  std::vector<uint8_t> bytes = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 20};  // a 20-byte ID3v2 tag
  bytes.resize(30, 0);
  bytes.insert(bytes.end(), 999, 0xFF);  // junk full of sync bytes
  const std::vector<uint8_t> stream = MakeStream(25, false);
  const size_t audio = bytes.size();
  bytes.insert(bytes.end(), stream.begin(), stream.end());
  bytes[audio + 417 * 10 + 3] = 0;  // the 11th frame's header is damaged: that frame is lost
  std::vector<uint8_t> v1(128, 0);
  v1[0] = 'T', v1[1] = 'A', v1[2] = 'G';
  bytes.insert(bytes.end(), v1.begin(), v1.end());
  ox::MemorySource source(bytes);
  Stream s;
  ASSERT_TRUE(FindStream(source, s));
  EXPECT_EQ(s.firstFrame, audio);
  EXPECT_EQ(s.end, bytes.size() - 128);
  EXPECT_EQ(s.frames, 24u);
  EXPECT_FALSE(s.xing.present);
  EXPECT_EQ(s.MusicSamples(), 24u * 1152);
  EXPECT_NEAR(s.AverageBitRate() / 1000.0, 128 * 25 / 24.0, 1.5);
}

TEST(MpegAudio, Id3v2SizeCountsHeaderAndFooter) {
  std::vector<uint8_t> tag = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 1, 2};  // 130 bytes of body, a footer
  tag.resize(400);
  ox::MemorySource withFooter(tag);
  EXPECT_EQ(Id3v2Size(withFooter), 10u + 130 + 10);
  tag[5] = 0;
  ox::MemorySource plain(tag);
  EXPECT_EQ(Id3v2Size(plain), 10u + 130);
  tag.resize(100);  // claims more than there is
  ox::MemorySource cut(tag);
  EXPECT_EQ(Id3v2Size(cut), 100u);
}

TEST(MpegAudio, FindStream_NothingInJunkOrHalfAFrame) {
  std::vector<uint8_t> junk(100000);
  std::mt19937 gen(3);
  for (uint8_t& b : junk) b = static_cast<uint8_t>(gen());
  ox::MemorySource random(junk);
  Stream s;
  EXPECT_FALSE(FindStream(random, s));
  std::vector<uint8_t> half = MakeStream(1, false);
  half.resize(200);
  ox::MemorySource cut(half);
  EXPECT_FALSE(FindStream(cut, s));
  ox::MemorySource empty({});
  EXPECT_FALSE(FindStream(empty, s));
}

}  // namespace
}  // namespace mpeg
