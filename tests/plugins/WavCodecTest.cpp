// The shipped WAV codec, loaded from the installation folder the build lays out, on files sox
// made; each file's .raw twin holds exactly its samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "ShippedPlugins.h"
#include "TestSupport.h"

namespace ox {
namespace {

using oxtest::Fixture;

struct Opened : oxtest::Decoding {
  using Decoding::Decoding;
  // Reads to the end; checks each block's position against the bytes before it.
  std::vector<uint8_t> ReadAll(uint32_t blockBytes, uint64_t startBytes = 0) {
    const std::vector<uint8_t> all = Read(blockBytes);
    for (const auto& [before, position] : blocks)
      EXPECT_EQ(position, (startBytes + before) * 1000 / format->nAvgBytesPerSec);
    return all;
  }
};

TEST(WavCodec, AnnouncesWavAndDecodesEveryLayoutBitExactly) {
  const CodecPlugin* wav = oxtest::ShippedCodecs().Find(".WAV");
  ASSERT_NE(wav, nullptr);
  const struct {
    const char* name;
    uint16_t bits, channels;
    uint32_t rate;
  } files[] = {{"s16_stereo", 16, 2, 44100}, {"s16_mono", 16, 1, 32000}, {"u8_mono", 8, 1, 22050},
               {"u8_stereo", 8, 2, 11025},   {"s24_stereo", 24, 2, 48000}, {"s24_mono", 24, 1, 96000}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    Opened d(wav, Fixture(std::string(f.name) + ".wav"));
    ASSERT_NE(d.handle, 0u);
    const WAVEFORMATEX& w = *d.format;
    EXPECT_EQ(std::make_tuple(w.wFormatTag, w.wBitsPerSample, w.nChannels, w.nSamplesPerSec, w.nAvgBytesPerSec),
              std::make_tuple(WORD{WAVE_FORMAT_PCM}, f.bits, f.channels, DWORD{f.rate}, DWORD{f.rate * f.channels * f.bits / 8}));
    // An odd block size still gives whole frames.
    EXPECT_EQ(d.ReadAll(4099), oxtest::ReadWholeFile(Fixture(std::string(f.name) + ".raw")));

    // After the end: 0 bytes, end flag still set.
    uint8_t end = 0, buffer[64];
    uint32_t ignored, position, length;
    EXPECT_EQ(wav->OutputWantsABlockOfData(d.handle, buffer, sizeof buffer, &end, &ignored, &position, &length), 0u);
    EXPECT_EQ(end, 1);
  }
}

TEST(WavCodec, SkipToLandsOnAFrameAtThePercent) {
  const CodecPlugin* wav = oxtest::ShippedCodecs().Find(".wav");
  const std::vector<uint8_t> raw = oxtest::ReadWholeFile(Fixture("s24_stereo.raw"));
  Opened d(wav, Fixture("s24_stereo.wav"));
  ASSERT_NE(d.handle, 0u);
  const uint64_t frames = raw.size() / 6;
  for (int percent : {50, 0, 33, 100, 150, -5}) {
    SCOPED_TRACE(percent);
    wav->SkipTo(d.handle, percent);
    const int clamped = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    const uint64_t start = frames * clamped / 100 * 6;
    const std::vector<uint8_t> rest = d.ReadAll(3000, start);
    ASSERT_EQ(rest.size(), raw.size() - start);
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), raw.begin() + start));
  }
}

TEST(WavCodec, TrackInfoFromHeadersAndTags) {
  const CodecPlugin* wav = oxtest::ShippedCodecs().Find(".wav");
  oxtest::ScratchFolder dir;
  // sox's file with a LIST/INFO chunk appended after the data, as tagging tools write them.
  std::vector<uint8_t> file = oxtest::ReadWholeFile(Fixture("s16_stereo.wav"));
  auto sub = [](const char* id, const std::string& text) {
    std::string body = text + '\0';
    const char size[4] = {static_cast<char>(body.size()), 0, 0, 0};
    if (body.size() & 1) body += '\0';
    return std::string(id) + std::string(size, 4) + body;
  };
  const std::string list = "INFO" + sub("IART", "Artist") + sub("INAM", "Title") + sub("ICRD", "1999") + sub("ITRK", "3");
  const std::string chunk = "LIST" + std::string(1, static_cast<char>(list.size())) + std::string(3, '\0') + list;
  file.insert(file.end(), chunk.begin(), chunk.end());
  oxtest::WriteWholeFile(dir / "tagged.wav", file);

  const oxtest::TrackInfo t = oxtest::TrackInfoOf(wav, dir / "tagged.wav");
  EXPECT_EQ(std::make_tuple(t.kbps, t.hz, t.channels, t.lengthMs, t.size, t.yearAndTrack),
            std::make_tuple(uint16_t{1411}, 44100u, uint8_t{2}, 1300u, uint32_t(file.size()), 1999u | 3u << 16));
  EXPECT_EQ(std::make_tuple(t.artist, t.title, t.album), std::make_tuple("Artist", "Title", ""));

  char info[260] = {};
  wav->GetStringInfo(Fixture("s24_mono.wav").c_str(), info);
  EXPECT_STREQ(info, "WAV PCM, 24-bit, 96000 Hz, 1 channel");
}

TEST(WavCodec, BadFilesFailToOpenOrEndCleanly) {
  const CodecPlugin* wav = oxtest::ShippedCodecs().Find(".wav");
  oxtest::ScratchFolder dir;
  const std::vector<uint8_t> good = oxtest::ReadWholeFile(Fixture("s16_mono.wav"));

  // What the format parser refuses (its own tests go through the cases) is refused here too.
  std::vector<uint8_t> floatFormat = good;
  floatFormat[20] = 3;
  oxtest::WriteWholeFile(dir / "float.wav", floatFormat);
  for (const char* name : {"float.wav", "missing.wav"}) {
    Opened d(wav, dir / name);
    EXPECT_EQ(d.handle, 0u) << name;
  }

  // Cut in the middle of the samples (header still claims them all): plays what is there.
  std::vector<uint8_t> truncated(good.begin(), good.begin() + 44 + 1001);
  oxtest::WriteWholeFile(dir / "truncated.wav", truncated);
  Opened d(wav, dir / "truncated.wav");
  ASSERT_NE(d.handle, 0u);
  const std::vector<uint8_t> samples = d.ReadAll(512);
  EXPECT_EQ(samples, std::vector<uint8_t>(good.begin() + 44, good.begin() + 44 + 1000));
}

}  // namespace
}  // namespace ox
