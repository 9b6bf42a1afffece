#include "ui/SliderElement.h"

#include <algorithm>

#include "core/NamedObjects.h"
#include "ui/ElementDrawing.h"

namespace ox {

SliderElement::Design SliderElement::DesignOf(const SkinRecord& record, const SkinHeader& window) {
  const SliderRecord slider = record.As<SliderRecord>();
  Design s;
  s.rect = ElementRect(slider.header, window);
  s.vertical = slider.orientation != 0;
  s.source = slider.source;
  s.track = std::string(FieldText(slider.track));
  s.knob = std::string(FieldText(slider.knob));
  s.fill = std::string(FieldText(slider.fill));
  return s;
}

SliderElement::SliderElement(const SkinRecord& record, const SkinHeader& window) : design_(DesignOf(record, window)) {}

void SliderElement::Load(const std::string& folder) {
  LoadSkinBitmap(track_, folder, design_.track);
  LoadSkinBitmap(knob_, folder, design_.knob);
  LoadSkinBitmap(fill_, folder, design_.fill);
}

void SliderElement::Release() {
  track_.Release();
  knob_.Release();
  fill_.Release();
  value_ = -1;
  times_.dragging = false;
}

void SliderElement::Paint(HDC backBuffer, const Bitmap& background, const SliderSources& sources) {
  if (!times_.dragging) value_ = SliderValue(design_.source, sources);
  Draw(backBuffer, background);
}

bool SliderElement::Read(int32_t value, uint32_t now, HWND window, HDC backBuffer, const Bitmap& background) {
  times_.read = {true, now};
  if (value == value_) return false;
  value_ = value;
  Redraw(window, backBuffer, background);
  return true;
}

int32_t SliderElement::ValueAt(int32_t x, int32_t y) const {
  const int32_t size = design_.vertical ? track_.Height() : track_.Width();
  const int64_t d = design_.vertical ? int64_t{y} - design_.rect.top : int64_t{x} - design_.rect.left;
  return SliderValueAt(static_cast<int32_t>(std::clamp<int64_t>(d, -1, int64_t{size} + 1)), size, design_.vertical);
}

bool SliderElement::StartDrag(int32_t x, int32_t y, HWND window, HDC backBuffer, const Bitmap& background) {
  times_.dragging = true;
  SetCapture(window);
  const bool band = Set(ValueAt(x, y));
  Redraw(window, backBuffer, background);
  return band;
}

bool SliderElement::DragTo(int32_t x, int32_t y, HWND window, HDC backBuffer, const Bitmap& background) {
  const int32_t value = ValueAt(x, y);
  if (value == value_) return false;
  const bool band = Set(value);
  Redraw(window, backBuffer, background);
  return band;
}

void SliderElement::EndDrag(uint32_t now) {
  times_.dragging = false;
  times_.released = {true, now};
}

bool SliderElement::Set(int32_t value) {
  value_ = value;
  EqPositions eq{};
  if (design_.source >= int32_t(SliderSource::FirstOfTen)) block::OxEqPositions.ReadValue(eq);
  const SliderWrite w = WriteSlider(design_.source, value, eq);
  if (w.volume) block::OxVolume.WriteValue(*w.volume);
  if (w.balance) block::OxBalance.WriteValue(*w.balance);
  if (w.skipTo) block::OxSkipToPos.WriteValue(*w.skipTo);
  if (w.eq) {
    block::OxEqPositions.WriteValue(*w.eq);
    evt::OxEqPosChanged.Set();
  }
  return w.bandChanged;
}

RECT SliderElement::Draw(HDC dc, const Bitmap& background) const {
  const SkinRect& r = design_.rect;
  RECT drawn{r.left, r.top, r.left, r.top};
  if (track_.IsEmpty()) return drawn;
  // The background first: the knob moves over what the track does not cover.
  BitBlt(dc, r.left, r.top, Width(r), Height(r), background.Dc(), r.left, r.top, SRCCOPY);
  track_.CopyTo(dc, r.left, r.top);
  const SliderLayout l = LayoutSlider(std::max(value_, 0), track_.Width(), track_.Height(), knob_.Width(),
                                      knob_.Height(), design_.vertical);
  if (!fill_.IsEmpty())
    BitBlt(dc, r.left + l.fill.left, r.top + l.fill.top, Width(l.fill), Height(l.fill), fill_.Dc(), l.fill.left,
           l.fill.top, SRCCOPY);
  knob_.CopyTo(dc, r.left + l.knob.x, r.top + l.knob.y);
  const RECT element{r.left, r.top, r.right, r.bottom};
  const RECT knob{r.left + l.knob.x, r.top + l.knob.y, r.left + l.knob.x + knob_.Width(),
                  r.top + l.knob.y + knob_.Height()};
  UnionRect(&drawn, &element, &knob);
  return drawn;
}

void SliderElement::Redraw(HWND window, HDC backBuffer, const Bitmap& background) const {
  // Only what was drawn: a wider rectangle would also send the buttons it overlaps (child windows)
  // a repaint of their own.
  const RECT r = Draw(backBuffer, background);
  if (!IsRectEmpty(&r)) InvalidateRect(window, &r, FALSE);
}

}  // namespace ox
