// What every kind of skin element draws with: its bitmaps found by name in the skin folder, what
// lies under it in the window's back buffer, and the invalidation of its rectangle.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/Bitmap.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinRecords.h"

namespace ox {

// <folder><name>.bmp into `bitmap`; nothing for a name that names no bitmap.
inline void LoadSkinBitmap(Bitmap& bitmap, const std::string& folder, std::string_view name) {
  if (IsBitmapName(name)) bitmap.LoadFile(folder + std::string(name) + ".bmp");
}

// What lies under the element in the back buffer now, into `saved` (of the element's size).
inline void SaveUnder(Bitmap& saved, HDC backBuffer, const SkinRect& r) {
  if (!saved.IsEmpty()) BitBlt(saved.Dc(), 0, 0, Width(r), Height(r), backBuffer, r.left, r.top, SRCCOPY);
}

// The element's rectangle is to be repainted from the back buffer (no window: nothing to do).
inline void InvalidateElement(HWND window, const SkinRect& r) {
  if (!window) return;
  const RECT rect{r.left, r.top, r.right, r.bottom};
  InvalidateRect(window, &rect, FALSE);
}

}  // namespace ox
