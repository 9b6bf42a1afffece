#include "ui/VisualElement.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ui/ElementDrawing.h"
#include "ui/Gdi.h"

namespace ox {

namespace {

// Where the part [from, from + length) along a bar's length lies in the area: bar at `across`,
// `thickness` wide, growing from its base.
RECT BarPart(BarOrientation orientation, int32_t across, int32_t thickness, int32_t width, int32_t height,
             int32_t from, int32_t length) {
  switch (orientation) {
    case BarOrientation::Down: return {across, from, across + thickness, from + length};
    case BarOrientation::Right: return {from, across, from + length, across + thickness};
    case BarOrientation::Left: return {width - from - length, across, width - from, across + thickness};
    case BarOrientation::Up: break;
  }
  return {across, height - from - length, across + thickness, height - from};
}

// Solid brushes of the colours a frame draws with, made once for the frame and deleted with it.
class FrameBrushes {
 public:
  FrameBrushes() = default;
  ~FrameBrushes() { Clear(); }
  FrameBrushes(const FrameBrushes&) = delete;
  FrameBrushes& operator=(const FrameBrushes&) = delete;
  FrameBrushes(FrameBrushes&& other) noexcept : brushes_(std::move(other.brushes_)) { other.brushes_.clear(); }
  FrameBrushes& operator=(FrameBrushes&& other) noexcept {
    if (this != &other) {
      Clear();
      brushes_ = std::move(other.brushes_);
      other.brushes_.clear();
    }
    return *this;
  }

  HBRUSH Get(uint32_t colour) {
    for (const auto& [c, brush] : brushes_)
      if (c == colour) return brush;
    brushes_.emplace_back(colour, CreateSolidBrush(colour));
    return brushes_.back().second;
  }

 private:
  void Clear() {
    for (const auto& entry : brushes_) DeleteObject(entry.second);
    brushes_.clear();
  }
  std::vector<std::pair<uint32_t, HBRUSH>> brushes_;
};

// A picture of the whole area in the bars' colours along their length: solid, or a gradient from
// colour 1 at the base to colour 2 at the tip (stepped per segment when segmented).
void PrepareBars(Bitmap& picture, const BarLook& look, int32_t width, int32_t height) {
  picture.Create(width, height);
  if (picture.IsEmpty() || (look.colourMode != BarColourMode::Solid && look.colourMode != BarColourMode::Gradient))
    return;
  const int32_t length = look.Vertical() ? height : width, across = look.Vertical() ? width : height;
  int32_t step = 1;
  if (look.style != BarDrawStyle::Whole) step = std::max(length / look.segments, 1);
  for (int32_t p = 0; p < length; ++p) {
    const int32_t at = p / step * step;
    const uint32_t colour = look.colourMode == BarColourMode::Solid
                                ? look.colour1
                                : ColourByLevel(look.colour1, look.colour2, length > 1 ? at * 256 / length : 0);
    RECT r = BarPart(look.orientation, 0, across, width, height, p, 1);
    BrushHolder brush(picture.Dc(), colour);
    FillRect(picture.Dc(), &r, static_cast<HBRUSH>(GetCurrentObject(picture.Dc(), OBJ_BRUSH)));
  }
}

// One bar of `level` (of `full`), its peak line when peaks are on.
void DrawBar(HDC dc, const Bitmap& picture, const BarLook& look, int32_t across, int32_t thickness, int32_t width,
             int32_t height, int32_t level, int32_t full, int32_t peak, FrameBrushes& brushes) {
  const int32_t length = look.Vertical() ? height : width;
  const int32_t drawn = level * length / full;
  auto paint = [&](int32_t from, int32_t size) {
    const RECT r = BarPart(look.orientation, across, thickness, width, height, from, size);
    if (look.colourMode == BarColourMode::ByLevel) {
      if (level <= 1) return;
      FillRect(dc, &r, brushes.Get(ColourByLevel(look.colour1, look.colour2, level * 256 / full)));
    } else if (look.colourMode != BarColourMode::None) {
      BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, picture.Dc(), r.left, r.top, SRCCOPY);
    }
    if (look.style == BarDrawStyle::Outlined) FrameRect(dc, &r, brushes.Get(look.outline));
  };
  if (look.style == BarDrawStyle::Whole) {
    if (drawn > 0) paint(0, drawn);
  } else {
    for (const Span& s : BarSegments(drawn, length, look.segments, look.gap)) paint(s.from, s.length);
  }
  if (look.peaks && peak > 0) {
    const int32_t at = std::min(peak * length / full, length - 1);
    const RECT r = BarPart(look.orientation, across, thickness, width, height, at, 1);
    FillRect(dc, &r, brushes.Get(look.peakColour));
  }
}

}  // namespace

