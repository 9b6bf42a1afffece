#include "ui/VisualAreaMath.h"

#include <algorithm>

#include "VisualOutputPlugin.h"
#include "ui/SkinLimits.h"

namespace ox {

BarLook BarLookOf(const BarStyle& colours, int32_t style, int32_t segments, int32_t gap, uint32_t outline,
                  int32_t peaks, uint32_t peakColour) {
  BarLook l;
  if (colours.orientation >= 0 && colours.orientation <= 3) l.orientation = static_cast<BarOrientation>(colours.orientation);
  if (colours.colourMode >= 0 && colours.colourMode <= 3) l.colourMode = static_cast<BarColourMode>(colours.colourMode);
  l.colour1 = colours.colour1, l.colour2 = colours.colour2;
  l.style = style == 0 ? BarDrawStyle::Whole : style == 2 ? BarDrawStyle::Outlined : BarDrawStyle::Segmented;
  l.segments = std::clamp(segments, 1, kMaxBarSegments);
  l.gap = std::clamp(gap, 0, kMaxBarGap);
  l.outline = outline, l.peakColour = peakColour;
  l.peaks = peaks != 0;
  return l;
}

int32_t BarCount(int32_t count, int32_t crossSize) {
  return std::clamp(count, 1, std::max(1, std::min(kMaxVisualBars, crossSize)));
}

int32_t BarSpectrumIndex(int32_t bar, int32_t bars) {
  static const int32_t twenty[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 19, 23, 33, 46, 58, 69, 92};
  static const int32_t ten[] = {1, 3, 5, 7, 9, 11, 15, 23, 46, 69};
  if (bars == 20 && bar >= 0 && bar < 20) return twenty[bar];
  if (bars == 10 && bar >= 0 && bar < 10) return ten[bar];
  return bar < 0 ? 0 : bar >= OX_VIS_BINS ? OX_VIS_BINS - 1 : bar;
}

BarLayout LayoutBars(int32_t bars, int32_t crossSize) {
  BarLayout l;
  if (bars < 1) bars = 1;
  l.gap = bars == 256 ? 0 : 1;
  l.thickness = crossSize / bars - l.gap;
  if (l.thickness < 1) l.thickness = 1;
  return l;
}

int32_t FallenLevel(int32_t level, int32_t value) {
  const int32_t fallen = level - 24 > value ? level - 24 : value;
  return fallen < 0 ? 0 : fallen;
}

void BarPeak::Step(int32_t value) {
  peak -= speed / 16;
  speed = speed + 6 > 80 ? 80 : speed + 6;
  if (value > peak) peak = value, speed = 1;
  if (peak < 0) peak = 0;
}

std::vector<Span> BarSegments(int32_t drawn, int32_t length, int32_t count, int32_t gap) {
  std::vector<Span> spans;
  count = std::clamp(count, 1, kMaxBarSegments);
  gap = std::clamp(gap, 0, kMaxBarGap);
  drawn = std::clamp(drawn, 0, std::max(length, 0));
  const int32_t size = std::max(length / count, 1);
  const int32_t shown = std::max(size - gap, 1);
  // At most about 2 x count segments fit in the length (size 1 when the length is below count).
  for (int64_t from = 0; from + size <= drawn; from += size) spans.push_back({static_cast<int32_t>(from), shown});
  return spans;
}

int32_t BarExtent(int32_t drawn, int32_t length, int32_t count, bool segmented) {
  if (drawn <= 0) return 0;
  if (!segmented) return drawn;
  const int32_t size = std::max(length / std::clamp(count, 1, kMaxBarSegments), 1);
  return drawn / size * size;
}

std::vector<Point> ScopePoints(const int8_t* samples, int32_t width, int32_t height) {
  std::vector<Point> points;
  for (int32_t i = 0; i < OX_VIS_FRAMES; i += 10)
    points.push_back({static_cast<int32_t>(int64_t{width} * i / OX_VIS_FRAMES),
                      static_cast<int32_t>(int64_t{height} * (128 - samples[i]) / 256)});
  return points;
}

int32_t MeterLevel(int32_t level, const int8_t* samples) {
  int32_t loudest = 0;
  for (int32_t i = 0; i < OX_VIS_FRAMES; ++i) {
    const int32_t s = samples[i] < 0 ? -samples[i] : samples[i];
    if (s > loudest) loudest = s;
  }
  return FallenLevel(level, loudest);
}

uint32_t ColourByLevel(uint32_t colour1, uint32_t colour2, int32_t level) {
  level = std::clamp(level, 0, 256);
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int32_t a = (colour1 >> shift) & 0xFF, b = (colour2 >> shift) & 0xFF;
    out |= static_cast<uint32_t>(a + (b - a) * level / 256) << shift;
  }
  return out;
}

}  // namespace ox
