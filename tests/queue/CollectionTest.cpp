#include "queue/Collection.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <map>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "base/PathCase.h"
#include "base/Random.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "queue/History.h"
#include "queue/FolderWatchRules.h"
#include "queue/NextTrack.h"

namespace ox {
namespace {

TrackRecord Record(const std::string& path, uint8_t preference = 9) {
  TrackRecord r = oxtest::PathRecord(path);
  r.preference = preference;
  return r;
}

void WriteCollection(const std::vector<TrackRecord>& records) { oxtest::WriteRecords(DefaultMusicCollectionFile(), records); }
void WriteSelection(const std::vector<uint32_t>& numbers) { oxtest::WriteRecords(SelectivePlayListFile(), numbers); }

class CollectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oxtest::ResetQueueState();
    SeedRandom(20261205);  // the draws of every run are the same
  }
  void TearDown() override { oxtest::ResetQueueState(); }
};

TEST_F(CollectionTest, SelectivePlayListLimitsThePick) {
  std::vector<TrackRecord> records;
  for (int i = 0; i < 10; ++i) records.push_back(Record("C:\\" + std::to_string(i) + ".wav"));
  WriteCollection(records);
  WriteSelection({3, 7});
  std::map<std::string, int> seen;
  for (int i = 0; i < 200; ++i) {
    TrackRecord r;
    ASSERT_TRUE(PickFromCollection(r));
    ++seen[std::string(r.Path())];
  }
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_GT(seen["C:\\3.wav"], 50);
  EXPECT_GT(seen["C:\\7.wav"], 50);

  // Record numbers past the end are failed draws that leave nothing behind; so are selections of
  // three bytes or less ignored.
  WriteSelection({999});
  TrackRecord r = Record("C:\\stale.wav");
  EXPECT_TRUE(PickFromCollection(r));
  EXPECT_FALSE(r.HasPath());
  oxtest::WriteWholeFile(SelectivePlayListFile(), std::string(3, '\xFF'));
  EXPECT_TRUE(PickFromCollection(r));
  EXPECT_TRUE(r.HasPath());

  DeleteFileA(DefaultMusicCollectionFile().c_str());
  EXPECT_FALSE(PickFromCollection(r));
}

TEST_F(CollectionTest, RandomPlayAvoidsTheHistoryAndLowPreferenceRarelyPasses) {
  WriteCollection({Record("C:\\played.wav"), Record("C:\\fresh.wav")});
  RecordAsPlayed(Record("C:\\PLAYED.WAV"));  // paths compare without regard to case
  TrackRecord r;
  EXPECT_FALSE(NextTrack(r));  // the collection plays only in random play
  evt::OxMyMusicRandom.Set();
  EXPECT_TRUE(IsAnythingToPlay());
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(i % 2 ? PickFromCollection(r) : NextTrack(r));
    ASSERT_EQ(r.Path(), "C:\\fresh.wav");
  }
  // Preference 1 passes one draw in nine; against a preference-9 record it mostly loses.
  DeleteFileA(HistoryFile().c_str());
  WriteCollection({Record("C:\\low.wav", 1), Record("C:\\high.wav", 9)});
  int low = 0;
  for (int i = 0; i < 300; ++i) {
    PickFromCollection(r);
    if (r.Path() == "C:\\low.wav") ++low;
  }
  EXPECT_LT(low, 60);  // about 30 expected (1 in 10), never the 150 of an unweighted pick
  EXPECT_GT(low, 5);
}

