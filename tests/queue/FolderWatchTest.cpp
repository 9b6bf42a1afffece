// The folder watch on a scratch folder tree, with the codecs of the scratch installation.
#include "queue/FolderWatch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "base/Path.h"
#include "base/System.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "engine/CodecHost.h"

namespace ox {
namespace {

class FolderWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oxtest::ResetQueueState();
    for (const char* folder : {"sub", "ReCyClEr", "sub\\recycler"}) CreateFolders(root_ / folder);
    for (const char* file : {"a.mp3", "B.WAV", "sub\\c.mp3", "ReCyClEr\\x.mp3", "sub\\recycler\\y.wav", "notes.txt",
                             "held.mp3"})
      oxtest::WriteWholeFile(root_ / file, std::string("music"));
    oxtest::WriteWholeFile(root_ / "empty.mp3", std::string());
  }
  std::vector<std::string> Scan(const KnownPaths& known) {
    std::vector<std::string> found;
    ScanFolder(root_.Path(), true, known, Codecs(), [&](const std::string& path) { found.push_back(FileNameOf(path)); });
    std::sort(found.begin(), found.end());
    return found;
  }
  oxtest::ScratchFolder root_;
};

TEST_F(FolderWatchTest, NewPlayableFilesOnly_RecyclerSkipped_BusyAndEmptyFilesWaitForALaterScan) {
  KnownPaths known;
  known.Add(root_ / "A.MP3");  // in the collection under another letter case
  HANDLE held = CreateFileA((root_ / "held.mp3").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Scan(known), (std::vector<std::string>{"B.WAV", "c.mp3"}));
  CloseHandle(held);
  oxtest::WriteWholeFile(root_ / "empty.mp3", std::string("now music"));
  EXPECT_EQ(Scan(known), (std::vector<std::string>{"B.WAV", "c.mp3", "empty.mp3", "held.mp3"}));
  std::vector<std::string> flat;
  ScanFolder(root_.Path(), false, known, Codecs(), [&](const std::string& p) { flat.push_back(FileNameOf(p)); });
  EXPECT_EQ(flat.size(), 3u);  // without recursion: B.WAV, empty.mp3 and held.mp3
}

TEST_F(FolderWatchTest, ATriggerScansTheWatchedFolderOnAThreadAndHandsTheFilesToTheEditor) {
  SetTextSetting(root_.Path().c_str(), "FWFolderToWatch");
  SetNumberSetting(0, "FWRecurse");
  evt::OxTriggerFolderWatch.Set();
  FolderWatchTick(GetTickCount());
  EXPECT_FALSE(evt::OxTriggerFolderWatch.IsSet());
  ASSERT_TRUE(oxtest::WaitFor([] { return oxtest::ReadWholeFile(AddToEditorFile()).size() == 3 * 260; }, 10000));
  EXPECT_TRUE(evt::OxFileToAdd.IsSet());
  StopFolderWatch();
  SetTextSetting("", "FWFolderToWatch");
  EXPECT_EQ(ScanWatchedFolder(), 0u);  // no folder chosen: nothing is scanned
  DeleteSetting("FWFolderToWatch");
  DeleteSetting("FWRecurse");
  evt::OxFileToAdd.Reset();
}

}  // namespace
}  // namespace ox
