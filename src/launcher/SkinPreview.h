// A picture of a skin for the Skins page: the background of its player window (the window shown
// as "<IsRillWindow>", else the first of its first file), scaled into a box.
#pragma once

#include <windows.h>

#include <string>

namespace ox {

// A bitmap of at most width x height pixels, the picture's proportions kept; null when the skin
// has no such window or its bitmap cannot be read. The caller deletes it.
HBITMAP SkinPreview(const std::string& skin, int width, int height);

}  // namespace ox
