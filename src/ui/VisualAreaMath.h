// The arithmetic of a skin's visualisation area: which spectrum value each bar shows, how levels
// fall back and peaks drop, how a bar is cut into segments, the oscilloscope's points and the
// level meter; and the record's look of the bars held to what a skin may ask for. Pure.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/SkinRecords.h"

namespace ox {

// How spectrum bars or the level meter draw. From a record, out-of-range choices count as Up, None
// and (a style other than 0 and 2) Segmented; segments are held to 1..kMaxBarSegments (0 counts as
// 1), the gap to 0..kMaxBarGap.
struct BarLook {
  BarOrientation orientation = BarOrientation::Up;
  BarColourMode colourMode = BarColourMode::None;
  uint32_t colour1 = 0, colour2 = 0;
  BarDrawStyle style = BarDrawStyle::Whole;
  int32_t segments = 1, gap = 0;
  uint32_t outline = 0, peakColour = 0;
  bool peaks = false;
  // Up or down: the length runs along the height, the bars side by side along the width.
  bool Vertical() const { return orientation == BarOrientation::Up || orientation == BarOrientation::Down; }
};
BarLook BarLookOf(const BarStyle& colours, int32_t style, int32_t segments, int32_t gap, uint32_t outline,
                  int32_t peaks, uint32_t peakColour);

// The bars an area shows: the record's count held to 1..kMaxVisualBars and to no more than the
// pixels across the area (crossSize) that they share.
int32_t BarCount(int32_t count, int32_t crossSize);

// The spectrum value bar `bar` of `bars` shows: a musical choice for 20 and 10 bars, else the
// bar's own index.
int32_t BarSpectrumIndex(int32_t bar, int32_t bars);

// The bars across the cross axis: each `thickness` pixels, `gap` apart (1, none for 256 bars).
struct BarLayout {
  int32_t thickness = 1, gap = 1;
};
BarLayout LayoutBars(int32_t bars, int32_t crossSize);

// A bar's level after a new value: it falls back 24 a tick at most, never below the value or 0.
int32_t FallenLevel(int32_t level, int32_t value);

// A bar's peak: drops ever faster (speed / 16 a tick, speed growing by 6 up to 80) until a value
// passes it, which lifts it and starts the drop again slowly.
struct BarPeak {
  int32_t peak = 0, speed = 1;
  void Step(int32_t value);
};

// The segments drawn of a bar `length` long whose level reaches `drawn` pixels from the base:
// segments of length / count (count 0 as 1) pixels, at least 1, each shortened by the gap (to no
// less than 1 pixel), while the next segment still fits within the drawn length. Count and gap are
// held to the skin bounds, drawn to 0..length.
struct Span {
  int32_t from = 0, length = 0;
  bool operator==(const Span& o) const { return from == o.from && length == o.length; }
};
std::vector<Span> BarSegments(int32_t drawn, int32_t length, int32_t count, int32_t gap);
// Where a bar reaching `drawn` pixels ends along its length: `drawn` when solid, else the end of
// its last whole segment's place (gap included). Up to there it looks like the bar drawn at full
// length, so it can be copied from a picture of full bars; nothing of it lies beyond.
int32_t BarExtent(int32_t drawn, int32_t length, int32_t count, bool segmented);

// The oscilloscope: every 10th of the 512 samples at x = width x i / 512, y = height x (128 - s) / 256.
struct Point {
  int32_t x = 0, y = 0;
};
std::vector<Point> ScopePoints(const int8_t* samples, int32_t width, int32_t height);

// The level meter: the largest |sample| of the 512 (0..128), or the level less 24 if higher.
int32_t MeterLevel(int32_t level, const int8_t* samples);

// Colour mode 3: colour1 + (colour2 - colour1) x level / 256 in each channel (0x00BBGGRR).
uint32_t ColourByLevel(uint32_t colour1, uint32_t colour2, int32_t level);

}  // namespace ox
