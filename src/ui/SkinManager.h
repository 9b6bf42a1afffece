// The skin manager: the installed skins, the skin loaded now, the random choice of a skin, and the
// skin thread that makes, shows, closes and pumps the skin windows. A skin is a folder under the
// skins folder; every `.skin` file in it gives one group of windows that place, show and stack
// against the group's first window, independently of the other files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/NamedEvent.h"
#include "base/WorkerThread.h"
#include "core/SettingsTable.h"
#include "ui/SkinWindow.h"
#include "ui/TaskbarWindow.h"

namespace ox {

// Held for every walk over skin windows and their elements, by the skin thread and by the windows'
// procedures (which run on the same thread: hence recursive).
std::recursive_mutex& SkinLock();

// Work the skin thread does for other parts of the player. Empty ones leave their event set.
struct SkinHooks {
  std::function<void(HWND owner)> showOpenMusic;  // "evtShowOpenMusic": the open-files dialog
  std::function<void(HWND)> reloadKeyMappings;    // "evtReloadKeyMappings": the hotkeys, on the taskbar window
  std::function<bool()> takeRefresh;              // the core thread's refresh flag, taken (cleared)
};

struct SkinManagerOptions {
  std::string skinsFolder;    // with a trailing backslash
  SkinHooks hooks;
  uint32_t (*clock)() = nullptr;  // milliseconds; null: Ticks()
  bool startThread = true;        // without: the owner calls SkinCheck and AnimationTick itself
  void (*report)(const char* line) = nullptr;  // a skin that cannot be loaded; null: the debugger output
};

// A skin folder loaded: its name and one window group per skin file.
struct LoadedSkin {
  std::string name;
  std::string folder;
  std::vector<std::unique_ptr<SkinGroup>> groups;
};

// Reads the skin files of a folder (folder with its trailing backslash), at most kMaxSkinFiles of
// them, each held to the bounds of ReadSkinFile. Files that cannot be opened give nothing; no
// window is made. May throw std::bad_alloc.
LoadedSkin LoadSkinFolder(const std::string& name, const std::string& folder);

class SkinManager {
 public:
  // Lists the skins, picks a random one unless "SkinChangeOpt" is 1, asks for the active skin to be
  // loaded (evtOxNewSkin) and starts the skin thread.
  explicit SkinManager(SkinManagerOptions options);
  // Stops the thread, which destroys every window it made.
  ~SkinManager();
  SkinManager(const SkinManager&) = delete;
  SkinManager& operator=(const SkinManager&) = delete;

  // The installed skins, in the order the folder gave them.
  const std::vector<std::string>& SkinNames() const { return names_; }
  // The random choice: writes "[SetActive]" and sets evtOxNewSkin.
  void ChooseRandomSkin();

  // One skin check of the skin thread: the timed skin change, a new skin, the windows that are to
  // appear or go, the player window brought up, the refresh, and the events served for others.
  // A skin that cannot be loaded (no window in it, or it runs out of memory while it is read or its
  // windows are made) is reported once and left: the skin loaded before stays, or, with none, the
  // first other skin that loads ("Default" first) takes its place.
  void SkinCheck();
  // The 25 ms tick: animation of the shown windows, then the thread's messages.
  void AnimationTick();
  // Destroys every window of the loaded skin, last first in each group, and forgets the skin.
  void Unload();

  std::string LoadedSkinName() const;
  // The windows made now, group by group.
  std::vector<HWND> CreatedWindows() const;

 private:
  static uint32_t ThreadMain(WorkerThread& self);
  // The events others set for the skin thread to serve once (it waits on them).
  std::vector<const NamedEvent*> Requests() const;
  // A skin check; askRequests false when the thread's wait has shown that none of them is set.
  void Check(bool askRequests);
  uint32_t Now() const;
  void LoadActiveSkin();
  // Loads skin `index` in place of the loaded one; false, the loaded one kept, when it gives no
  // window or cannot be read.
  bool Switch(size_t index);
  // After a skin failed: the one before it, else "Default", else the first that loads.
  void FallBack();
  void Report(const std::string& line) const;
  void UpdateWindows();
  void UpdateWindowsOnce();
  void ShowPlayer();
  void Refresh();

  SkinManagerOptions options_;
  std::vector<std::string> names_;
  std::vector<std::string> folders_;
  uint32_t lastChange_ = 0;
  uint32_t checks_ = 0;
  bool busy_ = true;  // a window has something moving at the 25 ms pace
  bool mouseOverTray_ = false;  // as last told through evtOxMouseOverTray
  LoadedSkin skin_;
  std::string previous_;              // the skin loaded before skin_, to go back to
  std::vector<std::string> failed_;   // skins that failed since the last request: not tried again
  TaskbarWindow taskbar_;
  std::unique_ptr<WorkerThread> thread_;
};

}  // namespace ox
