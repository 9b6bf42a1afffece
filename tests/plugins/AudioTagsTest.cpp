// Vorbis comments, FLAC metadata blocks and loudness tags, on bytes built here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AudioTags.h"
#include "Id3Tag.h"

namespace tags {
namespace {

void Le32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> CommentList(const std::vector<std::string>& comments, uint32_t count) {
  std::vector<uint8_t> b;
  Le32(b, 3);
  b.insert(b.end(), {'v', 'e', 'n'});
  Le32(b, count);
  for (const std::string& c : comments) {
    Le32(b, static_cast<uint32_t>(c.size()));
    b.insert(b.end(), c.begin(), c.end());
  }
  return b;
}

TEST(AudioTags, CommentsFillFieldsAndLoudness) {
  Tags t;
  const std::vector<uint8_t> list =
      CommentList({"title=Ünïcödé ☀", "ARTIST=A", "Artist=B", "DATE=2019-04-01", "TRACKNUMBER=7/12",
                   "REPLAYGAIN_TRACK_GAIN=-6.02 dB", "replaygain_album_gain=+2.5 dB", "REPLAYGAIN_TRACK_PEAK=0.794",
                   "REPLAYGAIN_ALBUM_PEAK=-1", "R128_TRACK_GAIN=-2821", "no equals"},
                  11);
  ASSERT_TRUE(ParseCommentList(list.data(), list.size(), t));
  EXPECT_EQ(t.title, "Ünïcödé ☀");
  EXPECT_EQ(t.artist, "A; B");
  EXPECT_EQ(t.year, 2019);
  EXPECT_EQ(t.track, 7);
  const Loudness& l = t.loudness;
  EXPECT_TRUE(l.hasTrackGain && l.hasAlbumGain && l.hasTrackPeak && !l.hasAlbumPeak);
  EXPECT_FLOAT_EQ(l.trackGainDb, -6.02f);
  EXPECT_FLOAT_EQ(l.albumGainDb, 2.5f);
  EXPECT_FLOAT_EQ(l.trackPeak, 0.794f);
  const Loudness opus = OpusLoudness(t);  // R128 wins, moved by 5 dB to the ReplayGain reference
  EXPECT_NEAR(opus.trackGainDb, -2821 / 256.0 + 5, 1e-5);
  EXPECT_FLOAT_EQ(opus.albumGainDb, 2.5f);
}

TEST(AudioTags, LengthsPastTheDataStopTheReading) {
  const struct {
    std::vector<uint8_t> bytes;
    bool ok;
    std::string title;
  } cases[] = {
      {{0xF0, 0xFF, 0xFF, 0xFF, 'x'}, false, ""},  // a vendor text of 4 GiB
      {CommentList({"TITLE=kept", "TITLE=x"}, 2), true, "kept; x"},
      {[] { auto b = CommentList({"TITLE=kept"}, 5); Le32(b, 0xFFFFFFFFu); return b; }(), true, "kept"},
      {{3, 0, 0, 0, 'v', 'e', 'n', 1, 0}, false, ""},  // the count cut short
  };
  for (const auto& c : cases) {
    Tags t;
    EXPECT_EQ(ParseCommentList(c.bytes.data(), c.bytes.size(), t), c.ok);
    EXPECT_EQ(t.title, c.title);
  }
}

TEST(AudioTags, DecimalsAsTaggersWriteThem) {
  const struct {
    const char* text;
    bool ok;
    float value;
  } cases[] = {{"-6.02 dB", true, -6.02f}, {"+3.5", true, 3.5f}, {" 0.988831", true, 0.988831f}, {"12", true, 12.0f},
               {"dB", false, 0}, {"-", false, 0}, {"1e9", true, 1.0f}, {"99999999999", false, 0}, {"", false, 0}};
  for (const auto& c : cases) {
    float v = 0;
    EXPECT_EQ(ParseDecimal(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_FLOAT_EQ(v, c.value) << c.text;
    }
  }
}

TEST(AudioTags, FlacBlocksGiveTheStreamAndSkipPictures) {
  std::vector<uint8_t> f = {'f', 'L', 'a', 'C', 0x00, 0, 0, 34};
  // STREAMINFO: blocks 4096, 44100 Hz, 2 channels, 16 bits, 88200 samples.
  const uint8_t info[34] = {0x10, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0xC4, 0x42, 0xF0, 0, 1, 0x58, 0x88};
  f.insert(f.end(), info, info + 34);
  f.insert(f.end(), {0x06, 0xFF, 0xFF, 0xFF});  // a picture of 16 MiB that is not there to read
  f.resize(f.size() + 0xFFFFFF);
  const std::vector<uint8_t> c = CommentList({"TITLE=T"}, 1);
  f.insert(f.end(), {0x84, 0, 0, static_cast<uint8_t>(c.size())});
  f.insert(f.end(), c.begin(), c.end());
  FlacInfo fi;
  ox::MemorySource source(f);
  ASSERT_TRUE(ReadFlacInfo(source, fi));
  EXPECT_EQ(fi.sampleRate, 44100u);
  EXPECT_EQ(fi.channels, 2);
  EXPECT_EQ(fi.bitsPerSample, 16);
  EXPECT_EQ(fi.totalSamples, 88200u);
  EXPECT_EQ(fi.tags.title, "T");
  EXPECT_EQ(fi.audioOffset, f.size());
  f[8] = 0;  // a minimum block size of 0 is impossible
  f[9] = 0;
  ox::MemorySource lying(f);
  EXPECT_FALSE(ReadFlacInfo(lying, fi));
}

TEST(AudioTags, Id3UserTextFramesCarryLoudness) {
  auto frame = [](uint8_t encoding, const std::string& name, const std::string& value) {
    std::vector<uint8_t> body = {encoding};
    auto text = [&](const std::string& t) {  // Latin-1, or UTF-16LE behind a byte-order mark
      if (encoding == 1) body.insert(body.end(), {0xFF, 0xFE});
      for (char c : t) {
        body.push_back(static_cast<uint8_t>(c));
        if (encoding == 1) body.push_back(0);
      }
    };
    text(name);
    body.insert(body.end(), encoding == 1 ? 2 : 1, 0);
    text(value);
    std::vector<uint8_t> f = {'T', 'X', 'X', 'X', 0, 0, 0, static_cast<uint8_t>(body.size()), 0, 0};
    f.insert(f.end(), body.begin(), body.end());
    return f;
  };
  std::vector<uint8_t> frames;
  for (const auto& f : {frame(0, "REPLAYGAIN_TRACK_GAIN", "-6.02 dB"), frame(1, "replaygain_album_gain", "+1.5 dB"),
                        frame(0, "REPLAYGAIN_TRACK_PEAK", "0.5"), frame(0, "OTHER", "1")})
    frames.insert(frames.end(), f.begin(), f.end());
  std::vector<uint8_t> file = {'I', 'D', '3', 3, 0, 0, 0, 0, static_cast<uint8_t>(frames.size() >> 7),
                               static_cast<uint8_t>(frames.size() & 0x7F)};
  file.insert(file.end(), frames.begin(), frames.end());
  ox::MemorySource source(file);
  id3::Tag tag;
  ASSERT_TRUE(id3::ReadV2(source, tag));
  EXPECT_TRUE(tag.loudness.hasTrackGain && tag.loudness.hasAlbumGain && tag.loudness.hasTrackPeak);
  EXPECT_FLOAT_EQ(tag.loudness.trackGainDb, -6.02f);
  EXPECT_FLOAT_EQ(tag.loudness.albumGainDb, 1.5f);
  EXPECT_FLOAT_EQ(tag.loudness.trackPeak, 0.5f);
}

}  // namespace
}  // namespace tags
