#include "ScratchInstallation.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "TestSupport.h"
#include "base/System.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "core/TrackRecord.h"

namespace oxtest {

namespace {

class QueueEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    savedInstalledTo_ = ox::GetTextSetting("InstalledTo", 260, HKEY_CURRENT_USER, ox::kSettingsKey);
    savedCollection_ = ox::GetTextSetting("ActiveMusicCollection", 260, HKEY_CURRENT_USER, ox::kSettingsKey);
    folder_ = new ScratchFolder;
    ox::SetTextSetting(folder_->Path().c_str(), "InstalledTo", HKEY_CURRENT_USER, ox::kSettingsKey);
    ox::DeleteSetting("ActiveMusicCollection", HKEY_CURRENT_USER, ox::kSettingsKey);
    // The shipped codecs, for the records the queue completes.
    const std::string codecs = folder_->Path() + "Multiplayer\\Input\\";
    ox::CreateFolders(codecs);
    for (const char* dll : {"WAV.dll", "MP3.dll"})
      CopyFileA((ExecutableFolder() + "..\\dist\\Multiplayer\\Input\\" + dll).c_str(), (codecs + dll).c_str(), FALSE);
    ASSERT_EQ(ox::InstallFolder(true), folder_->Path());
    // A player "runs", so that play requests start none.
    ox::evt::OxRillRunning.Set();
  }
  void TearDown() override {
    ox::evt::OxRillRunning.Reset();
    ox::SetTextSetting(savedInstalledTo_.c_str(), "InstalledTo", HKEY_CURRENT_USER, ox::kSettingsKey);
    ox::SetTextSetting(savedCollection_.c_str(), "ActiveMusicCollection", HKEY_CURRENT_USER, ox::kSettingsKey);
    delete folder_;
  }
  static ScratchFolder* folder_;

 private:
  std::string savedInstalledTo_, savedCollection_;
};

ScratchFolder* QueueEnvironment::folder_ = nullptr;
::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new QueueEnvironment);

}  // namespace

const std::string& QueueInstallFolder() { return QueueEnvironment::folder_->Path(); }

void ResetQueueState() {
  for (const std::string& file : {ox::QueueFile(), ox::PriorityQueueFile(), ox::HistoryFile(),
                                  ox::DefaultMusicCollectionFile(), ox::SelectivePlayListFile(), ox::AddToEditorFile()})
    DeleteFileA(file.c_str());
  const ox::TrackRecord empty{};
  ox::block::OxTrackShouldPlay.WriteValue(empty);
  const uint32_t longAgo = GetTickCount() - 60000;
  ox::block::OxMPLastSetTSP.WriteValue(longAgo);
  const ox::TrackTime time{};
  ox::block::OxTrackTime.WriteValue(time);
  ox::evt::OxMyMusicRandom.Reset();
  ox::evt::OxPlay.Reset();
  ox::evt::OxPause.Reset();
  ox::evt::OxSkip.Reset();
}

ox::TrackRecord PathRecord(const std::string& path) {
  ox::TrackRecord r{};
  ox::CopyBounded(r.path, path);
  return r;
}

}  // namespace oxtest
