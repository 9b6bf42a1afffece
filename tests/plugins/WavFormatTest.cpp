#include "WavFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace wav {
namespace {

// Builds RIFF/WAVE files chunk by chunk.
struct WavBuilder {
  std::vector<uint8_t> bytes;
  WavBuilder() {
    static const char kHead[] = "RIFF\0\0\0\0WAVE";
    bytes.assign(kHead, kHead + 12);
  }

  WavBuilder& Chunk(const char* id, const std::vector<uint8_t>& body, uint32_t declared = 0xFFFFFFFEu) {
    bytes.insert(bytes.end(), id, id + 4);
    const uint32_t size = declared == 0xFFFFFFFEu ? static_cast<uint32_t>(body.size()) : declared;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(size >> (8 * i)));
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (body.size() & 1) bytes.push_back(0);
    return *this;
  }
  static std::vector<uint8_t> Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    std::vector<uint8_t> f(16);
    ox::PutLe16(&f[0], tag);
    ox::PutLe16(&f[2], channels);
    ox::PutLe32(&f[4], rate);
    ox::PutLe32(&f[8], rate * channels * bits / 8);
    ox::PutLe16(&f[12], static_cast<uint16_t>(channels * bits / 8));
    ox::PutLe16(&f[14], bits);
    return f;
  }
  static std::vector<uint8_t> Extensible(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t subTag) {
    std::vector<uint8_t> f = Format(0xFFFE, channels, rate, bits);
    const uint8_t tail[24] = {22, 0, static_cast<uint8_t>(bits), 0, 3, 0, 0, 0, static_cast<uint8_t>(subTag),
                              static_cast<uint8_t>(subTag >> 8), 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0,
                              0x38, 0x9B, 0x71};
    f.insert(f.end(), tail, tail + 24);
    return f;
  }
  static std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end() + 1); }
  static std::vector<uint8_t> InfoList(std::initializer_list<std::pair<const char*, std::string>> items) {
    std::vector<uint8_t> body{'I', 'N', 'F', 'O'};
    for (const auto& [id, text] : items) {
      WavBuilder sub;
      sub.bytes.clear();
      sub.Chunk(id, Text(text));
      body.insert(body.end(), sub.bytes.begin(), sub.bytes.end());
    }
    return body;
  }

  Error Parse(Info& info) const {
    ox::MemorySource source(bytes);
    return wav::Parse(source, info);
  }
};

TEST(WavFormat, PlainPcm_FindsFormatAndData_OnlyInRiffWave) {
  Info info;
  WavBuilder stereo, mono;
  stereo.Chunk("fmt ", WavBuilder::Format(1, 2, 44100, 16)).Chunk("data", std::vector<uint8_t>(400, 7));
  ASSERT_EQ(stereo.Parse(info), Error::None);
  EXPECT_EQ(std::make_tuple(+info.channels, info.sampleRate, +info.bitsPerSample, +info.blockAlign, info.AvgBytesPerSec()),
            std::make_tuple(2, 44100u, 16, 4, 176400u));
  EXPECT_EQ(std::make_tuple(info.dataOffset, info.dataBytes), std::make_tuple(uint64_t{44}, uint64_t{400}));
  mono.Chunk("fmt ", WavBuilder::Format(1, 1, 8000, 8)).Chunk("data", std::vector<uint8_t>(9, 128));
  ASSERT_EQ(mono.Parse(info), Error::None);
  EXPECT_EQ(std::make_pair(+info.blockAlign, info.dataBytes), std::make_pair(1, uint64_t{9}));
  mono.bytes[3] = 'X';  // "RIFX": big-endian RIFF, not ours
  EXPECT_EQ(mono.Parse(info), Error::NotWave);
}

TEST(WavFormat, OddChunksExtensibleAndTagsAfterTheData) {
  Info info;
  const auto error =
      WavBuilder()
          .Chunk("junk", std::vector<uint8_t>(3, 1))  // odd size: padded to 4
          .Chunk("fmt ", WavBuilder::Extensible(1, 48000, 24, 1))
          .Chunk("data", std::vector<uint8_t>(3 * 101 + 2, 0))  // a partial last frame is cut
          .Chunk("LIST", WavBuilder::InfoList({{"IART", "The Artist"}, {"INAM", "A Title"}, {"IPRD", "Album"},
                                           {"ICRD", "2004-05-06"}, {"ITRK", "7/12"}}))
          .Parse(info);
  ASSERT_EQ(error, Error::None);
  EXPECT_EQ(info.bitsPerSample, 24);
  EXPECT_EQ(info.blockAlign, 3);
  EXPECT_EQ(info.dataOffset, 12u + 12 + 8 + 40 + 8);
  EXPECT_EQ(info.dataBytes, 3u * 101);
  EXPECT_EQ(std::tie(info.tags.artist, info.tags.title, info.tags.album), std::make_tuple("The Artist", "A Title", "Album"));
  EXPECT_EQ(std::make_tuple(+info.tags.year, +info.tags.track), std::make_tuple(2004, 7));
}

