// The player's icon in the notification area, on the main thread. Resting the mouse on it pops up
// the tray-control skin window (by evtOxTrayControl); a left click is the play button, a right
// click brings the player forward. Under "NoShowTray" there is neither icon nor window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>

#include "ui/TrayHover.h"
#include "ui/Window.h"

namespace ox {

constexpr const char* kTrayWindowClass = "Brisquet Digital Audio";
constexpr UINT kTrayCallbackMessage = WM_APP + 100;

class TrayIcon {
 public:
  // clock: milliseconds (Ticks() when empty).
  explicit TrayIcon(std::function<uint32_t()> clock = nullptr);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  HWND Handle() const { return window_.Handle(); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Answer(UINT message, LPARAM lParam);
  void Tick();
  void ShowIcon(DWORD operation, bool lit);
  void SetActive(bool active);
  uint32_t Now() const;

  std::function<uint32_t()> clock_;
  UINT restartMessage_ = 0;
  Window window_;
  TrayHover hover_;
};

}  // namespace ox
