// The collection editor with the player's side of the suite: saves that keep every in-place update
// a second process makes meanwhile, the folder watch's hand-over, and the program itself started
// by the player's button.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "engine/CodecHost.h"
#include "librarian/LibrarianRules.h"
#include "librarian/Library.h"
#include "queue/Collection.h"
#include "queue/CollectionStore.h"
#include "queue/FolderWatch.h"
#include "ui/ButtonCommands.h"

namespace ox {
namespace {

TrackRecord Record(const std::string& path, const char* artist) {
  TrackRecord r = oxtest::PathRecord(path);
  CopyBounded(r.artist, artist);
  r.preference = 9;  // within the selective view's preferences
  return r;
}

HWND Editor() { return FindWindowW(L"Orlavox Librarian", nullptr); }

class LibrarianTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oxtest::ResetQueueState();
    DeleteFileA(SideIndexFileFor(DefaultMusicCollectionFile()).c_str());
    CopyFileA((oxtest::ExecutableFolder() + "..\\dist\\Librarian.exe").c_str(),
              (oxtest::QueueInstallFolder() + "Librarian.exe").c_str(), FALSE);
  }
  void TearDown() override {
    if (HWND editor = Editor()) PostMessageW(editor, WM_CLOSE, 0, 0);
    EXPECT_TRUE(oxtest::WaitFor([] { return !evt::OxEditorRunning.IsSet(); }, 15000));
    oxtest::ResetQueueState();
  }
};

// The other process counts plays in place while the collection is saved over and over, each time
// in another order: every count and the last level of every record survive, and the file never
// loses or doubles a record.
TEST_F(LibrarianTest, SavesKeepEveryUpdateAnotherProcessMakes) {
  std::vector<TrackRecord> records;
  std::string arguments = "update 600";
  for (int i = 0; i < 12; ++i) {
    records.push_back(Record("C:\\Music\\" + std::to_string(i) + ".wav", "a"));
    arguments += " C:\\MUSIC\\" + std::to_string(i) + ".WAV";  // the player's path may differ in case
  }
  const std::string path = DefaultMusicCollectionFile();
  oxtest::WriteRecords(path, records);
  std::vector<SideEntry> side(records.size());

  oxtest::Process peer(oxtest::ExecutableFolder() + "librarian_peer.exe", arguments);
  ASSERT_TRUE(peer.Started());
  int rounds = 0;
  for (; rounds < 1000 || peer.Wait(0) == -1; ++rounds) {
    std::rotate(records.begin(), records.begin() + 1, records.end());
    ASSERT_TRUE(SaveCollection(path, records, side)) << rounds;
  }
  EXPECT_EQ(peer.Wait(0), 0);

  const std::vector<TrackRecord> saved = oxtest::ReadRecords<TrackRecord>(path);
  ASSERT_EQ(saved.size(), 12u);
  std::set<std::string> paths;
  uint32_t plays = 0;
  for (const TrackRecord& r : saved) {
    paths.insert(std::string(r.Path()));
    plays += r.timesPlayed;
    const int i = std::stoi(std::string(r.Path()).substr(9));
    EXPECT_EQ(r.volumeBoost, 500 + 588 + i) << r.Path();  // the last of the 600 updates of its path
  }
  EXPECT_EQ(paths.size(), 12u);
  EXPECT_EQ(plays, 600u) << "after " << rounds << " saves";
}

// The folder watch hands new files over while no editor runs: the editor is started, takes them,
// adds them to the collection, and leaves the hand-over file empty.
TEST_F(LibrarianTest, FolderWatchHandsFilesToTheEditor) {
  oxtest::ScratchFolder music;
  for (const char* name : {"one.wav", "two.wav", "three.wav"})
    oxtest::WriteWav(music / name, 8000, 1, std::vector<int16_t>(800, 100));
  EXPECT_EQ(ScanFolder(music.Path(), true, KnownPaths(), Codecs(),
                       [](const std::string& p) { AddFileToCollection(&p, true, 15000); }),
            3u);
  EXPECT_TRUE(evt::OxEditorRunning.IsSet());
  ASSERT_TRUE(oxtest::WaitFor(
      [] {
        return oxtest::ReadRecords<TrackRecord>(DefaultMusicCollectionFile()).size() == 3 &&
               oxtest::ReadWholeFile(AddToEditorFile()).empty();
      },
      20000));
  std::set<std::string> paths;
  for (const TrackRecord& r : oxtest::ReadRecords<TrackRecord>(DefaultMusicCollectionFile()))
    paths.insert(std::string(r.Path()));
  EXPECT_EQ(paths, (std::set<std::string>{music / "one.wav", music / "two.wav", music / "three.wav"}));
}

