// The arithmetic of the skin controls: element rectangles and hits, slider values from and to the
// shared blocks, when a slider reads them and how it draws, the equaliser curve's points, the texts
// of the text kinds, scrolling, bitmap font glyphs, and which bitmap a button shows. Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SharedRecords.h"
#include "core/TrackRecord.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinRecords.h"

namespace ox {

// An element's rectangle in its window: its place less the window's, its own size. Whatever the
// records hold, the sides lie within +-2^30 and the size within 0..kMaxSkinExtent, so sizes and sums
// of sides never overflow.
SkinRect ElementRect(const SkinHeader& element, const SkinHeader& window);
// Hits include both edges: a point at the right or bottom edge still hits.
bool Hits(const SkinRect& r, int32_t x, int32_t y);

// What sliders show and set: the shared blocks as values.
struct SliderSources {
  uint32_t volume = 0, balance = 50;
  TrackTime time{};
  EqPositions eq{};
};
// Whether a slider source is an equaliser band (of either layout).
bool IsBandSource(int32_t source);
// The value 0..100 a slider of source 0..33 shows; 0 for any other source. Values out of their
// range (positions beyond +-200, a preamp above 0, from whichever program wrote the block) show at
// the nearest end.
int32_t SliderValue(int32_t source, const SliderSources& s);

// A moment of the tick clock that may not have come yet.
struct Moment {
  bool happened = false;
  uint32_t at = 0;
};
// Whether less than `ms` has passed from the moment to now (never, for a moment that did not
// happen). For spans under 24.8 days, across the wrap of the clock.
bool Within(const Moment& moment, uint32_t now, uint32_t ms);

// When a slider reads its source: at most every kSliderReadMs, never while dragged, and not for
// kSliderHoldMs after a drag ended (it shows the value it was let go at meanwhile).
constexpr uint32_t kSliderReadMs = 100, kSliderHoldMs = 2000;
struct SliderTimes {
  bool dragging = false;
  Moment read;      // the last read of the source
  Moment released;  // the end of the last drag, while its hold lasts
};
// Whether the slider is due to read its source now; ends (forgets) a hold that has run out.
bool SliderDue(SliderTimes& t, uint32_t now);

// What writing a slider's value changes.
struct SliderWrite {
  std::optional<uint32_t> volume, balance, skipTo;
  std::optional<EqPositions> eq;  // the record with the change made; evtOxEqPosChanged follows
  bool bandChanged = false;       // the equaliser curves are to be redrawn
};
// eq: the record as it is now (a band write starts from it). value is taken as 0..100.
SliderWrite WriteSlider(int32_t source, int32_t value, const EqPositions& eq);

// The value at a cursor offset d along a track of `size` pixels (from the left, or from the top
// for a vertical slider, whose values run upwards).
int32_t SliderValueAt(int32_t d, int32_t size, bool vertical);

// Where a slider draws, relative to its element: the part of the fill bitmap shown and the knob.
struct SliderLayout {
  SkinRect fill;   // in the element; the same rectangle of the fill bitmap is shown
  WindowPlace knob;
};
// value is taken as 0..100; any sizes give places within the int32 range.
SliderLayout LayoutSlider(int32_t value, int32_t trackWidth, int32_t trackHeight, int32_t knobWidth,
                          int32_t knobHeight, bool vertical);

// The equaliser curve's y in an element `height` tall for a curve value (-200 at the bottom, 200 at
// the top; values beyond show at the edge).
int32_t CurveY(float value, int32_t height);

// The text a text element of the kind shows. currentBitRate: "OxCurrentBitRate".
std::string ElementText(int32_t kind, const TrackRecord& track, const TrackTime& time, uint32_t currentBitRate);

// Scrolling text: one animation tick from offset; `scrolls` says whether it scrolls at all.
int32_t NextScrollOffset(int32_t offset, int32_t textWidth, int32_t width, bool scrolls);
// Where the second copy of a scrolling text goes, when it is to be drawn.
std::optional<int32_t> SecondCopyAt(int32_t offset, int32_t textWidth, int32_t width);

// Bitmap fonts: the character a Windows-1252 code is drawn as (accented letters fold onto plain
// ones or onto the font's own cells 0x7B..0x80), and the glyph cell of a code (none for a space or
// below, or past the 96 cells).
uint8_t FoldForBitmapFont(uint8_t code);
std::optional<int32_t> GlyphCell(uint8_t code);
// The cell a bitmap font shows for each character of a UTF-8 text, in order: none for a space or a
// control (it only advances); a character up to U+00FF, or one of Windows-1252's punctuation marks,
// as folded above; any character the font has no cell for, an invalid byte included, as the cell of
// kBitmapFontFallback.
constexpr uint8_t kBitmapFontFallback = '?';
std::vector<std::optional<int32_t>> BitmapFontCells(std::string_view text);
// A text's width in a bitmap font whose bitmap is bitmapWidth wide (96 cells; each character
// advances the cell width less one).
int32_t BitmapTextWidth(int32_t bitmapWidth, std::string_view text);

// What the open-files dialog returned: one path, or a folder followed by names (each ending in a
// zero, the list in two). The folder (ending in a backslash) and the full paths in ascending byte
// order.
struct FileSelection {
  std::string folder;
  std::vector<std::string> paths;
};
FileSelection SelectedFiles(std::string_view buffer);

// The bitmap a button shows: 0 normal, 1 pressed, 2 mouse over. state: 0 idle, 1 pressed, 2 over.
int32_t ButtonBitmap(int32_t state, bool lit);

}  // namespace ox
