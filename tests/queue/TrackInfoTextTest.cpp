#include "queue/TrackInfoText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ox {
namespace {

TrackRecord Record(const char* path, uint32_t fileSize, uint32_t lengthMs, uint8_t channels, uint32_t rate) {
  TrackRecord r{};
  std::strcpy(r.path, path);
  r.fileSize = fileSize;
  r.lengthMs = lengthMs;
  r.channels = channels;
  r.sampleRate = rate;
  r.volumeBoost = kVolumeBoostAuto;
  return r;
}

TEST(TrackInfoText, WholeTextOfACompressedTrack_DefaultTypeText) {
  TrackRecord r = Record("C:\\Music\\Band - Song.mp3", 1000 * 1024 - 1, 60000, 2, 44100);
  r.preference = 6;
  r.year = 1999;
  r.timesPlayed = 12;
  const std::string text = TrackInfoText(r, {"MP3 File", "Friday, 1 January 1999", true, "MPEG-1 Layer III"});
  EXPECT_EQ(text,
            "File :\t\tBand - Song.mp3\r\nLocation :\t\tC:\\Music\\\r\nType :\t\tMP3 File\r\nExtension : \t.mp3\r\n"
            "Length (m:ss) :\t1:00\r\nSize :\t\t1000KB"
            "\r\nOriginal Size :\t10335KB\r\nCompression Ratio :\t10 to 1   (9 %)\r\n"
            "\r\nPreferrence :\t3.5\r\nYear :\t\t1999\r\nTimes Played :\t12\r\nDate Added :\tFriday, 1 January 1999"
            "\r\nVolume Boost :\tAuto [Yet to set]\r\n\r\nMPEG-1 Layer III");
  // A type no file class names: the extension in capitals.
  for (const auto& [extension, typeText] :
       {std::pair{".mp3", "MP3 File"}, {".Flac", "FLAC File"}, {".", "File"}, {".a", "A File"}})
    EXPECT_EQ(DefaultTypeText(extension), typeText);
}

TEST(TrackInfoText, RatiosPreferencesAndBoosts) {
  // Uncompressed: within 1024 KB of the original size counts as the same size.
  TrackRecord wav = Record("C:\\a.wav", 10335 * 1024 + 500000, 60000, 2, 44100);
  wav.volumeBoost = 500 - 175;  // -3.5 dB, truncated toward zero
  std::string text = TrackInfoText(wav, {"Wave Sound", "d", false, ""});
  EXPECT_NE(text.find("Compression Ratio :\t1 to 1   (100 %)"), std::string::npos);
  EXPECT_NE(text.find("Preferrence :\t0.5\r\n"), std::string::npos);
  EXPECT_NE(text.find("Volume Boost :\t-3 dB"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 20), "Volume Boost :\t-3 dB");  // no codec text after it

  // Ratio under 3: one decimal ("2.5"); under 1: ".8".
  TrackRecord r25 = Record("C:\\a.x", 4134 * 1024 - 1, 60000, 2, 44100);
  EXPECT_NE(TrackInfoText(r25, {}).find("\t2.5 to 1   (40 %)"), std::string::npos);
  TrackRecord r08 = Record("C:\\a.x", 12000 * 1024 - 1, 60000, 2, 44100);
  EXPECT_NE(TrackInfoText(r08, {}).find("\t.8 to 1   (116 %)"), std::string::npos);

  // Exactly 1024 KB apart is compressed; a ratio of exactly 3 is written without a decimal.
  TrackRecord apart = Record("C:\\a.x", (10335 - 1024 - 1) * 1024, 60000, 2, 44100);
  EXPECT_NE(TrackInfoText(apart, {}).find("Original Size :\t10335KB"), std::string::npos);
  TrackRecord r3 = Record("C:\\a.x", 3444 * 1024, 60000, 2, 44100);
  EXPECT_NE(TrackInfoText(r3, {}).find("\t3.0 to 1"), std::string::npos) << TrackInfoText(r3, {});
  TrackRecord odd = Record("C:\\a.x", 1, 3599999, 2, 44100);
  odd.preference = 4;
  const std::string oddText = TrackInfoText(odd, {});
  EXPECT_NE(oddText.find("Length (m:ss) :\t59:59\r\n"), std::string::npos);
  EXPECT_NE(TrackInfoText(Record("C:\\a.x", 1, 3541000, 2, 44100), {}).find("\t59:01\r\n"), std::string::npos);
  EXPECT_NE(oddText.find("Preferrence :\t2.5\r\n"), std::string::npos);

  // 127 channels at 2^32 - 1 Hz for 2^32 - 1 ms: 2^71 bytes of PCM, summed without passing 2^63.
  const std::string foreign = TrackInfoText(Record("C:\\odd.xyz", 2 * 1024 * 1024, 0xFFFFFFFFu, 127, 0xFFFFFFFFu), {});
  EXPECT_NE(foreign.find("\r\nOriginal Size :\t4575657219277717KB\r\nCompression Ratio :\t2233117237324 to 1   (0 %)"),
            std::string::npos) << foreign;
  // Nothing about ratios without a length or a size.
  EXPECT_EQ(TrackInfoText(Record("C:\\a.x", 0, 60000, 2, 44100), {}).find("Original"), std::string::npos);
  TrackRecord empty{};
  EXPECT_EQ(TrackInfoText(empty, {}), "Not Playing");
}

}  // namespace
}  // namespace ox