TEST(WavFormat, TagTextsBecomeUtf8CutAtWholeCharactersAndBadNumbersAreIgnored) {
  std::string e50;
  for (int i = 0; i < 50; ++i) e50 += "\u00e9";
  const struct {
    std::string stored, utf8;
  } cases[] = {
      {"\u041f\u0435\u0441\u043d\u044f \u591c\u66f2", "\u041f\u0435\u0441\u043d\u044f \u591c\u66f2"},  // UTF-8 stays
      {"Caf\xE9 \xC0", "Caf\u00e9 \u00c0"},                                   // not UTF-8: Latin-1
      {std::string(5000, 't'), std::string(99, 't')},
      {std::string(98, 'a') + "\u00e9", std::string(98, 'a')},                // 2-byte character at 98..99
      {std::string(97, 'a') + "\u591c", std::string(97, 'a')},                // 3-byte character at 97..99
      {std::string(50, '\xE9'), e50.substr(0, 98)},                           // Latin-1 doubles, then is cut
      {std::string(1023, 'a') + "\u00e9" + "tail", std::string(99, 'a')},     // the read ends mid-character
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    Info info;
    WavBuilder()
        .Chunk("fmt ", WavBuilder::Format(1, 1, 8000, 8))
        .Chunk("data", std::vector<uint8_t>(10, 128))
        .Chunk("LIST", WavBuilder::InfoList({{"INAM", c.stored}, {"ICRD", "99999999"}}))
        .Parse(info);
    EXPECT_EQ(info.tags.title, c.utf8);
    EXPECT_EQ(info.tags.year, 0);
  }
}

TEST(WavFormat, DataSizePastTheEndIsCutAtTheEnd) {
  Info info;
  ASSERT_EQ(WavBuilder().Chunk("fmt ", WavBuilder::Format(1, 2, 44100, 16))
                .Chunk("data", std::vector<uint8_t>(1001, 0), 0x7FFFFFFF).Parse(info),
            Error::None);
  EXPECT_EQ(info.dataBytes, 1000u);  // what the file holds, in whole frames
  ASSERT_EQ(WavBuilder().Chunk("fmt ", WavBuilder::Format(1, 1, 8000, 16))
                .Chunk("data", std::vector<uint8_t>(64, 0), 0xFFFFFFFFu).Parse(info),
            Error::None);
  EXPECT_EQ(info.dataBytes, 64u);
}

TEST(WavFormat, BadFormatsAreRefused) {
  Info info;
  auto with = [&](std::vector<uint8_t> format) {
    return WavBuilder().Chunk("fmt ", format).Chunk("data", std::vector<uint8_t>(16, 0)).Parse(info);
  };
  EXPECT_EQ(with(WavBuilder::Format(1, 0, 44100, 16)), Error::Unsupported);  // no channels
  EXPECT_EQ(with(WavBuilder::Format(1, 9, 44100, 16)), Error::Unsupported);
  EXPECT_EQ(with(WavBuilder::Format(1, 8, 768000, 16)), Error::None);  // the most channels and the fastest rate
  EXPECT_EQ(with(WavBuilder::Format(1, 2, 0, 16)), Error::Unsupported);  // no sample rate
  EXPECT_EQ(with(WavBuilder::Format(3, 2, 44100, 32)), Error::Unsupported);  // float
  EXPECT_EQ(with(WavBuilder::Format(1, 2, 44100, 12)), Error::Unsupported);
  EXPECT_EQ(with(WavBuilder::Extensible(2, 44100, 16, 3)), Error::Unsupported);  // float inside
  std::vector<uint8_t> shortFormat = WavBuilder::Format(1, 2, 44100, 16);
  shortFormat.resize(10);
  EXPECT_EQ(with(shortFormat), Error::Unsupported);

  EXPECT_EQ(WavBuilder().Chunk("data", std::vector<uint8_t>(16, 0)).Parse(info), Error::NoFormat);
  EXPECT_EQ(WavBuilder().Chunk("fmt ", WavBuilder::Format(1, 2, 44100, 16)).Parse(info), Error::NoData);
  WavBuilder notWave;
  notWave.bytes[8] = 'X';
  EXPECT_EQ(notWave.Parse(info), Error::NotWave);
  WavBuilder truncated;
  truncated.bytes.resize(9);
  EXPECT_EQ(truncated.Parse(info), Error::NotWave);
}

}  // namespace
}  // namespace wav
