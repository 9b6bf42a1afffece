// The skin file format: a flat sequence of 1612-byte records, one window record per top-level
// skin window and any number of element records that belong to those windows. Integers are 32-bit
// little-endian at the byte offsets given, texts are fixed fields that another program (a skin
// editor) may have left without their terminating zero, colours are 0x00BBGGRR. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "base/ByteSource.h"
#include "base/Text.h"

namespace ox {

constexpr size_t kSkinRecordSize = 1612;

enum class SkinRecordType : int32_t {
  Window = 1, Button = 2, Image = 3, Font = 4, Slider = 5, Text = 6, Visualisation = 7, EqCurve = 8
};

// The values of record fields that name a choice. The records keep their int32 fields (a file may
// hold any value there); these are what the fields are compared with.

// A window's placement.
enum class WindowPlacement : int32_t { AtCursor = 0, Remembered = 1, AtDesignOffset = 2 };
// What a button with an event for its command does to the event.
enum class ButtonEventMode : int32_t { Toggle = 0, Set = 1, Clear = 2 };
// What a slider shows and sets: 3..12 the ten-band layout's sliders 0..9, 13..32 the twenty-band
// layout's sliders 0..19.
enum class SliderSource : int32_t {
  Volume = 0, Balance = 1, Position = 2, FirstOfTen = 3, LastOfTen = 12, FirstOfTwenty = 13, LastOfTwenty = 32,
  Preamp = 33
};
// What a text element shows.
enum class TextKind : int32_t {
  TitleLine = 0, Elapsed = 1, Remaining = 2, Length = 3, BitRate = 4, SampleRate = 5, StereoOrMono = 6,
  Channels = 7, Artist = 8, Title = 9, Album = 10, TrackNumber = 11, Path = 12, Preference = 13, Nothing = 14,
  FileSizeKb = 15, TimesPlayed = 16
};
// What a visualisation area shows.
enum class VisualMode : int32_t { Bars = 0, Scope = 1, Meter = 2 };
// Which way spectrum bars and the level meter grow from their base.
enum class BarOrientation : int32_t { Up = 0, Down = 1, Right = 2, Left = 3 };
// How bars are coloured: not at all, one colour, a gradient along the length, a colour by level.
enum class BarColourMode : int32_t { None = 0, Solid = 1, Gradient = 2, ByLevel = 3 };
// How a bar is drawn: whole, in segments, in outlined segments.
enum class BarDrawStyle : int32_t { Whole = 0, Segmented = 1, Outlined = 2 };

#pragma pack(push, 1)

struct SkinHeader {
  int32_t type;     // SkinRecordType
  char name[30];    // window: class name and settings key; font: the name texts refer to
  int32_t x, y;     // design coordinates; an element is drawn at its x less its window's x
  int32_t height, width;
  int32_t windowId;  // window: its own id; element: the window it belongs to