// Adding a folder reads every playable file below it; a re-scan re-reads a changed file (keeping its preference) and
// lists a vanished one, which "remove missing" then drops from the file.
TEST_F(LibrarianTest, AddFolderRescanAndRemoveMissing) {
  oxtest::ScratchFolder music;
  CreateDirectoryA((music / "sub").c_str(), nullptr);
  for (const char* name : {"a.wav", "sub\\b.wav", "sub\\c.wav"})
    oxtest::WriteWav(music / name, 8000, 1, std::vector<int16_t>(800, 100));
  oxtest::WriteWholeFile(music / "notes.txt", "not music");

  Library library;
  std::string message;
  ASSERT_TRUE(library.Open(DefaultMusicCollectionFile(), message));
  auto run = [&](ScanJob::Kind kind, std::vector<std::string> inputs) {
    auto job = std::make_unique<ScanJob>();
    job->kind = kind;
    job->inputs = std::move(inputs);
    ASSERT_TRUE(library.Start(std::move(job)));
    EXPECT_TRUE(oxtest::WaitFor([&] { return library.Collect() != nullptr; }, 30000));
    library.Flush();
  };
  const auto& records = library.Records();
  auto numberOf = [&](const std::string& name) {
    const auto at =
        std::find_if(records.begin(), records.end(), [&](const TrackRecord& r) { return r.Path() == music / name; });
    return static_cast<uint32_t>(at - records.begin());
  };
  run(ScanJob::Kind::AddFolders, {music.Path()});
  std::vector<TrackRecord> saved = oxtest::ReadRecords<TrackRecord>(DefaultMusicCollectionFile());
  ASSERT_EQ(saved.size(), 3u);
  const uint32_t number = numberOf("a.wav");
  ASSERT_LT(number, 3u);
  library.SetPreference({number}, 7);
  library.Flush();
  // The player counts a play in place (naming the file in other letter case); the editor's copy follows.
  std::string upper = music / "A.WAV";
  UpdateCollectionEntry(upper, true, 1234);
  ASSERT_TRUE(library.Refresh(upper));
  EXPECT_EQ(records[number].timesPlayed, 1u);
  EXPECT_EQ(records[number].volumeBoost, 1234);

  oxtest::WriteWav(music / "a.wav", 8000, 1, std::vector<int16_t>(1600, 100));
  DeleteFileA((music / "sub\\c.wav").c_str());
  run(ScanJob::Kind::Rescan, {});
  ASSERT_EQ(library.Missing().size(), 1u);
  EXPECT_EQ(records[library.Missing()[0]].Path(), music / "sub\\c.wav");
  EXPECT_EQ(records[number].lengthMs, 200u);
  EXPECT_EQ(records[number].preference, 7);

  // Taking another track out first leaves the missing one still known.
  ASSERT_EQ(library.Remove({numberOf("sub\\b.wav")}), 1u);
  ASSERT_EQ(library.Missing().size(), 1u);
  EXPECT_EQ(records[library.Missing()[0]].Path(), music / "sub\\c.wav");
  EXPECT_EQ(library.RemoveMissing(), 1u);
  library.Flush();
  saved = oxtest::ReadRecords<TrackRecord>(DefaultMusicCollectionFile());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].Path(), music / "a.wav");
  EXPECT_EQ(saved[0].preference, 7);
  EXPECT_EQ(saved[0].timesPlayed, 1u);
}

// A collection whose length is no whole number of records is shown but never rewritten.
TEST_F(LibrarianTest, DamagedCollectionIsNeverRewritten) {
  std::vector<uint8_t> bytes(2 * sizeof(TrackRecord) + 10, 0);
  const TrackRecord r = Record("C:\\x.wav", "x");
  std::memcpy(bytes.data(), &r, sizeof r);
  oxtest::WriteWholeFile(DefaultMusicCollectionFile(), bytes);
  Library library;
  std::string message;
  ASSERT_TRUE(library.Open(DefaultMusicCollectionFile(), message));
  EXPECT_NE(message.find("10 bytes"), std::string::npos) << message;
  EXPECT_EQ(library.Records().size(), 2u);
  EXPECT_TRUE(library.ReadOnly());
  library.SetPreference({0}, 3);
  EXPECT_FALSE(library.Save());
  EXPECT_EQ(oxtest::ReadWholeFile(DefaultMusicCollectionFile()), bytes);
}

// The player's button starts the editor, which lists the collection; a second start for selective
// play brings the same window to its selective view, where the selection of one artist becomes the
// list random play picks from (which the collection's own tests follow further).
TEST_F(LibrarianTest, ButtonStartsTheEditor_ItsSelectiveViewWritesTheSelection) {
  oxtest::WriteRecords(DefaultMusicCollectionFile(),
                       std::vector<TrackRecord>{Record("C:\\g.wav", "Gamma"), Record("C:\\a.wav", "Alpha"),
                                                Record("C:\\b.wav", "Beta")});
  RunButtonCommand("<MyMusicCollection>", 0);
  ASSERT_TRUE(oxtest::WaitFor([] { return evt::OxEditorRunning.IsSet() && Editor(); }, 15000));
  HWND editor = Editor();
  EXPECT_TRUE(
      oxtest::WaitFor([&] { return SendMessageW(GetDlgItem(editor, kTrackList), LVM_GETITEMCOUNT, 0, 0) == 3; }, 5000));

  StartSelectivePlay();
  HWND artists = GetDlgItem(editor, kArtistList);
  ASSERT_TRUE(oxtest::WaitFor([&] { return IsWindowVisible(artists) != 0; }, 10000));
  EXPECT_EQ(Editor(), editor);
  ASSERT_EQ(SendMessageW(artists, LB_GETCOUNT, 0, 0), 3);
  SendMessageW(artists, LB_SETSEL, TRUE, 1);  // Beta, in name order
  SendMessageW(GetDlgItem(editor, kApplyButton), BM_CLICK, 0, 0);
  ASSERT_TRUE(oxtest::WaitFor([] { return oxtest::ReadWholeFile(SelectivePlayListFile()).size() == 4; }, 5000));
  EXPECT_EQ(oxtest::ReadRecords<uint32_t>(SelectivePlayListFile()), std::vector<uint32_t>{2});  // record 2: Beta
  SendMessageW(GetDlgItem(editor, kClearButton), BM_CLICK, 0, 0);
  EXPECT_TRUE(oxtest::ReadWholeFile(SelectivePlayListFile()).empty());
}

}  // namespace
}  // namespace ox
