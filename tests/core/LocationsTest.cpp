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

std::string UserName() {
  char name[260];
  DWORD size = sizeof name;
  return GetUserNameA(name, &size) ? name : "defuser";
}

// Runs "locations" in a copy of the peer placed at exePath, asking for the registry's folder first;
// gives the two lines it writes.
std::pair<std::string, std::string> LocationsFrom(const oxtest::ScratchFolder& dir, const std::string& exePath) {
  CreateFolders(exePath.substr(0, exePath.rfind('\\')));
  EXPECT_TRUE(CopyFileA(oxtest::PeerPath().c_str(), exePath.c_str(), FALSE));
  const std::string out = dir / "locations.txt";
  EXPECT_EQ(oxtest::RunAndWait(exePath, "locations \"" + out + "\" 1"), 0);
  const std::string text = oxtest::ReadText(out);
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

// A process that asks for the registry's folder first gets it; its user files lie beside it.
TEST_F(LocationsTest, FolderFromTheRegistry_UserFilesBesideIt) {
  SetTextSetting("D:\\Suite", "InstalledTo", HKEY_CURRENT_USER, kSettingsKey);
  const auto [folder, base] = LocationsFrom(dir_, dir_ / "elsewhere\\tool.exe");
  EXPECT_EQ(folder, "D:\\Suite\\");
  EXPECT_EQ(base, "D:\\Suite\\" + UserName());  // no separator between folder and user name
}

TEST_F(LocationsTest, InThisProcess_TheFirstAnswerIsKept) {
  const std::string folder = InstallFolder(false);
  std::string upper = oxtest::ExecutableFolder();
  CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  EXPECT_EQ(folder, upper);
  SetTextSetting("D:\\Other\\", "InstalledTo", HKEY_CURRENT_USER, kSettingsKey);
  EXPECT_EQ(InstallFolder(true), folder);
  DeleteSetting("ActiveMusicCollection", HKEY_CURRENT_USER, kSettingsKey);
  EXPECT_EQ(ActiveMusicCollection(), folder + UserName() + ".mcc");
  SetTextSetting("E:\\Jazz.mcc", "ActiveMusicCollection", HKEY_CURRENT_USER, kSettingsKey);
  EXPECT_EQ(ActiveMusicCollection(), "E:\\Jazz.mcc");
  DeleteSetting("ActiveMusicCollection", HKEY_CURRENT_USER, kSettingsKey);
}

TEST_F(LocationsTest, EnsureRunning_StartsThePlayerOnce) {
  evt::OxRillRunning.Reset();
  NamedEvent quit("evtOxTestStandInQuit");
  quit.Reset();

  // A stand-in player in the folder "InstalledTo" names: started, and reported running. (A missing
  // one is not waited for: see the collection editor's start.)
  const std::string suite = dir_ / "Suite Folder";
  CreateFolders(suite);
  ASSERT_TRUE(CopyFileA(oxtest::PeerPath().c_str(), (suite + "\\rill.exe").c_str(), FALSE));
  SetTextSetting(suite.c_str(), "InstalledTo", HKEY_CURRENT_USER, kSettingsKey);
  EXPECT_EQ(oxtest::RunAndWait(oxtest::PeerPath(), "ensure-running 20000"), 1);
  EXPECT_TRUE(evt::OxRillRunning.IsSet());

  // While one runs, nothing more is started.
  EXPECT_EQ(oxtest::RunAndWait(oxtest::PeerPath(), "ensure-running 0"), 1);
  quit.Set();
  EXPECT_TRUE(oxtest::WaitFor([] { return !evt::OxRillRunning.IsSet(); }, 5000));
  // The stand-in exits before the scratch folder goes.
  EXPECT_TRUE(oxtest::WaitFor([&] { return DeleteFileA((suite + "\\rill.exe").c_str()) != 0; }, 5000));
}

}  // namespace
}  // namespace ox
