// The player's own tooltips: a light yellow box with a black frame and its text in "MS Sans Serif".
// Button tooltips come from a manager per button set with a thread of its own (a second of rest on
// a button); the track tooltip of a skin window shows the playing track's information after two
// seconds over one of its title fields, driven by the skin thread's 25 ms tick.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

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

// The tooltips of one skin window's buttons. Tools are added from the skin thread; the passes run
// every 50 ms on the thread that already follows the mouse over those buttons (the button set's),
// which owns the tooltip window and pumps its messages.
class TooltipManager {
 public:
  explicit TooltipManager(HWND parent, uint32_t delayMs = 1000) : parent_(parent), delayMs_(delayMs) {}
  TooltipManager(const TooltipManager&) = delete;
  TooltipManager& operator=(const TooltipManager&) = delete;

  void AddTool(HWND tool, std::string text);
  // One pass with the cursor where it is now (screen coordinates): shows the tooltip of the button
  // the mouse has rested on, hides it when the mouse left.
  void Pass(POINT cursor);
  // Whether a tooltip is up; whether the last pass found the cursor on a tool (its wait runs).
  bool Showing() const { return tip_.IsShown(); }
  bool OverTool() const { return overTool_; }
  // On the passing thread, before it ends: the tooltip window goes.
  void Close() { tip_.Destroy(); }

 private:
  struct Tool {
    HWND window;
    std::string text;
  };

  HWND parent_;
  uint32_t delayMs_;
  std::mutex lock_;
  std::vector<Tool> tools_;
  HWND current_ = nullptr;
  ButtonHover hover_;
  bool overTool_ = false;
  TooltipWindow tip_{TooltipKind::Button};
};

// The track tooltip of one skin window, on the skin thread.
class TrackTooltip {
 public:
  // The screen rectangles of the window's title fields (edges count as inside).
  void SetRectangles(std::vector<SkinRect> rectangles) { rectangles_ = std::move(rectangles); }
  // Every 25 ms while the window is visible and not minimised; cursorInside tells whether the
  // cursor is over the window (while it is elsewhere, no rest over a title field has begun).
  void Tick(HWND window, uint32_t now, bool cursorInside);
  void Destroy() { tip_.Destroy(); }

 private:
  std::vector<SkinRect> rectangles_;
  bool looked_ = false;  // the cursor was looked at, at lookedAt_
  uint32_t lookedAt_ = 0;
  TooltipWindow tip_{TooltipKind::Track};
  uint32_t hoverStart_ = 0;
  POINT shownAt_{};
};

}  // namespace ox
