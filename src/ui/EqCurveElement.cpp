#include "ui/EqCurveElement.h"

#include <vector>

#include "engine/Equaliser.h"
#include "ui/ControlMath.h"
#include "ui/ElementDrawing.h"
#include "ui/Gdi.h"

namespace ox {

EqCurveElement::EqCurveElement(const SkinRecord& record, const SkinHeader& window)
    : design_{ElementRect(record.Header(), window), record.As<EqCurveRecord>().pen} {}

void EqCurveElement::Initialise() {
  saved_.Create(Width(design_.rect), Height(design_.rect));
  composition_.Create(Width(design_.rect), Height(design_.rect));
}

void EqCurveElement::Release() {
  saved_.Release();
  composition_.Release();
}

void EqCurveElement::Paint(HDC backBuffer, const EqPositions& positions) {
  if (saved_.IsEmpty()) return;
  SaveUnder(saved_, backBuffer, design_.rect);
  Render(nullptr, backBuffer, positions);
}

void EqCurveElement::Render(HWND window, HDC backBuffer, const EqPositions& positions) {
  const int32_t width = Width(design_.rect), height = Height(design_.rect);
  if (composition_.IsEmpty() || width <= 0) return;
  HDC dc = composition_.Dc();
  BitBlt(dc, 0, 0, width, height, saved_.Dc(), 0, 0, SRCCOPY);
  const std::vector<float> curve = EqCurve(positions, width);
  std::vector<POINT> points(curve.size());
  for (size_t i = 0; i < curve.size(); ++i) points[i] = {static_cast<LONG>(i), CurveY(curve[i], height)};
  {
    PenHolder pen(dc, design_.pen);
    if (points.size() >= 2) Polyline(dc, points.data(), static_cast<int>(points.size()));
  }
  BitBlt(backBuffer, design_.rect.left, design_.rect.top, width, height, dc, 0, 0, SRCCOPY);
  InvalidateElement(window, design_.rect);
}

}  // namespace ox
