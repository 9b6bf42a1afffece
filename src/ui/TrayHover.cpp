#include "ui/TrayHover.h"

namespace ox {
namespace {

// Milliseconds from `then` to `now` on the wrapping 32-bit tick count.
uint32_t Since(uint32_t then, uint32_t now) { return now - then; }

}  // namespace

void TrayHover::MouseMove(int cursorX, int cursorY, uint32_t now) {
  x = cursorX, y = cursorY;
  if (!active) hoverTime = now, hoverPending = true;
}

bool TrayHover::RightClick(uint32_t now) {
  showTime = now;
  const bool was = active;
  active = false;
  return was;
}

TrayHover::Change TrayHover::Tick(int cursorX, int cursorY, bool overTrayControl, uint32_t now) {
  const bool still = cursorX == x && cursorY == y;
  if (hoverPending && !active) {
    if (!still) {
      hoverPending = false;
    } else if (Since(hoverTime, now) > 50 && Since(showTime, now) > 3000) {
      hoverPending = false;
      active = true;
      activityTime = now;
      return Change::Activate;
    }
  }
  if (!active) return Change::None;
  if (overTrayControl || still) activityTime = now;
  if (Since(activityTime, now) >= 751) {
    active = false;
    return Change::Deactivate;
  }
  return Change::None;
}

}  // namespace ox