// Paths that differ only in case are one path, in every script; ASCII folds as it always did.
TEST_F(CollectionTest, PathsCompareWithoutCaseInEveryScript) {
  const struct {
    const char *a, *b;
    bool same;
  } cases[] = {
      {"C:\\Music\\Song.MP3", "c:\\music\\song.mp3", true},
      {"C:\\Music\\Song.MP3", "c:\\music\\song.mp", false},
      {"_", "\x7F", false},
      {"\xD0\x9F\xD0\x95\xD0\xA1\xD0\x9D\xD0\xAF.mp3", "\xD0\xBF\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.MP3", true},  // ПЕСНЯ, песня
      {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89", true},                                              // Été, éTÉ
      {"\xE5\xA4\x9C\xE6\x9B\xB2.wav", "\xE5\xA4\x9C\xE6\x9B\xB2.WAV", true},                          // 夜曲
      {"\xD0\x9F.wav", "\xD0\xA0.wav", false},                                                      // П, Р
      {"\xC9.wav", "\xE9.wav", false},  // not UTF-8: the bytes themselves
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SamePath(c.a, c.b), c.same) << c.a << " " << c.b;
    KnownPaths known(PathKey);
    known.Add(c.a);
    EXPECT_EQ(known.Contains(c.b), c.same) << c.a << " " << c.b;
  }
}

TEST_F(CollectionTest, PlaysAreCountedInTheCollectionAndAnnounced) {
  // The second record has text fields without terminating zeros, as a careless writer may leave.
  TrackRecord unterminated = Record("C:\\b.wav");
  std::memset(unterminated.artist, 'A', sizeof unterminated.artist);
  std::memset(unterminated.title, 'T', sizeof unterminated.title);
  WriteCollection({Record("C:\\a.wav"), unterminated, Record("C:\\c.wav")});
  RecordAsPlayed(Record("c:\\B.WAV"));  // the same file, in every script: see PathsCompareWithoutCaseInEveryScript
  UpdateCollectionEntry("C:\\c.wav", false, 600);

  ASSERT_EQ(oxtest::ReadWholeFile(DefaultMusicCollectionFile()).size(), 3 * sizeof(TrackRecord));
  const std::vector<TrackRecord> records = oxtest::ReadRecords<TrackRecord>(DefaultMusicCollectionFile());
  EXPECT_EQ(records[0].timesPlayed, 0u);
  EXPECT_EQ(records[1].timesPlayed, 1u);
  EXPECT_EQ(records[1].Artist(), std::string(100, 'A'));  // untouched, and read no further than its field
  EXPECT_EQ(records[2].volumeBoost, 600);
  EXPECT_EQ(records[2].timesPlayed, 0u);

  const LiveUpdate live = oxtest::Value<LiveUpdate>(block::OxRillLiveUpdate);
  EXPECT_EQ(live.Path(), "C:\\c.wav");
  EXPECT_EQ(live.played, 0);
  EXPECT_EQ(live.volumeBoost, 600);
}

TEST_F(CollectionTest, AddToCollection_AppendsEachPathOnceAndNotifies) {
  const std::string a = "C:\\new one.wav", c = "C:\\\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.wav";  // Песня
  // A path too long for the record is not stored at all, never cut; one already waiting (in
  // another case, пЕСНЯ) is not added twice.
  for (const std::string& path : {a, std::string(300, 'b'), c, std::string("c:\\NEW ONE.wav"),
                                  std::string("C:\\\xD0\xBF\xD0\x95\xD0\xA1\xD0\x9D\xD0\xAF.WAV")})
    AddFileToCollection(&path, false);
  const std::vector<uint8_t> file = oxtest::ReadWholeFile(AddToEditorFile());
  ASSERT_EQ(file.size(), 520u);
  EXPECT_STREQ(reinterpret_cast<const char*>(file.data()), a.c_str());
  EXPECT_STREQ(reinterpret_cast<const char*>(file.data() + 260), c.c_str());

  // With no editor in the folder, notify returns at once (the editor's tests start a real one).
  evt::OxEditorRunning.Reset();
  evt::OxFileToAdd.Reset();
  const DWORD start = GetTickCount();
  AddFileToCollection(nullptr, true, 20000);
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_TRUE(evt::OxFileToAdd.IsSet());
}

}  // namespace
}  // namespace ox
