// The skin manager's decisions that need no window: where a skin window keeps its settings, what
// its show condition names, the rectangle of a window group, a window's outline, and the random
// choice of a skin. Pure.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteSource.h"
#include "ui/SkinLimits.h"
#include "ui/SkinRecords.h"

namespace ox {

// The settings key of a skin window under HKEY_CURRENT_USER: "Software\Quillmarsh\Orlavox\Skin",
// the last three components of the skin folder (a folder inside the skins folder ends in a
// backslash, so these are "\Skins\<skin>\"), then the window's name.
std::string SkinWindowKey(std::string_view skinFolder, std::string_view windowName);

// The window class of a skin window: a fixed prefix and the window's name, so no skin can name a
// class of the system or of the player ("STATIC", the taskbar window's). At most 255 characters.
std::string SkinWindowClassName(std::string_view windowName);

enum class ShowCondition {
  Always,      // "[ShowAlways]"
  MainWindow,  // "<IsRillWindow>": the main player window, always shown
  Event,       // the name of a named event: shown while it is set
  Never,       // empty, or another "<...>" or "[...]"
};
ShowCondition ClassifyShowCondition(std::string_view condition);

// A rectangle in design coordinates, right and bottom exclusive.
struct SkinRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const SkinRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};
// The union of the header rectangles of the windows of one skin file (their x, y, width and height;
// an edge past the 32-bit range is held at its end). Empty for no windows.
SkinRect GroupBounds(const std::vector<SkinWindowRecords>& windows);

// A window outline: the points of a polygon, as a `.bin` file stores them (x and y signed 32-bit
// little-endian; a partial point at the end is ignored). At most kMaxOutlinePoints are taken, each
// coordinate clamped to +-kMaxSkinCoordinate.
struct SkinPoint {
  int32_t x, y;
};
std::vector<SkinPoint> ReadOutline(ByteSource& file);

// The size in pixels a BMP, GIF or JPEG picture declares in its header; nothing for anything else.
// Asked before a picture is decoded, so a header that claims a huge picture costs nothing.
struct PictureSize {
  int32_t width, height;
};
std::optional<PictureSize> SizeOfPicture(const uint8_t* bytes, size_t size);

// The random skin choice. candidates are the skins not excluded; draw(n) gives 0..n-1. Up to ten
// draws: the first candidate that differs from active is the choice, and the tenth draw is taken
// whatever it is. Empty when there is no candidate: the active skin stays.
std::string PickRandomSkin(const std::vector<std::string>& candidates, std::string_view active,
                           const std::function<int32_t(int32_t)>& draw);

// Whether the skin changes by itself on this skin check: with option 2 ("SkinChangeOpt"), on every
// 300th check, once more whole minutes than randomMinutes ("SkinRandomLen") have passed.
bool TimeForRandomSkin(uint32_t check, uint32_t option, uint32_t randomMinutes, uint32_t msSinceChange);

}  // namespace ox