VisualElement::Design VisualElement::DesignOf(const SkinRecord& record, const SkinHeader& window) {
  const VisualisationRecord v = record.As<VisualisationRecord>();
  Design s;
  s.name = std::string(v.header.Name());
  s.rect = ElementRect(v.header, window);
  s.channel = v.channel == 1 ? 1 : 0;
  s.mode = v.mode >= int32_t(VisualMode::Bars) && v.mode <= int32_t(VisualMode::Meter) ? v.mode : 0;
  s.bars = BarLookOf(v.bars, v.barStyle, v.barSegments, v.barGap, v.barOutline, v.barPeaks, v.barPeakColour);
  s.meter = BarLookOf(v.meter, v.meterStyle, v.meterSegments, v.meterGap, v.meterOutline, v.meterPeaks,
                      v.meterPeakColour);
  s.barCount = BarCount(v.barCount, s.bars.Vertical() ? Width(s.rect) : Height(s.rect));
  s.scopeLine = v.scopeLine;
  s.scopeGradient = v.scopeGradient != 0;
  s.scopeTop = v.scopeTop, s.scopeMiddle = v.scopeMiddle, s.scopeBottom = v.scopeBottom;
  return s;
}

VisualElement::VisualElement(const SkinRecord& record, const SkinHeader& window) : design_(DesignOf(record, window)) {}

void VisualElement::SetMode(int32_t mode) {
  if (mode >= int32_t(VisualMode::Bars) && mode <= int32_t(VisualMode::Meter)) mode_ = mode;
}

void VisualElement::Toggle() {
  if (mode_ == int32_t(VisualMode::Bars)) mode_ = int32_t(VisualMode::Scope);
  else if (mode_ != int32_t(VisualMode::Meter)) mode_ = int32_t(VisualMode::Bars);
}

void VisualElement::Initialise() {
  const int32_t width = Width(design_.rect), height = Height(design_.rect);
  if (mode_ < 0) mode_ = design_.mode;
  saved_.Create(width, height);
  fullBarsStale_ = true;
  composition_.Create(width, height);
  levels_.assign(design_.barCount, 0);
  peaks_.assign(design_.barCount, BarPeak{});
  PrepareBars(bars_, design_.bars, width, height);
  PrepareBars(meterBar_, design_.meter, width, height);
  if (design_.scopeGradient) {  // colour A at the top, B at half height, C at the bottom
    scope_.Create(width, height);
    scopeMask_.Create(width, height);
    scopeLine_.Create(width, height);
    for (int32_t y = 0; y < height && !scope_.IsEmpty(); ++y) {
      const int32_t half = std::max(height / 2, 1);
      const uint32_t colour = y < half ? ColourByLevel(design_.scopeTop, design_.scopeMiddle, y * 256 / half)
                                       : ColourByLevel(design_.scopeMiddle, design_.scopeBottom,
                                                       (y - half) * 256 / std::max(height - half, 1));
      RECT r{0, y, width, y + 1};
      BrushHolder brush(scope_.Dc(), colour);
      FillRect(scope_.Dc(), &r, static_cast<HBRUSH>(GetCurrentObject(scope_.Dc(), OBJ_BRUSH)));
    }
  }
}

void VisualElement::Release() {
  for (Bitmap* b : {&saved_, &composition_, &bars_, &meterBar_, &scope_, &scopeMask_, &scopeLine_, &fullBars_})
    b->Release();
  shownMode_ = -1;
}

void VisualElement::Paint(HDC backBuffer, const OxVisualSnapshot& snapshot, uint32_t now) {
  if (saved_.IsEmpty()) return;
  SaveUnder(saved_, backBuffer, design_.rect);
  fullBarsStale_ = true;
  Render(nullptr, backBuffer, snapshot, now);
}

