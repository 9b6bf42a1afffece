// The shipped Disk Writer: what it is fed comes back as a valid WAV file named after the track.
#include <gtest/gtest.h>

#include <tuple>

#include "ShippedPlugins.h"
#include "TestSupport.h"
#include "WavFormat.h"
#include "base/NamedMutex.h"
#include "base/SharedDataBlock.h"
#include "core/Settings.h"
#include "core/TrackRecord.h"

namespace ox {
namespace {

class DiskWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = GetTextSetting("DiskWriterFolder", 260, HKEY_CURRENT_USER, kSettingsKey);
    SetTextSetting(dir_.Path().c_str(), "DiskWriterFolder", HKEY_CURRENT_USER, kSettingsKey);
  }
  void TearDown() override { SetTextSetting(saved_.c_str(), "DiskWriterFolder", HKEY_CURRENT_USER, kSettingsKey); }

  // Plays `path` as far as the player is concerned: its record in "OxTrackPlaying" (a block lives
  // as long as some process holds it open, as the player does).
  void NowPlaying(const std::string& path, const std::string& title) {
    TrackRecord record{};
    CopyBounded(record.path, path);
    CopyBounded(record.title, title);
    playing_.WriteValue(record);
  }

  SharedDataBlock playing_{"OxTrackPlaying", sizeof(TrackRecord)};
  oxtest::ScratchFolder dir_;
  std::string saved_;
};

TEST_F(DiskWriterTest, WritesWhatItIsFedAsAValidWav) {
  const SoundOutputPlugin* writer = oxtest::ShippedOutput("Disk Writer");
  ASSERT_NE(writer, nullptr);

  for (uint16_t bits : {16, 8, 24}) {
    SCOPED_TRACE(bits);
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 22050, 22050u * 2 * bits / 8, static_cast<WORD>(2 * bits / 8), bits, 0};
    // A Cyrillic and CJK title is the file's name as it stands, whatever the process's code page;
    // a tag's title goes before the file's, with what a file name cannot hold replaced.
    const std::string name = (bits == 8 ? "\u041f\u0435\u0441\u043d\u044f \u591c\u66f2 " : "Song ") + std::to_string(bits);
    NowPlaying("C:\\Music\\" + name + ".mp3", bits == 24 ? "T\u00edtulo: \u00fcnicode \u266b" : "");
    const std::string title = bits == 24 ? "T\u00edtulo_ \u00fcnicode \u266b" : name;
    int32_t error = -1;
    const OxSoundOut out = writer->CreateANewSoundOutObject(&error, &format, 0);
    ASSERT_EQ(error, 0);

    std::vector<uint8_t> fed;
    for (int block = 0; block < 7; ++block) {
      void* buffer = nullptr;
      uint32_t room = 0;
      EXPECT_EQ(writer->ServiceCall(out, &buffer, &room), 1);  // nothing is ever pending
      ASSERT_NE(buffer, nullptr);
      ASSERT_EQ(room % format.nBlockAlign, 0u);
      const uint32_t n = (block == 6 ? 0 : room / (block + 1)) / format.nBlockAlign * format.nBlockAlign;
      for (uint32_t i = 0; i < n; ++i) static_cast<uint8_t*>(buffer)[i] = static_cast<uint8_t>(fed.size() + i * 31);
      fed.insert(fed.end(), static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + n);
      writer->ANewDataBlockArrived(out, buffer, n, block == 6);
      if (block == 2) {
        EXPECT_EQ(writer->HowManyBytesHaveBeenWritten(out), fed.size());
        writer->SkipTo(out, 50);
        EXPECT_EQ(writer->HowManyBytesHaveBeenWritten(out), 0u);  // the count restarts, the file goes on
      }
    }
    writer->DeleteASoundOutObject(out);

    const std::vector<uint8_t> file = oxtest::ReadWholeFile(dir_ / (title + ".wav"));  // the tests' code page is UTF-8
    ASSERT_EQ(file.size(), 44 + fed.size());
    MemorySource source(file);
    wav::Info info;
    ASSERT_EQ(wav::Parse(source, info), wav::Error::None);
    EXPECT_EQ(Le32(&file[4]), file.size() - 8);
    EXPECT_EQ(std::make_tuple(info.bitsPerSample, info.channels, info.sampleRate, info.dataOffset, info.dataBytes),
              std::make_tuple(bits, uint16_t{2}, 22050u, uint64_t{44}, uint64_t{fed.size()}));
    EXPECT_TRUE(std::equal(fed.begin(), fed.end(), file.begin() + 44));
  }
}

}  // namespace
}  // namespace ox
