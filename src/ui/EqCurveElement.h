// An equaliser curve element: the curve of the equaliser positions for display, drawn as a line in
// the element's pen colour over what lies under it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/SharedRecords.h"
#include "ui/Bitmap.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinRecords.h"

namespace ox {

class EqCurveElement {
 public:
  EqCurveElement(const SkinRecord& record, const SkinHeader& window);
  EqCurveElement(const EqCurveElement&) = delete;
  EqCurveElement& operator=(const EqCurveElement&) = delete;

  void Initialise();
  void Release();

  // The full repaint: takes what lies under it as its background and draws the curve.
  void Paint(HDC backBuffer, const EqPositions& positions);
  // Draws the curve again (after a band changed) and invalidates the element.
  void Render(HWND window, HDC backBuffer, const EqPositions& positions);

 private:
  struct Design {
    SkinRect rect;
    uint32_t pen = 0;
  };
  const Design design_;
  Bitmap saved_, composition_;
};

}  // namespace ox
