#include "ui/TooltipMath.h"

namespace ox {

SkinRect TooltipPlace(TooltipKind kind, int32_t cursorX, int32_t cursorY, int32_t textWidth, int32_t textHeight,
                      int32_t desktopRight, int32_t desktopBottom) {
  const bool button = kind == TooltipKind::Button;
  const int32_t width = textWidth + (button ? 6 : 54), height = textHeight + (button ? 4 : 8);
  int32_t x = cursorX, y = cursorY - height - 10;
  if (x < 0) x = 0;
  if (y < 0) y = button ? 32 : 0;
  if (x + width > desktopRight) x = desktopRight - width;
  if (y + height > desktopBottom) y = desktopBottom - height;
  return {x, y, x + width, y + height};
}

bool ButtonHover::Pass(uintptr_t tool, uint32_t now, uint32_t delayMs) {
  if (!tool) {
    since = now;
    return false;
  }
  if (tool != last) {
    last = tool;
    since = now;
    return false;
  }
  return now - since > delayMs;
}

bool IsTrackTitleKind(int32_t kind) {
  switch (kind) {
    case 0: case 8: case 9: case 10: case 11: case 12: case 14: return true;
    default: return false;
  }
}

}  // namespace ox
