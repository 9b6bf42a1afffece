// The shipped FLAC, Ogg Vorbis and Opus codecs, loaded from the installation folder the build lays
// out, on files flac, oggenc and opusenc made (tests/fixtures/make_codec_audio.sh) with their
// references: the source PCM (FLAC), oggdec's decode (Vorbis), opusdec's float decode (Opus).
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "ShippedPlugins.h"
#include "TestSupport.h"
#include "base/Wide.h"

namespace ox {
namespace {

using oxtest::Fixture;

std::string Extension(const std::string& name) { return name.substr(name.rfind('.')); }

struct Opened : oxtest::Decoding {
  explicit Opened(const std::string& name) : Decoding(oxtest::ShippedCodecs().Find(Extension(name)), Fixture(name)) {}
  std::vector<uint8_t> Read(size_t atMost) { return Decoding::Read(6011 * format->nBlockAlign, atMost); }
};

int Sample16(const std::vector<uint8_t>& b, size_t i) { return static_cast<int16_t>(b[2 * i] | b[2 * i + 1] << 8); }

// The squared error of the first frames of `after` against `full` from frame `at` + lag.
double Error(const std::vector<uint8_t>& after, const std::vector<uint8_t>& full, size_t channels, size_t at, int lag,
             size_t frames) {
  double e = 0;
  for (size_t i = 0; i < frames * channels; ++i) {
    const double d = Sample16(after, i) - Sample16(full, (at + lag) * channels + i);
    e += d * d;
  }
  return e;
}

TEST(XiphCodecs, DecodeExactlyAndSeekToTheSample) {
  const struct {
    const char* name;
    const char* reference;
    uint16_t bits, channels;
    uint32_t rate;
  } files[] = {
      {"f16_stereo.flac", "f16_stereo.raw", 16, 2, 44100}, {"f24_stereo.flac", "f24_stereo.raw", 24, 2, 96000},
      {"f16_mono.flac", "f16_mono.raw", 16, 1, 44100},     {"f24_mono.flac", "f24_mono.raw", 24, 1, 96000},
      {"f16_six.flac", "f16_six.raw", 16, 6, 44100},       {"v_stereo.ogg", "v_stereo.raw", 16, 2, 44100},
      {"v_mono.ogg", "v_mono.raw", 16, 1, 22050},          {"o_stereo.opus", "o_stereo.f32", 16, 2, 48000},
      {"o_mono.opus", "o_mono.f32", 16, 1, 48000},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    Opened d(f.name);
    ASSERT_NE(d.handle, 0u);
    const WAVEFORMATEX& w = *d.format;
    ASSERT_EQ(std::make_tuple(w.wBitsPerSample, w.nChannels, w.nSamplesPerSec),
              std::make_tuple(f.bits, f.channels, DWORD{f.rate}));
    const std::vector<uint8_t> full = d.Read(SIZE_MAX), reference = oxtest::ReadWholeFile(Fixture(f.reference));
    const bool opus = Extension(f.name) == ".opus";
    if (!opus) {
      // FLAC is exact. libvorbis decodes for oggdec too; the platforms' maths libraries round the
      // transform's tables apart in the last bit, which moves a sample in a thousand by one step at most.
      ASSERT_EQ(full.size(), reference.size());
      size_t differ = 0;
      for (size_t i = 0; i < full.size() / 2; ++i) {
        const int step = std::abs(Sample16(full, i) - Sample16(reference, i));
        differ += step != 0;
        EXPECT_LE(step, 1) << i;
      }
      EXPECT_LE(differ, Extension(f.name) == ".flac" ? 0 : full.size() / 2 / 1000);
    } else {
      // The exact length after pre-skip and end trim; the samples within rounding of the floats.
      const std::vector<float> ref = oxtest::Records<float>(reference);
      ASSERT_EQ(full.size() / 2, ref.size());
      double signal = 0, noise = 0;
      for (size_t i = 0; i < ref.size(); ++i) {
        const double s = Sample16(full, i) / 32768.0;
        signal += double{ref[i]} * ref[i], noise += (s - ref[i]) * (s - ref[i]);
      }
      EXPECT_GE(10 * std::log10(signal / noise), 90.0);
    }
    // Ten seeks: the first frames after each equal the full decode's at that index. Opus's decoder
    // restarted mid-stream only converges on the same levels, so there the seek must land on the
    // sample (no neighbour fits better) and come within 10 dB at once (80 ms of pre-roll).
    const size_t frame = w.nBlockAlign, frames = full.size() / frame;
    for (int percent : {95, 5, 50, 15, 85, 25, 75, 35, 65, 45}) {
      d.codec->SkipTo(d.handle, percent);
      const std::vector<uint8_t> after = d.Read(4096 * frame);
      const size_t at = frames * percent / 100, n = std::min<size_t>(2048, frames - at - 8);
      ASSERT_GE(after.size(), n * frame) << percent;
      if (!opus) {
        EXPECT_TRUE(std::equal(after.begin(), after.begin() + n * frame, full.begin() + at * frame)) << percent;
        continue;
      }
      const size_t to = std::min<size_t>(n, 1024);
      double signal = 0;
      for (size_t i = 0; i < to * f.channels; ++i) signal += std::pow(Sample16(full, at * f.channels + i), 2.0);
      const double exact = Error(after, full, f.channels, at, 0, to);
      for (int lag : {-2, -1, 1, 2}) EXPECT_LT(exact, Error(after, full, f.channels, at, lag, to)) << percent;
      EXPECT_GE(10 * std::log10(signal / exact), 10.0) << percent;
    }
  }
}

TEST(XiphCodecs, TagsAndLoudnessAsUtf8) {
  const struct {
    const char* name;
    const char* artist;
    const char* title;
    const char* genre;  // through the tag-element call the collection editor uses
    uint32_t yearAndTrack, lengthMs, flags;
    float trackGain, albumGain, trackPeak;
  } files[] = {
      {"f16_stereo.flac", "Zoë Ångström", "Frühlingslied – ☀", "Lied", 2019 | 7 << 16, 2500, 0xF, -6.02f, 2.5f, 0.794f},
      {"v_stereo.ogg", "Ærtist", "Título ünicode ♫", "Fado", 2021 | 3 << 16, 3000, 0x7, -6.02f, -3.0f, 0.5f},
      {"o_stereo.opus", "Ärtist", "Ópus ☂", "Jazz", 0, 2200, 0x3, -2821 / 256.0f + 5, 1 + 5, 0},
      {"f24_mono.flac", "", "", "", 0, 900, 0, 0, 0, 0},
  };
  oxtest::ScratchFolder dir;  // read under a name beyond any code page, through our own file reader
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    const CodecPlugin* codec = oxtest::ShippedCodecs().Find(Extension(f.name));
    ASSERT_TRUE(codec && codec->GetTrackInfo && codec->GetLoudnessInfo && codec->GetIDTagElement);
    const std::string path = dir / (std::string("Песня ☀ ") + f.name);
    ASSERT_TRUE(CopyFileW(Wide(Fixture(f.name)).c_str(), Wide(path).c_str(), FALSE));
    const oxtest::TrackInfo t = oxtest::TrackInfoOf(codec, path);
    EXPECT_EQ(std::make_tuple(t.artist, t.title, t.yearAndTrack, t.lengthMs),
              std::make_tuple(std::string(f.artist), std::string(f.title), f.yearAndTrack, f.lengthMs));
    char genre[260] = {};
    EXPECT_EQ(codec->GetIDTagElement(path.c_str(), "genre", genre), *f.genre ? 1 : 0);
    EXPECT_STREQ(genre, f.genre);
    OxLoudnessInfo info{};
    info.size = sizeof info;
    EXPECT_EQ(codec->GetLoudnessInfo(path.c_str(), &info), f.flags != 0 ? 1 : 0);
    EXPECT_EQ(info.flags, f.flags);
    for (auto [got, want] :
         {std::pair{info.trackGainDb, f.trackGain}, {info.albumGainDb, f.albumGain}, {info.trackPeak, f.trackPeak}})
      EXPECT_NEAR(got, want, 1e-4);
  }
}

TEST(XiphCodecs, BadFilesCannotPlayOrPlayWithoutTheirTags) {
  const struct {
    const char* name;
    bool plays;
  } files[] = {{"bad_cut.flac", false},        {"bad_cut.ogg", false},     {"bad_cut.opus", false},
               {"bad_magic.flac", false},      {"bad_magic.opus", false},  {"bad_chained.ogg", false},
               {"bad_streaminfo.flac", false}, {"bad_comment.flac", true}, {"missing.flac", false}};
  for (const auto& f : files) {
    Opened d(f.name);
    EXPECT_EQ(d.handle != 0, f.plays) << f.name;
    if (d.handle) {
      EXPECT_EQ(d.Read(SIZE_MAX).size(), oxtest::ReadWholeFile(Fixture("f16_mono.raw")).size());
    }
  }
}

}  // namespace
}  // namespace ox
