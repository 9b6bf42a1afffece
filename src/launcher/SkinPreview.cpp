#include "launcher/SkinPreview.h"

#include <algorithm>
#include <new>

#include "base/Text.h"
#include "core/Locations.h"
#include "ui/Bitmap.h"
#include "ui/SkinManager.h"

namespace ox {
namespace {

// The base name of the player window's background bitmap; empty when there is none.
std::string PlayerBitmapName(const std::string& skin) {
  try {
    const LoadedSkin loaded = LoadSkinFolder(skin, SkinsFolder() + skin + "\\");
    std::string first;
    for (const auto& group : loaded.groups) {
      for (const auto& window : group->windows) {
        const WindowRecord& record = window->Record();
        const std::string name(FieldText(record.bitmap));
        if (first.empty()) first = name;
        if (FieldText(record.showCondition) == "<IsRillWindow>") return name;
      }
    }
    return first;
  } catch (const std::bad_alloc&) {
    return {};
  }
}

}  // namespace

HBITMAP SkinPreview(const std::string& skin, int width, int height) {
  const std::string name = PlayerBitmapName(skin);
  Bitmap picture;
  if (name.empty() || name == "Not Set" || !picture.LoadFile(SkinsFolder() + skin + "\\" + name + ".bmp") ||
      picture.Width() <= 0 || picture.Height() <= 0)
    return nullptr;
  // Never larger than the picture itself; smaller by one factor for both sides.
  const double scale = std::min({1.0, double(width) / picture.Width(), double(height) / picture.Height()});
  const int w = std::max(1, int(picture.Width() * scale)), h = std::max(1, int(picture.Height() * scale));
  HDC screen = GetDC(nullptr);
  HBITMAP preview = CreateCompatibleBitmap(screen, w, h);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, preview);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, 0, 0, w, h, picture.Dc(), 0, 0, picture.Width(), picture.Height(), SRCCOPY);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return preview;
}

}  // namespace ox
