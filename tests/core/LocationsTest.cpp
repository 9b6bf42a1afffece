// The installation folder depends on what the process asked first, so most cases run in a fresh
// peer process, copied to the folder under test.
#include "core/Locations.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "TestSupport.h"
#include "base/System.h"
#include "core/EnsureRunning.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"

namespace ox {
namespace {

std::string UpperCase(std::string s) {
  CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

std::string UserName() {
  char name[260];
  DWORD size = sizeof name;
  return GetUserNameA(name, &size) ? name : "defuser";
}

// Runs "locations" in a copy of the peer placed at exePath; gives the two lines it writes.
std::pair<std::string, std::string> LocationsFrom(const oxtest::ScratchFolder& dir, const std::string& exePath,
                                                  bool fromRegistry) {
  CreateFolders(exePath.substr(0, exePath.rfind('\\')));
  EXPECT_TRUE(CopyFileA(oxtest::PeerPath().c_str(), exePath.c_str(), FALSE));
  const std::string out = dir / "locations.txt";
  EXPECT_EQ(oxtest::RunAndWait(exePath, "locations \"" + out + "\" " + (fromRegistry ? "1" : "0")), 0);
  const std::vector<uint8_t> bytes = oxtest::ReadWholeFile(out);
  const std::string text(bytes.begin(), bytes.end());
  const size_t split = text.find('\n');
  if (split == std::string::npos) return {};
  return {text.substr(0, split), text.substr(split + 1, text.size() - split - 2)};
}

// Keeps "InstalledTo" as it was around a test that changes it.
class LocationsTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = GetTextSetting("InstalledTo", 260, HKEY_CURRENT_USER, kSettingsKey); }
  void TearDown() override { SetTextSetting(saved_.c_str(), "InstalledTo", HKEY_CURRENT_USER, kSettingsKey); }
  oxtest::ScratchFolder dir_;
  std::string saved_;
};

TEST_F(LocationsTest, FromTheExecutable_UpperCaseFolderOfItsPath) {
  const auto [folder, base] = LocationsFrom(dir_, dir_ / "Apps\\Player\\rill.exe", false);
  EXPECT_EQ(folder, UpperCase(dir_ / "Apps\\Player\\"));
  EXPECT_EQ(base, folder + UserName());  // no separator between folder and user name
}

TEST_F(LocationsTest, FromASourceCodeTree_TheFixedFolder) {
  const auto [folder, base] = LocationsFrom(dir_, dir_ / "my source code\\bin\\rill.exe", false);
  EXPECT_EQ(folder, "c:\\Program files\\Quillmarsh\\Orlavox\\");
}

TEST_F(LocationsTest, FromTheRegistry_WhenTheFirstRequestAsksForIt) {
  SetTextSetting("D:\\Suite", "InstalledTo", HKEY_CURRENT_USER, kSettingsKey);
  const auto [folder, base] = LocationsFrom(dir_, dir_ / "elsewhere\\tool.exe", true);
  EXPECT_EQ(folder, "D:\\Suite\\");
  EXPECT_EQ(base, "D:\\Suite\\" + UserName());
}

TEST_F(LocationsTest, InThisProcess_TheFirstAnswerIsKept) {
  const std::string folder = InstallFolder(false);
  EXPECT_EQ(folder, UpperCase(oxtest::ExecutableFolder()));
  SetTextSetting("D:\\Other\\", "InstalledTo", HKEY_CURRENT_USER, kSettingsKey);
  EXPECT_EQ(InstallFolder(true), folder);
  const std::string base = folder + UserName();
  EXPECT_EQ(QueueFile(), base + ".Enqued");
  EXPECT_EQ(PriorityQueueFile(), base + ".PriorityEnqued");
  EXPECT_EQ(HistoryFile(), base + ".Previously Played");
  EXPECT_EQ(SelectivePlayListFile(), base + ".ovc");
  EXPECT_EQ(AddToEditorFile(), base + ".AddToEditor");
  EXPECT_EQ(CodecFolder(), folder + "Multiplayer\\Input\\");
  EXPECT_EQ(SoundOutputFolder(), folder + "SoundOutputs\\");
  EXPECT_EQ(VisualOutputFolder(), folder + "Visual Outputs\\");
  EXPECT_EQ(SkinsFolder(), folder + "Skins\\");

  DeleteSetting("ActiveMusicCollection", HKEY_CURRENT_USER, kSettingsKey);
  EXPECT_EQ(ActiveMusicCollection(), base + ".mcc");
  SetTextSetting("E:\\Jazz.mcc", "ActiveMusicCollection", HKEY_CURRENT_USER, kSettingsKey);
  EXPECT_EQ(ActiveMusicCollection(), "E:\\Jazz.mcc");
  DeleteSetting("ActiveMusicCollection", HKEY_CURRENT_USER, kSettingsKey);
}

TEST_F(LocationsTest, EnsureRunning_StartsThePlayerOnceAndGivesUpOnAMissingOne) {
  evt::OxRillRunning.Reset();
  NamedEvent quit("evtOxTestStandInQuit");
  quit.Reset();

  // No player in the folder "InstalledTo" names: nothing to wait for.
  SetTextSetting((dir_ / "empty").c_str(), "InstalledTo", HKEY_CURRENT_USER, kSettingsKey);
  const DWORD start = GetTickCount();
  EXPECT_EQ(oxtest::RunAndWait(oxtest::PeerPath(), "ensure-running 20000"), 0);
  EXPECT_LT(GetTickCount() - start, 10000u);

  // A stand-in player there: started, and reported running.
  const std::string suite = dir_ / "Suite Folder";
  CreateFolders(suite);
  ASSERT_TRUE(CopyFileA(oxtest::PeerPath().c_str(), (suite + "\\rill.exe").c_str(), FALSE));
  SetTextSetting(suite.c_str(), "InstalledTo", HKEY_CURRENT_USER, kSettingsKey);
  EXPECT_EQ(oxtest::RunAndWait(oxtest::PeerPath(), "ensure-running 20000"), 1);
  EXPECT_TRUE(evt::OxRillRunning.IsSet());

  // While one runs, nothing more is started.
  EXPECT_EQ(oxtest::RunAndWait(oxtest::PeerPath(), "ensure-running 0"), 1);
  quit.Set();
  for (int i = 0; i < 100 && evt::OxRillRunning.IsSet(); ++i) Sleep(50);
  EXPECT_FALSE(evt::OxRillRunning.IsSet());
  Sleep(200);  // let the stand-in exit before the scratch folder goes
}

}  // namespace
}  // namespace ox
