// Describing a track: completing its record and the track information text, through the shipped
// codecs of the scratch installation.
#include "queue/TrackInfo.h"

#include <gtest/gtest.h>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "queue/TrackCompletion.h"

namespace ox {
namespace {

using oxtest::PathRecord;

TEST(TrackInfo, RecordCompletedFromTheCodecOrTheFileName_TextInTheCodecsOwnWords) {
  TrackRecord named = PathRecord("C:\\Music\\  The Band -  A Title - Live .xyz");
  CompleteTrackRecord(named);
  EXPECT_EQ(named.Artist(), "The Band");
  EXPECT_EQ(named.Title(), "A Title - Live");
  EXPECT_NE(named.dateAddedHigh, 0u);
  TrackRecord plain = PathRecord("C:\\Music\\NoDash.xyz");
  CompleteTrackRecord(plain);
  EXPECT_EQ(plain.Artist(), "");
  EXPECT_EQ(plain.Title(), "NoDash");

  TrackRecord wav = PathRecord(oxtest::FixtureFolder() + "s16_stereo.wav");
  std::string codecText;
  CompleteTrackRecord(wav, &codecText);
  EXPECT_EQ(wav.lengthMs, 1300u);
  EXPECT_EQ(wav.sampleRate, 44100u);
  EXPECT_EQ(wav.channels, 2);
  EXPECT_EQ(wav.bitRateKbps, 1411);
  EXPECT_EQ(wav.Title(), "s16_stereo");  // no tags: from the file name
  EXPECT_EQ(codecText, "");
  wav.timesPlayed = 7;
  CompleteTrackRecord(wav);  // complete: left as it is
  EXPECT_EQ(wav.timesPlayed, 7u);
  const std::string text = TrackInformation(wav);
  EXPECT_EQ(text.rfind("File :\t\ts16_stereo.wav\r\nLocation :\t\t", 0), 0u);
  EXPECT_NE(text.find("Length (m:ss) :\t0:01\r\nSize :\t\t224KB"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n\r\nWAV PCM, 16-bit, 44100 Hz, 2 channels"), std::string::npos) << text;
  EXPECT_EQ(TypeText("C:\\x.zz9"), "ZZ9 File");  // no class registered
}

}  // namespace
}  // namespace ox
