// The player's keys: the key table read from "Orp-KeyControl" beneath the settings key, the
// system-wide hotkeys registered on the taskbar window, and the key check every player window runs
// first. One process-wide object; the skin thread loads the table when evtReloadKeyMappings is set.
#pragma once

#include <windows.h>

#include <mutex>
#include <vector>

#include "ui/KeyMapping.h"
#include "core/SettingsTable.h"

namespace ox {

class KeyControl {
 public:
  // The table starts empty and evtReloadKeyMappings is raised, so the skin thread loads the
  // stored keys in its first cycle.
  KeyControl();
  ~KeyControl();

  // Drops the hotkeys registered before (and their atoms), reads the table and registers every
  // Alt-flagged key as Ctrl+Alt on `window`, with a global atom "Key<n>" as its id.
  void Load(HWND window);
  // WM_HOTKEY and WM_KEYUP: runs the action the key asks for; true when one did.
  bool Check(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void UnregisterAll();

  std::mutex lock_;
  KeyTable keys_{};
  HWND window_ = nullptr;
  std::vector<ATOM> atoms_;
};

KeyControl& Keys();

}  // namespace ox
