#include "ui/EqCurveElement.h"

#include <vector>

#include "engine/Equaliser.h"
#include "ui/ControlMath.h"
#include "ui/ElementDrawing.h"
#include "ui/Gdi.h"

namespace ox {

EqCurveElement::EqCurveElement(const SkinRecord& record, const SkinHeader& window)
    : spec_{ElementRect(record.Header(), window), record.As<EqCurveRecord>().pen} {}

void EqCurveElement::Initialise() {
  saved_.Create(Width(spec_.rect), Height(spec_.rect));
  composition_.Create(Width(spec_.rect), Height(spec_.rect));
}

void EqCurveElement::Release() {
  saved_.Release();
  composition_.Release();
}

void EqCurveElement::Paint(HDC backBuffer, const EqPositions& positions) {
  if (saved_.IsEmpty()) return;
  SaveUnder(saved_, backBuffer, spec_.rect);
  Render(nullptr, backBuffer, positions);
}

void EqCurveElement::Render(HWND window, HDC backBuffer, const EqPositions& positions) {
  const int32_t width = Width(spec_.rect), height = Height(spec_.rect);
  if (composition_.IsEmpty() || width <= 0) return;
  HDC dc = composition_.Dc();
  BitBlt(dc, 0, 0, width, height, saved_.Dc(), 0, 0, SRCCOPY);
  const std::vector<float> curve = EqCurve(positions, width);
  std::vector<POINT> points(curve.size());
  for (size_t i = 0; i < curve.size(); ++i) points[i] = {static_cast<LONG>(i), CurveY(curve[i], height)};
  {
    PenHolder pen(dc, spec_.pen);
    if (points.size() >= 2) Polyline(dc, points.data(), static_cast<int>(points.size()));
  }
  BitBlt(backBuffer, spec_.rect.left, spec_.rect.top, width, height, dc, 0, 0, SRCCOPY);
  InvalidateElement(window, spec_.rect);
}

}  // namespace ox
