// Vorbis comments, FLAC metadata blocks and loudness tags (ID3v2 TXXX too), on bytes built here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AudioTags.h"
#include "Id3Tag.h"

namespace tags {
namespace {

void Put(std::vector<uint8_t>& b, uint32_t v, int bytes = 4, bool bigEndian = false) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * (bigEndian ? bytes - 1 - i : i))));
}

std::vector<uint8_t> CommentList(const std::vector<std::string>& comments, uint32_t count) {
  std::vector<uint8_t> b = {3, 0, 0, 0, 'v', 'e', 'n'};
  Put(b, count);
  for (const std::string& c : comments) Put(b, static_cast<uint32_t>(c.size())), b.insert(b.end(), c.begin(), c.end());
  return b;
}

TEST(AudioTags, CommentsFillFieldsAndLoudness) {
  Tags t;
  const auto list =
      CommentList({"title=Ünïcödé ☀", "ARTIST=A", "Artist=B", "DATE=2019-04-01", "TRACKNUMBER=7/12",
                   "REPLAYGAIN_TRACK_GAIN=-6.02 dB", "replaygain_album_gain=+2.5 dB", "REPLAYGAIN_TRACK_PEAK=0.794",
                   "REPLAYGAIN_ALBUM_PEAK=-1", "R128_TRACK_GAIN=-2821", "x", "Genre=Lied", "ALBUM ARTIST=Chor"},
                  13);
  ASSERT_TRUE(ParseCommentList(list.data(), list.size(), t));
  EXPECT_EQ(std::make_tuple(t.title, t.artist, t.year, t.track, t.genre, t.albumArtist),
            std::make_tuple("Ünïcödé ☀", "A; B", 2019, 7, "Lied", "Chor"));
  const Loudness& l = t.loudness;
  EXPECT_TRUE(l.hasTrackGain && l.hasAlbumGain && l.hasTrackPeak && !l.hasAlbumPeak);  // a peak <= 0 says nothing
  EXPECT_EQ(std::make_tuple(l.trackGainDb, l.albumGainDb, l.trackPeak), std::make_tuple(-6.02f, 2.5f, 0.794f));
  const Loudness opus = OpusLoudness(t);  // R128 wins, moved by 5 dB to the ReplayGain reference
  EXPECT_NEAR(opus.trackGainDb, -2821 / 256.0 + 5, 1e-5);

  const struct {
    std::vector<uint8_t> bytes;
    bool ok;
    std::string title;
  } lists[] = {
      {{0xF0, 0xFF, 0xFF, 0xFF, 'x'}, false, ""},  // a vendor text of 4 GiB
      {[] {
         auto b = CommentList({"TITLE=kept"}, 5);
         Put(b, 0xFFFFFFFFu);
         return b;
       }(),
       true, "kept"},
      {{3, 0, 0, 0, 'v', 'e', 'n', 1, 0}, false, ""},  // the count cut short
  };
  for (const auto& c : lists) {
    Tags cut;
    EXPECT_EQ(ParseCommentList(c.bytes.data(), c.bytes.size(), cut), c.ok);
    EXPECT_EQ(cut.title, c.title);
  }
  const struct {
    const char* text;
    bool ok;
    float value;
  } decimals[] = {{"+3.5", true, 3.5f}, {" 0.988831", true, 0.988831f}, {"dB", false, 0}, {"-", false, 0},
                  {"1e9", true, 1.0f},  {"99999999999", false, 0},      {"", false, 0}};
  for (const auto& c : decimals) {
    float v = 0;
    EXPECT_EQ(ParseDecimal(c.text, v), c.ok) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

TEST(AudioTags, FlacBlocksGiveTheStreamAndSkipPictures) {
  std::vector<uint8_t> f = {'f', 'L', 'a', 'C', 0x00, 0, 0, 34};
  // STREAMINFO: blocks 4096, 44100 Hz, 2 channels, 16 bits, 88200 samples.
  const uint8_t info[34] = {0x10, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0x0A, 0xC4, 0x42, 0xF0, 0, 1, 0x58, 0x88};
  f.insert(f.end(), info, info + 34);
  f.insert(f.end(), {0x06, 0xFF, 0xFF, 0xFF});  // a picture of 16 MiB, stepped over
  f.resize(f.size() + 0xFFFFFF);
  const std::vector<uint8_t> c = CommentList({"TITLE=T"}, 1);
  f.insert(f.end(), {0x84, 0, 0, static_cast<uint8_t>(c.size())});
  f.insert(f.end(), c.begin(), c.end());
  FlacInfo fi;
  ox::MemorySource source(f);
  ASSERT_TRUE(ReadFlacInfo(source, fi));
  EXPECT_EQ(
      std::make_tuple(fi.sampleRate, fi.channels, fi.bitsPerSample, fi.totalSamples, fi.tags.title, fi.audioOffset),
      std::make_tuple(44100u, uint8_t{2}, uint8_t{16}, uint64_t{88200}, "T", uint64_t{f.size()}));
  f[8] = f[9] = 0;  // a minimum block size of 0 is impossible
  ox::MemorySource lying(f);
  EXPECT_FALSE(ReadFlacInfo(lying, fi));
}

TEST(AudioTags, Id3UserTextFramesCarryLoudness) {
  std::vector<uint8_t> frames;
  for (const auto& [encoding, name, value] :
       {std::make_tuple(0, "REPLAYGAIN_TRACK_GAIN", "-6.02 dB"), std::make_tuple(1, "replaygain_album_gain", "+1.5 dB"),
        std::make_tuple(0, "REPLAYGAIN_TRACK_PEAK", "0.5")}) {
    std::vector<uint8_t> body = {static_cast<uint8_t>(encoding)};
    for (const std::string text : {name, value}) {  // Latin-1, or UTF-16LE behind a byte-order mark
      if (encoding == 1) body.insert(body.end(), {0xFF, 0xFE});
      for (char ch : text + '\0') {
        body.push_back(static_cast<uint8_t>(ch));
        if (encoding == 1) body.push_back(0);
      }
    }
    frames.insert(frames.end(), {'T', 'X', 'X', 'X'});
    Put(frames, static_cast<uint32_t>(body.size()), 4, true);
    frames.insert(frames.end(), {0, 0});
    frames.insert(frames.end(), body.begin(), body.end());
  }
  std::vector<uint8_t> file = {'I', 'D', '3', 3, 0, 0, 0, 0, static_cast<uint8_t>(frames.size() >> 7),
                               static_cast<uint8_t>(frames.size() & 0x7F)};
  file.insert(file.end(), frames.begin(), frames.end());
  ox::MemorySource source(file);
  id3::Tag tag;
  ASSERT_TRUE(id3::ReadV2(source, tag));
  const Loudness& l = tag.loudness;
  EXPECT_TRUE(l.hasTrackGain && l.hasAlbumGain && l.hasTrackPeak);
  EXPECT_EQ(std::make_tuple(l.trackGainDb, l.albumGainDb, l.trackPeak), std::make_tuple(-6.02f, 1.5f, 0.5f));
}

}  // namespace
}  // namespace tags
