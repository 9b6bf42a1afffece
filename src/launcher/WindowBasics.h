// Controls of the options program's windows laid out in 96-DPI units, with the system's message
// font at the window's DPI, moved and refitted when the DPI changes (WM_DPICHANGED).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/SiblingWindow.h"

namespace ox {

class DpiLayout {
 public:
  void SetDpi(UINT dpi);
  UINT Dpi() const { return dpi_; }
  int Px(int units) const { return ScaleToDpi(units, dpi_); }
  HFONT Font() const { return font_ ? font_->Handle() : nullptr; }
  // Places a control at a rectangle of 96-DPI units in its parent and gives it the font.
  HWND Place(HWND control, int x, int y, int width, int height);
  // After SetDpi: every placed control moved and given the new font.
  void Refit();

 private:
  struct Placed {
    HWND control;
    RECT units;
  };
  UINT dpi_ = 96;
  std::unique_ptr<MessageFont> font_;
  std::vector<Placed> placed_;
};

}  // namespace ox
