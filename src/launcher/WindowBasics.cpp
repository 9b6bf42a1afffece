#include "launcher/WindowBasics.h"

namespace ox {

void DpiLayout::SetDpi(UINT dpi) {
  dpi_ = dpi ? dpi : 96;
  font_ = std::make_unique<MessageFont>(dpi_);
}

HWND DpiLayout::Place(HWND control, int x, int y, int width, int height) {
  if (!control) return nullptr;
  placed_.push_back({control, {x, y, x + width, y + height}});
  MoveWindow(control, Px(x), Px(y), Px(width), Px(height), FALSE);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  return control;
}

void DpiLayout::Refit() {
  for (const Placed& p : placed_) {
    MoveWindow(p.control, Px(p.units.left), Px(p.units.top), Px(p.units.right - p.units.left),
               Px(p.units.bottom - p.units.top), TRUE);
    SendMessageW(p.control, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
  }
}

}  // namespace ox
