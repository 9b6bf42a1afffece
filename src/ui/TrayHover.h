// When the tray control pops up and goes away, as a pure state machine with the clock passed in.
// Resting the mouse on the tray icon (still for more than 50 ms, and not within 3000 ms of a right
// click) activates it; it stays while the mouse is on the icon or on the tray-control window and
// is deactivated 751 ms after the last sign of either. The tray window drives it: icon messages
// as they come, a tick every 250 ms.
#pragma once

#include <cstdint>

namespace ox {

struct TrayHover {
  bool active = false;
  bool hoverPending = false;
  int x = 0, y = 0;            // the cursor at the last move over the icon
  uint32_t hoverTime = 0;      // of the last move over the icon
  uint32_t activityTime = 0;   // of the last sign of the mouse on the icon or the tray control
  uint32_t showTime = 0;       // of the last right click

  explicit TrayHover(uint32_t now) : showTime(now - 3000) {}

  // The mouse moved over the icon.
  void MouseMove(int cursorX, int cursorY, uint32_t now);
  // A right click: no pop-up for 3000 ms. True when this deactivated the tray control.
  bool RightClick(uint32_t now);

  enum class Change { None, Activate, Deactivate };
  // The 250 ms tick: where the cursor is now, and whether it is over the tray-control window.
  Change Tick(int cursorX, int cursorY, bool overTrayControl, uint32_t now);
};

}  // namespace ox
