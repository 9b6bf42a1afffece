// The arithmetic of the player's tooltips: where one goes on the desktop, when a button's shows,
// which text fields carry the track tooltip and when it stays. Pure.
#pragma once

#include <cstdint>

#include "ui/SkinRules.h"

namespace ox {

enum class TooltipKind { Button, Track };

// A tooltip of the text's size (measured in its font) for the cursor at (x, y): its padded size,
// 10 pixels above the cursor, pulled back inside the desktop's right and bottom edges. One that
// would start above the screen goes to y = 32 for a button (clear of the cursor) and y = 0 for
// the track tooltip; one left of it to x = 0.
SkinRect TooltipPlace(TooltipKind kind, int32_t cursorX, int32_t cursorY, int32_t textWidth, int32_t textHeight,
                      int32_t desktopRight, int32_t desktopBottom);

// A button's tooltip shows once the mouse has rested on that same button for more than the delay;
// the 50 ms pass gives the tool under the cursor (0: none).
struct ButtonHover {
  uintptr_t last = 0;
  uint32_t since = 0;
  // True when the tool's tooltip is due now.
  bool Pass(uintptr_t tool, uint32_t now, uint32_t delayMs);
};

// Text kinds that show the playing track's title or name: they carry the track tooltip.
bool IsTrackTitleKind(int32_t kind);

// The track tooltip shown with the cursor at (shownX, shownY) stays while the cursor keeps either
// coordinate: a move straight down or across keeps it, a diagonal one closes it.
inline bool KeepsTrackTooltip(int32_t shownX, int32_t shownY, int32_t x, int32_t y) {
  return x == shownX || y == shownY;
}

}  // namespace ox
