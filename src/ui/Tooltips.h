// The player's own tooltips: a light yellow box with a black frame and its text in "MS Sans Serif".
// Button tooltips come from a manager per button set with a thread of its own (a second of rest on
// a button); the track tooltip of a skin window shows the playing track's information after two
// seconds over one of its title fields, driven by the skin thread's 25 ms tick.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/WorkerThread.h"
#include "ui/TooltipMath.h"
#include "ui/Window.h"

namespace ox {

// One tooltip window, made hidden on the thread that shows it. Its text is its title.
class TooltipWindow {
 public:
  explicit TooltipWindow(TooltipKind kind) : kind_(kind) {}
  bool Create();
  // Takes the text (an empty one keeps the last), sizes and places the box for the cursor, shows
  // it without taking the focus from anyone.
  void Show(const std::string& text, POINT cursor);
  void Hide() { window_.Hide(); }
  void Destroy() { window_.Destroy(); }
  bool IsShown() const { return window_ && IsWindowVisible(window_.Handle()); }
  HWND Handle() const { return window_.Handle(); }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  TooltipKind kind_;
  Window window_;
};

// The tooltips of one skin window's buttons. Tools are added from the skin thread; the manager's
// thread starts with the first.
class TooltipManager {
 public:
  explicit TooltipManager(HWND parent, uint32_t delayMs = 1000) : parent_(parent), delayMs_(delayMs) {}
  ~TooltipManager();
  TooltipManager(const TooltipManager&) = delete;
  TooltipManager& operator=(const TooltipManager&) = delete;

  void AddTool(HWND tool, std::string text);

 private:
  struct Tool {
    HWND window;
    std::string text;
  };
  static uint32_t Run(WorkerThread& self);
  void Pass(TooltipWindow& tip);

  HWND parent_;
  uint32_t delayMs_;
  std::mutex lock_;
  std::vector<Tool> tools_;
  HWND current_ = nullptr;
  ButtonHover hover_;
  std::unique_ptr<WorkerThread> thread_;
};

// The track tooltip of one skin window, on the skin thread.
class TrackTooltip {
 public:
  // The screen rectangles of the window's title fields (edges count as inside).
  void SetRectangles(std::vector<SkinRect> rectangles) { rectangles_ = std::move(rectangles); }
  // Every 25 ms while the window is visible and not minimised.
  void Tick(HWND window, uint32_t now);
  void Destroy() { tip_.Destroy(); }

 private:
  std::vector<SkinRect> rectangles_;
  TooltipWindow tip_{TooltipKind::Track};
  uint32_t hoverStart_ = 0;
  POINT shownAt_{};
};

}  // namespace ox