  std::string_view Name() const { return FieldText(name); }
};

struct WindowRecord {
  SkinHeader header;
  char bitmap[260];         // <name>.bmp background, <name>.bin outline
  int32_t openingAnimation;  // 0..10
  int32_t placement;         // 0 at the mouse, 1 remembered or centred, 2 at its offset from the first
  char showCondition[260];   // "[ShowAlways]", "<IsRillWindow>", "evtOxTrayControl" or an event name
  uint8_t reserved582[4];
  int8_t rank;               // a lower rank stays in front of a higher one
  uint8_t topmost;
  uint8_t runtime588[kSkinRecordSize - 588];
};

struct ButtonRecord {
  SkinHeader header;
  char bitmap[260];  // <name>.bmp, <name>-m.bmp mouse over, <name>-d.bmp pressed
  uint8_t runtime314[520];
  int32_t eventMode;  // 0 toggle, 1 set, 2 clear
  char command[260];  // a button command or an event name
  char tooltip[260];  // empty: the command's default tooltip
  uint8_t runtime1358[kSkinRecordSize - 1358];
};

struct ImageRecord {
  SkinHeader header;
  char bitmap[260];
  char condition[260];  // "<Playing Stereo Track>", "<Playing Mono Track>", else always
  uint8_t runtime574[kSkinRecordSize - 574];
};

struct FontRecord {
  SkinHeader header;
  uint8_t bitmapFont;    // non-zero: a bitmap font
  char bitmap[260];      // <name>.bmp and <name>-mask.bmp
  uint8_t runtime315[260];
  char face[260];        // a system font's face; empty: "Arial"
  int32_t height;        // a logical font height
  uint8_t italic, underline, bold;
  uint32_t colour;
  uint8_t runtime846[kSkinRecordSize - 846];
};

struct SliderRecord {
  SkinHeader header;
  int32_t orientation;  // 0 horizontal, else vertical
  char track[260], knob[260], fill[260];
  int32_t source;  // 0..33
  uint8_t runtime842[kSkinRecordSize - 842];
};

struct TextRecord {
  SkinHeader header;
  char font[260];  // the name of a font element of the same window
  int32_t kind;    // 0..16
  uint8_t shadow;
  uint32_t shadowColour;
  uint8_t alwaysScroll, scrollWhenWide;
  uint8_t runtime325[12];
  uint8_t centre;
  uint8_t runtime338[kSkinRecordSize - 338];
};

// How spectrum bars and the level meter are drawn.
struct BarStyle {
  int32_t orientation;  // 0 up, 1 down, 2 right, 3 left
  int32_t colourMode;   // 0 none, 1 solid, 2 gradient, 3 by level
  uint32_t colour1, colour2;
};

struct VisualisationRecord {
  SkinHeader header;
  int32_t channel;  // 0 or 1
  int32_t mode;     // 0..2 until one is remembered
  BarStyle bars;
  int32_t barCount, barPeaks;
  uint32_t barPeakColour;
  int32_t barStyle;  // 0 solid, 1 segmented, 2 segmented and outlined
  uint32_t barOutline;
  int32_t barSegments, barGap;
  BarStyle meter;
  int32_t meterPeaks;
  uint32_t meterPeakColour;
  int32_t meterStyle;
  uint32_t meterOutline;
  int32_t meterSegments, meterGap;
  int32_t scopeGradient;
  uint32_t scopeLine, scopeTop, scopeMiddle, scopeBottom;
  uint8_t runtime166[kSkinRecordSize - 166];
};

struct EqCurveRecord {
  SkinHeader header;
  uint32_t pen;
  uint8_t runtime58[kSkinRecordSize - 58];
};

#pragma pack(pop)

static_assert(sizeof(SkinHeader) == 54 && offsetof(SkinHeader, x) == 34 && offsetof(SkinHeader, windowId) == 50);
static_assert(sizeof(WindowRecord) == kSkinRecordSize && offsetof(WindowRecord, openingAnimation) == 314 &&
              offsetof(WindowRecord, showCondition) == 322 && offsetof(WindowRecord, rank) == 586 &&
              offsetof(WindowRecord, topmost) == 587);
static_assert(sizeof(ButtonRecord) == kSkinRecordSize && offsetof(ButtonRecord, eventMode) == 834 &&
              offsetof(ButtonRecord, command) == 838 && offsetof(ButtonRecord, tooltip) == 1098);
static_assert(sizeof(ImageRecord) == kSkinRecordSize && offsetof(ImageRecord, condition) == 314);
static_assert(sizeof(FontRecord) == kSkinRecordSize && offsetof(FontRecord, bitmap) == 55 &&
              offsetof(FontRecord, face) == 575 && offsetof(FontRecord, height) == 835 &&
              offsetof(FontRecord, bold) == 841 && offsetof(FontRecord, colour) == 842);
static_assert(sizeof(SliderRecord) == kSkinRecordSize && offsetof(SliderRecord, track) == 58 &&
              offsetof(SliderRecord, knob) == 318 && offsetof(SliderRecord, fill) == 578 &&
              offsetof(SliderRecord, source) == 838);
static_assert(sizeof(TextRecord) == kSkinRecordSize && offsetof(TextRecord, kind) == 314 &&
              offsetof(TextRecord, shadowColour) == 319 && offsetof(TextRecord, scrollWhenWide) == 324 &&
              offsetof(TextRecord, centre) == 337);
static_assert(sizeof(VisualisationRecord) == kSkinRecordSize && offsetof(VisualisationRecord, bars) == 62 &&
              offsetof(VisualisationRecord, barGap) == 102 && offsetof(VisualisationRecord, meter) == 106 &&
              offsetof(VisualisationRecord, meterGap) == 142 && offsetof(VisualisationRecord, scopeBottom) == 162);
static_assert(sizeof(EqCurveRecord) == kSkinRecordSize && offsetof(EqCurveRecord, pen) == 54);

// One record as it came from the file; read it through the view its type names.
struct SkinRecord {
  uint8_t bytes[kSkinRecordSize];

  SkinHeader Header() const { return As<SkinHeader>(); }
  SkinRecordType Type() const { return static_cast<SkinRecordType>(Header().type); }
  template <typename View>
  View As() const {
    static_assert(sizeof(View) <= kSkinRecordSize, "a view of one record");
    View view;
    std::memcpy(&view, bytes, sizeof view);
    return view;
  }
};

// A window record with the elements that belong to it, in file order.
struct SkinWindowRecords {
  SkinRecord window;
  std::vector<SkinRecord> elements;
};

// The windows of one skin file, in file order. Records are read while a whole one remains (a short
// tail is ignored); an element goes to the first window read before it whose id is its window id,
// and is dropped when there is none. Held to the bounds of SkinLimits.h: a file larger than
// kMaxSkinFileBytes gives nothing (its size is asked before anything is read), windows past
// kMaxSkinWindows and a window's elements past kMaxWindowElements are dropped, and every header's
// x and y are clamped to +-kMaxSkinCoordinate, its width and height to 0..kMaxSkinExtent.
std::vector<SkinWindowRecords> ReadSkinFile(ByteSource& file);

// No bitmap: an empty field or "Not Set".
bool IsBitmapName(std::string_view name);

}  // namespace ox
