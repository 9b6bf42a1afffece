// The shipped MP3 codec on files lame made from sweeps sox made: decoded through the system's ACM
// decoder (Wine's, here), trimmed to the original's exact length and alignment.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "ShippedPlugins.h"
#include "TestSupport.h"

namespace ox {
namespace {

const CodecPlugin* Mp3() { return oxtest::ShippedCodecs().Find(".mp3"); }

using oxtest::Fixture;
std::vector<int16_t> Samples(const std::vector<uint8_t>& bytes) { return oxtest::Records<int16_t>(bytes); }

struct Decoded {
  std::vector<int16_t> samples;  // interleaved
  WAVEFORMATEX format{};
  uint32_t lengthMs = 0;
  uint32_t firstPositionMs = 0;  // of the first block
  bool opened = false;
};

Decoded Decode(const std::string& path, int skipPercent = -1) {
  oxtest::Decoding d(Mp3(), path);
  Decoded out;
  out.opened = d.handle != 0;
  if (!out.opened) return out;
  out.format = *d.format;
  if (skipPercent >= 0) Mp3()->SkipTo(d.handle, skipPercent);
  out.samples = Samples(d.Read(4608 * 2 + 12));
  out.lengthMs = d.lengthMs;
  out.firstPositionMs = d.blocks[0].second;
  return out;
}

// The lag (in frames) at which decoded best matches original, searched within +-maxLag, and the
// signal-to-error ratio in dB at that lag over the overlap.
std::pair<int, double> Align(const std::vector<int16_t>& original, const std::vector<int16_t>& decoded, int channels,
                             int maxLag = 3000) {
  int best = 0;
  double bestError = 1e300;
  for (int lag = -maxLag; lag <= maxLag; ++lag) {
    double err = 0;
    for (size_t i = 0; i < original.size(); i += 7) {
      const long j = static_cast<long>(i) + static_cast<long>(lag) * channels;
      if (j < 0 || j >= static_cast<long>(decoded.size())) continue;
      const double e = original[i] - decoded[j];
      err += e * e;
    }
    if (err < bestError) bestError = err, best = lag;
  }
  double signal = 0, error = 0;
  for (size_t i = 0; i < original.size(); ++i) {
    const long j = static_cast<long>(i) + static_cast<long>(best) * channels;
    if (j < 0 || j >= static_cast<long>(decoded.size())) continue;
    signal += double(original[i]) * original[i];
    error += double(original[i] - decoded[j]) * (original[i] - decoded[j]);
  }
  return {best, 10 * std::log10(signal / (error + 1))};
}

TEST(Mp3Codec, GaplessFilesDecodeToTheOriginalsExactLengthAndAlignment) {
  ASSERT_NE(Mp3(), nullptr);
  const struct {
    const char* mp3;
    const char* raw;
    int channels;
    uint32_t rate;
  } files[] = {{"sweep_cbr.mp3", "sweep.raw", 2, 44100},
               {"sweep_vbr.mp3", "sweep.raw", 2, 44100},
               {"sweep22.mp3", "sweep22.raw", 1, 22050},
               {"sweep11.mp3", "sweep11.raw", 1, 11025}};
  for (const auto& f : files) {
    SCOPED_TRACE(f.mp3);
    const Decoded d = Decode(Fixture(f.mp3));
    ASSERT_TRUE(d.opened);
    EXPECT_EQ(std::make_tuple(d.format.wBitsPerSample, d.format.nChannels, d.format.nSamplesPerSec),
              std::make_tuple(WORD{16}, WORD(f.channels), DWORD{f.rate}));
    const std::vector<int16_t> original = Samples(oxtest::ReadWholeFile(Fixture(f.raw)));
    EXPECT_EQ(d.samples.size(), original.size());
    EXPECT_EQ(d.lengthMs, original.size() / f.channels * 1000 / f.rate);
    const auto [lag, snr] = Align(original, d.samples, f.channels);
    EXPECT_EQ(lag, 0);
    EXPECT_GT(snr, 15.0);
  }
}

TEST(Mp3Codec, WithoutGaplessInfoEveryDecodedSampleIsKept) {
  // lame -t writes no Info frame: the encoder delay (576) and the decoder's (529) stay in front.
  const Decoded d = Decode(Fixture("sweep_noxing.mp3"));
  ASSERT_TRUE(d.opened);
  const std::vector<int16_t> original = Samples(oxtest::ReadWholeFile(Fixture("sweep.raw")));
  const size_t frames = (original.size() / 2 + 576 + 1151) / 1152 + 1;  // lame's frame count for 1.5 s
  EXPECT_EQ(d.samples.size() % (1152 * 2), 0u);
  EXPECT_GE(d.samples.size() / 2 / 1152, frames - 1);
  EXPECT_EQ(d.lengthMs, d.samples.size() / 2 * 1000 / 44100);
  const auto [lag, snr] = Align(original, d.samples, 2);
  EXPECT_EQ(lag, 576 + 529);
  EXPECT_GT(snr, 15.0);
}

using oxtest::TrackInfo;
TrackInfo InfoOf(const std::string& path) { return oxtest::TrackInfoOf(Mp3(), path); }

TEST(Mp3Codec, TrackInfoFromTagsAndHeaders) {
  const TrackInfo cbr = InfoOf(Fixture("sweep_cbr.mp3"));
  EXPECT_EQ(std::make_tuple(cbr.kbps, cbr.hz, cbr.channels, cbr.lengthMs), std::make_tuple(uint16_t{128}, 44100u, uint8_t{2}, 1500u));
  EXPECT_EQ(cbr.size, oxtest::ReadWholeFile(Fixture("sweep_cbr.mp3")).size());

  const TrackInfo vbr = InfoOf(Fixture("sweep_vbr.mp3"));  // ID3v2.3 written by lame
  EXPECT_EQ(std::tie(vbr.artist, vbr.title, vbr.album), std::make_tuple("Sweep Artist", "Sweep Title", "Sweep Album"));
  EXPECT_EQ(vbr.yearAndTrack, 2003u | 4u << 16);
  EXPECT_EQ(vbr.lengthMs, 1500u);
  EXPECT_GT(vbr.kbps, 32);

  const TrackInfo v1 = InfoOf(Fixture("sweep_noxing.mp3"));  // ID3v1.1 only, no Xing frame: counted
  EXPECT_EQ(std::make_tuple(v1.title, v1.kbps), std::make_tuple("V1 Title", uint16_t{96}));
  EXPECT_EQ(v1.lengthMs, Decode(Fixture("sweep_noxing.mp3")).samples.size() / 2 * 1000 / 44100);

  char text[260] = {};
  Mp3()->GetStringInfo(Fixture("sweep_cbr.mp3").c_str(), text);
  EXPECT_STREQ(text, "MPEG-1 Layer III, 128 kbit/s, 44100 Hz, stereo, gapless");
}

TEST(Mp3Codec, SkipToHalfStartsNearTheMiddle) {
  for (const char* name : {"sweep_cbr.mp3", "sweep_vbr.mp3", "sweep_noxing.mp3"}) {
    SCOPED_TRACE(name);
    const Decoded whole = Decode(Fixture(name));
    const Decoded half = Decode(Fixture(name), 50);
    ASSERT_TRUE(half.opened);
    const long music = static_cast<long>(whole.samples.size() / 2);
    // The decoder restarts at a frame boundary near the middle and says where that is.
    const long start = static_cast<long>(uint64_t{half.firstPositionMs} * 44100 / 1000);
    EXPECT_NEAR(start, music / 2, 2 * 1152);
    EXPECT_NEAR(start + static_cast<long>(half.samples.size() / 2), music, 1152 + 44);
    // What it gives matches the whole decode from there, within the position's rounding.
    std::vector<int16_t> tail(whole.samples.begin() + start * 2, whole.samples.end());
    const auto [lag, snr] = Align(tail, half.samples, 2, 2 * 1152);
    EXPECT_LE(std::abs(lag), 45);
    EXPECT_GT(snr, 10.0);
  }
}

TEST(Mp3Codec, DamagedFilesFailOrEndCleanly) {
  oxtest::ScratchFolder dir;
  const std::vector<uint8_t> good = oxtest::ReadWholeFile(Fixture("sweep_cbr.mp3"));
  std::vector<uint8_t> junk(20000);
  uint32_t x = 12345;
  for (uint8_t& b : junk) b = static_cast<uint8_t>((x = x * 1103515245 + 12345) >> 16);

  oxtest::WriteWholeFile(dir / "junk.mp3", junk);
  EXPECT_FALSE(Decode(dir / "junk.mp3").opened);

  std::vector<uint8_t> prefixed(junk.begin(), junk.begin() + 3000);
  prefixed.insert(prefixed.end(), good.begin(), good.end());
  oxtest::WriteWholeFile(dir / "prefixed.mp3", prefixed);
  EXPECT_EQ(Decode(dir / "prefixed.mp3").samples, Decode(Fixture("sweep_cbr.mp3")).samples);

  // An ID3v2 header whose size claims far more than the file: the stream is still found.
  std::vector<uint8_t> lying = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
  lying.insert(lying.end(), good.begin(), good.end());
  oxtest::WriteWholeFile(dir / "lying.mp3", lying);
  EXPECT_EQ(Decode(dir / "lying.mp3").samples.size(), Decode(Fixture("sweep_cbr.mp3")).samples.size());
  InfoOf(dir / "lying.mp3");

  // Cut in the middle of a frame: plays what is there and ends.
  std::vector<uint8_t> cut(good.begin(), good.begin() + good.size() / 2 + 77);
  oxtest::WriteWholeFile(dir / "cut.mp3", cut);
  const Decoded c = Decode(dir / "cut.mp3");
  ASSERT_TRUE(c.opened);
  EXPECT_GT(c.samples.size(), 0u);
  EXPECT_LT(c.samples.size(), Decode(Fixture("sweep_cbr.mp3")).samples.size());
}

}  // namespace
}  // namespace ox