void VisualElement::Render(HWND window, HDC backBuffer, const OxVisualSnapshot& snapshot, uint32_t now) {
  const int32_t width = Width(design_.rect), height = Height(design_.rect);
  if (composition_.IsEmpty() || width <= 0 || height <= 0) return;
  const int8_t* wave = snapshot.waveform[design_.channel];
  // The state this frame shows; the same state as the last frame's draws the same pixels.
  std::vector<int32_t> levels, peaks;
  if (mode_ == int32_t(VisualMode::Bars)) {
    const int32_t count = static_cast<int32_t>(levels_.size());
    for (int32_t i = 0; i < count; ++i) {
      const int32_t value = snapshot.spectrum[design_.channel][BarSpectrumIndex(i, count)];
      levels_[i] = FallenLevel(levels_[i], value);
      peaks_[i].Step(value);
      peaks.push_back(peaks_[i].peak);
    }
    levels = levels_;
  } else if (mode_ == int32_t(VisualMode::Meter)) {
    meter_ = MeterLevel(meter_, wave);
    meterPeak_.Step(meter_);
    levels = {meter_}, peaks = {meterPeak_.peak};
  }
  const bool sameWave = std::memcmp(shownWave_, wave, sizeof shownWave_) == 0;
  if (window && mode_ == shownMode_ && levels == shownLevels_ && peaks == shownPeaks_ &&
      (mode_ != int32_t(VisualMode::Scope) || sameWave))
    return;
  shownMode_ = mode_, shownLevels_ = levels, shownPeaks_ = peaks;
  drawn_ = {true, now};
  std::memcpy(shownWave_, wave, sizeof shownWave_);

  HDC dc = composition_.Dc();
  BitBlt(dc, 0, 0, width, height, saved_.Dc(), 0, 0, SRCCOPY);
  if (mode_ == int32_t(VisualMode::Bars)) {
    DrawBars(dc);
  } else if (mode_ == int32_t(VisualMode::Scope)) {
    DrawScope(dc, wave);
  } else {
    FrameBrushes brushes;
    DrawBar(dc, meterBar_, design_.meter, 0, design_.meter.Vertical() ? width : height, width, height, meter_, 128,
            meterPeak_.peak, brushes);
  }
  BitBlt(backBuffer, design_.rect.left, design_.rect.top, width, height, dc, 0, 0, SRCCOPY);
  InvalidateElement(window, design_.rect);
}

void VisualElement::DrawBars(HDC dc) {
  const int32_t width = Width(design_.rect), height = Height(design_.rect);
  const BarLook& look = design_.bars;
  FrameBrushes brushes;
  const int32_t count = static_cast<int32_t>(levels_.size());
  const BarLayout layout = LayoutBars(count, look.Vertical() ? width : height);
  // A bar's colour that follows its level is drawn piece by piece; the others are full bars cut at
  // their level.
  const bool byLevel = look.colourMode == BarColourMode::ByLevel;
  if (!byLevel && (fullBarsStale_ || fullBars_.IsEmpty())) {
    fullBars_.Create(width, height);
    BitBlt(fullBars_.Dc(), 0, 0, width, height, saved_.Dc(), 0, 0, SRCCOPY);
    BarLook bare = look;
    bare.peaks = false;
    for (int32_t i = 0; i < count; ++i)
      DrawBar(fullBars_.Dc(), bars_, bare, i * (layout.thickness + layout.gap), layout.thickness, width, height, 256,
              256, 0, brushes);
    fullBarsStale_ = false;
  }
  if (byLevel || fullBars_.IsEmpty()) {
    for (int32_t i = 0; i < count; ++i)
      DrawBar(dc, bars_, look, i * (layout.thickness + layout.gap), layout.thickness, width, height, levels_[i], 256,
              peaks_[i].peak, brushes);
    return;
  }
  const int32_t length = look.Vertical() ? height : width;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t across = i * (layout.thickness + layout.gap);
    const int32_t extent = BarExtent(levels_[i] * length / 256, length, look.segments, look.style != BarDrawStyle::Whole);
    if (extent > 0) {
      const RECT r = BarPart(look.orientation, across, layout.thickness, width, height, 0, extent);
      BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, fullBars_.Dc(), r.left, r.top, SRCCOPY);
    }
    DrawBar(dc, bars_, look, across, layout.thickness, width, height, 0, 256, peaks_[i].peak, brushes);
  }
}

void VisualElement::DrawScope(HDC dc, const int8_t* wave) {
  const int32_t width = Width(design_.rect), height = Height(design_.rect);
  const std::vector<Point> points = ScopePoints(wave, width, height);
  std::vector<POINT> line(points.size());
  for (size_t i = 0; i < points.size(); ++i) line[i] = {points[i].x, points[i].y};
  if (!design_.scopeGradient || scope_.IsEmpty() || scopeMask_.IsEmpty() || scopeLine_.IsEmpty()) {
    PenHolder pen(dc, design_.scopeLine);
    Polyline(dc, line.data(), static_cast<int>(line.size()));
    return;
  }
  // The line in the gradient's colours: the background keeps all but the line (drawn white on
  // black, inverted), the gradient only the line; the two are ORed.
  RECT all{0, 0, width, height};
  FillRect(scopeMask_.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  {
    PenHolder pen(scopeMask_.Dc(), 0xFFFFFF);
    Polyline(scopeMask_.Dc(), line.data(), static_cast<int>(line.size()));
  }
  BitBlt(scopeLine_.Dc(), 0, 0, width, height, scope_.Dc(), 0, 0, SRCCOPY);
  BitBlt(scopeLine_.Dc(), 0, 0, width, height, scopeMask_.Dc(), 0, 0, SRCAND);
  BitBlt(dc, 0, 0, width, height, scopeMask_.Dc(), 0, 0, 0x00220326);  // DSna: keep what the line misses
  BitBlt(dc, 0, 0, width, height, scopeLine_.Dc(), 0, 0, SRCPAINT);
}

}  // namespace ox
