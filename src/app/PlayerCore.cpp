#include "app/PlayerCore.h"

#include <windows.h>

#include "app/PlayerControl.h"
#include "base/Handle.h"
#include "base/System.h"
#include "base/Ticks.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "queue/FolderWatch.h"

namespace ox {

namespace {

constexpr DWORD kSaveEveryMs = 900000;

}  // namespace

PlayerCore::PlayerCore() {
  thread_ = std::make_unique<WorkerThread>(CoreThread, 0, true);
  outputs_ = std::make_unique<SoundOutputHost>(SoundOutputFolder());
  uint32_t volume = ReadNumber(setting::OxVolume);
  volume = (volume == 0 ? 101 : volume) - 1;  // the setting holds the volume plus one
  block::OxVolume.WriteValue(volume);
  uint32_t balance = ReadNumber(setting::OxBalance);
  if (balance == 0) balance = 50;
  block::OxBalance.WriteValue(balance);
  thread_->SetArgument(reinterpret_cast<uintptr_t>(this));
  thread_->Resume();
  thread_->SetPriority(THREAD_PRIORITY_ABOVE_NORMAL);

  const struct {
    const Setting& setting;
    const char* program;
  } siblings[] = {{setting::MmcStart, "librarian.exe"}, {setting::PrevPlayedAtStart, "history.exe"},
                  {setting::PlaylistAtStart, "queuer.exe"}};
  for (const auto& s : siblings)
    if (ReadNumber(s.setting) != 0) RunProgram("\"" + InstallFolder(false) + s.program + "\"");
  if (ReadNumber(setting::FWSchedule) == 1) evt::OxTriggerFolderWatch.Set();
}

PlayerCore::~PlayerCore() {
  thread_->Stop(true);
  outputs_.reset();
  thread_.reset();
}

uint32_t PlayerCore::CoreThread(WorkerThread& self) {
  auto* core = reinterpret_cast<PlayerCore*>(self.Argument());
  // Loaded, never called: the suite's key control sits beside the player on NT systems.
  const UniqueModule keyControl(IsNtFamily() ? LoadLibraryA((InstallFolder(false) + "OrpKeyControl.dll").c_str()) : nullptr);
  {
    PlayerControl control(core->outputs_.get());
    uint32_t lastSave = Ticks();
    while (!self.StopRequested()) {
      control.Reap();
      if (evt::OxClose.IsSet()) break;
      control.Step();
      const uint32_t now = Ticks();
      FolderWatchTick(now);
      if (TicksSince(lastSave, now) > kSaveEveryMs) {
        lastSave = now;
        SaveState();
      }
      control.Reap();
      Sleep(50);
      control.Reap();
      Sleep(50);
    }
    StopFolderWatch();
    SaveState();
  }  // PlayerControl ends both players and clears the playing track
  return 0;
}

}  // namespace ox
