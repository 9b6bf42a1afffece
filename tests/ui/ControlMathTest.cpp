#include "ui/ControlMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <tuple>

namespace ox {
namespace {

TEST(ControlMath, ElementRectsAreRelativeToTheWindow_HitsIncludeBothEdges) {
  SkinHeader window{}, element{};
  window.x = 100, window.y = 50;
  element.x = 110, element.y = 70, element.width = 20, element.height = 10;
  const SkinRect r = ElementRect(element, window);
  EXPECT_EQ(r, (SkinRect{10, 20, 30, 30}));
  for (const auto& [x, y, hit] : {std::tuple{30, 30, true}, {10, 20, true}, {31, 25, false}, {20, 19, false}})
    EXPECT_EQ(Hits(r, x, y), hit) << x << "," << y;
}

TEST(ControlMath, SlidersReadEverySource) {
  SliderSources s;
  s.volume = 73, s.balance = 40;
  s.time = {200000, 50000, 150000};
  s.eq.sliders[0] = -200, s.eq.sliders[9] = 200, s.eq.sliders[19] = 2, s.eq.preamp = -30;
  // The positions block comes from other programs: any value shows within 0..100.
  s.eq.sliders[1] = std::numeric_limits<int32_t>::max(), s.eq.sliders[2] = std::numeric_limits<int32_t>::min();
  const struct {
    int32_t source, value;
  } cases[] = {{0, 73},  {1, 40},   {2, 25},  {3, 0},   {12, 100}, {13, 0},  {22, 100},
               {32, 50}, {33, 70},  {34, 0},  {-1, 0},  {4, 100},  {5, 0},   {std::numeric_limits<int32_t>::min(), 0}};
  for (const auto& c : cases) EXPECT_EQ(SliderValue(c.source, s), c.value) << c.source;
  s.time.lengthMs = 0;
  EXPECT_EQ(SliderValue(2, s), 0);
  s.eq.preamp = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(SliderValue(33, s), 100);
  s.eq.preamp = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(SliderValue(33, s), 0);
  s.volume = 0xFFFFFFFFu;
  EXPECT_EQ(SliderValue(0, s), 100);
}

// A slider reads its source every 100 ms, not while dragged and not for 2000 ms after a drag, at
// any tick count: after 24.9 days of uptime (past 2^31) and across the wrap at 49.7 days too.
TEST(ControlMath, SlidersReadTheirSourceByTickDifferences) {
  for (const uint32_t now : {0u, 0x7FFFFFFFu, 0x80000005u, 0xFFFFFFF6u}) {
    const struct {
      const char* what;
      SliderTimes times;
      bool due;
    } cases[] = {
        {"never read nor dragged", {}, true},
        {"read 99 ms ago", {false, {true, now - 99}, {}}, false},
        {"read 100 ms ago", {false, {true, now - 100}, {}}, true},
        {"dragged", {true, {}, {}}, false},
        {"let go 1999 ms ago", {false, {true, now - 5000}, {true, now - 1999}}, false},
        {"let go 2000 ms ago", {false, {true, now - 5000}, {true, now - 2000}}, true},
    };
    for (auto c : cases) EXPECT_EQ(SliderDue(c.times, now), c.due) << c.what << " at " << now;
  }
  SliderTimes t{false, {true, 0xFFFFFF00u}, {true, 0xFFFFFE0Cu}};  // let go 500 ms before the wrap
  EXPECT_FALSE(SliderDue(t, 1499));
  EXPECT_TRUE(t.released.happened);
  EXPECT_TRUE(SliderDue(t, 1500));
  EXPECT_FALSE(t.released.happened);  // the hold is over and forgotten
  t = {false, {true, 0xFFFFFFC0u}, {}};
  EXPECT_FALSE(SliderDue(t, 30));  // read 94 ms ago, across the wrap
}

TEST(ControlMath, SliderWritesSnapTheBalanceAndSetTheLayoutByte) {
  EqPositions eq{};
  eq.layout = 1;
  eq.sliders[4] = 40;
  EXPECT_EQ(WriteSlider(0, 64, eq).volume, 64u);
  for (const auto& [value, balance] : {std::pair{47, 50u}, {55, 50u}, {56, 56u}, {0, 1u}})
    EXPECT_EQ(WriteSlider(1, value, eq).balance, balance) << value;
  EXPECT_EQ(WriteSlider(2, 99, eq).skipTo, 100u);
  const SliderWrite twenty = WriteSlider(15, 75, eq);
  ASSERT_TRUE(twenty.eq);
  EXPECT_TRUE(twenty.bandChanged);
  EXPECT_EQ(twenty.eq->layout, 0);
  EXPECT_EQ(twenty.eq->sliders[2], 100);
  EXPECT_EQ(twenty.eq->sliders[4], 40);  // the others stay
  const SliderWrite ten = WriteSlider(12, 0, eq);
  EXPECT_EQ(ten.eq->layout, 1);
  EXPECT_EQ(ten.eq->sliders[9], -200);
  eq.layout = 0;
  const SliderWrite preamp = WriteSlider(33, 100, eq);
  EXPECT_EQ(preamp.eq->preamp, 0);
  EXPECT_EQ(preamp.eq->layout, 0);  // left as it is
  EXPECT_FALSE(preamp.bandChanged);
  EXPECT_FALSE(WriteSlider(40, 5, eq).volume || WriteSlider(40, 5, eq).eq);
}

TEST(ControlMath, SliderValuesFromThePressAndTheDrawing) {
  // Vertical values run upwards.
  for (const auto& [at, size, vertical, value] : {std::tuple{37, 100, false, 37}, {130, 100, false, 100},
                                                  {-4, 100, false, 0}, {25, 50, true, 50}, {0, 50, true, 100},
                                                  {5, 0, false, 0}})
    EXPECT_EQ(SliderValueAt(at, size, vertical), value) << at << " " << size;

  const SliderLayout h = LayoutSlider(50, 100, 10, 8, 14, false);
  EXPECT_EQ(h.fill, (SkinRect{0, 0, 50, 10}));
  EXPECT_EQ(h.knob, (WindowPlace{46, -2}));
  EXPECT_EQ(LayoutSlider(100, 100, 10, 8, 14, false).knob.x, 92);
  const SliderLayout v = LayoutSlider(25, 10, 80, 12, 6, true);
  EXPECT_EQ(v.fill, (SkinRect{0, 60, 10, 80}));
  EXPECT_EQ(v.knob, (WindowPlace{-1, 55}));

  // The equaliser curve: -200 at the bottom, +200 at the top; beyond (any float the curve of any
  // positions gives) at the edge.
  const struct {
    float value;
    int32_t height, y;
  } curve[] = {{0, 40, 20},    {200, 40, 0},   {-200, 40, 40}, {-100, 40, 30},
               {1e30f, 40, 0}, {-1e30f, 40, 40}, {NAN, 40, 40}};
  for (const auto& c : curve) EXPECT_EQ(CurveY(c.value, c.height), c.y) << c.value << " " << c.height;
}

TEST(ControlMath, TextKinds) {
  const TrackTime time{754000, 65000, 689000};
  TrackRecord t{};
  EXPECT_EQ(ElementText(0, t, time, 0), "Not Playing");
  EXPECT_EQ(ElementText(4, t, time, 192), "");  // no bit rate in the record: nothing
  EXPECT_EQ(ElementText(5, t, time, 0), "");
  std::strcpy(t.path, "C:\\a.mp3");
  EXPECT_EQ(ElementText(0, t, time, 0), "C:\\a.mp3");
  std::strcpy(t.title, "Song");
  EXPECT_EQ(ElementText(0, t, time, 0), "Song");
  std::strcpy(t.artist, "Band");
  t.bitRateKbps = 128, t.sampleRate = 44100, t.channels = 2, t.trackNumber = 7, t.preference = 3, t.fileSize = 2048;
  const struct {
    int32_t kind;
    uint32_t currentBitRate;
    const char* text;
  } cases[] = {{0, 0, "Band - Song"}, {1, 0, " 1:05"}, {2, 0, "-11:29"}, {3, 0, "12:34"}, {4, 0, "128"},
               {4, 96, " 96"},        {5, 0, "44"},    {6, 0, "Stereo"}, {7, 0, "2"},     {11, 0, " 7"},
               {12, 0, "C:\\a.mp3"},  {13, 0, "3"},    {14, 0, ""},       {15, 0, "3"},     {16, 0, ""}};
  for (const auto& c : cases) EXPECT_EQ(ElementText(c.kind, t, time, c.currentBitRate), c.text) << c.kind;
  EXPECT_EQ(ElementText(3, t, TrackTime{3600000, 0, 0}, 0), "60:00");
  t.bitRateKbps = 1411, t.channels = 1, t.fileSize = 0;
  EXPECT_EQ(ElementText(4, t, time, 0), "CD");
  EXPECT_EQ(ElementText(6, t, time, 0), "Mono");
  EXPECT_EQ(ElementText(15, t, time, 0), "0");
}

TEST(ControlMath, ScrollingJumpsToTheSecondCopy) {
  int32_t offset = 0;
  for (int tick = 1; tick <= 160; ++tick) offset = NextScrollOffset(offset, 150, 100, true);
  EXPECT_EQ(offset, -160);
  EXPECT_EQ(SecondCopyAt(-160, 150, 100), 50);
  EXPECT_EQ(NextScrollOffset(offset, 150, 100, true), 48);  // the 161st tick: -161 + 150 + 60 - 1
  EXPECT_EQ(SecondCopyAt(-10, 150, 100), std::nullopt);    // past the element's end
  EXPECT_EQ(SecondCopyAt(0, 150, 100), std::nullopt);
  EXPECT_EQ(SecondCopyAt(-5, 20, 100), 95);  // a short text: the gap is the width left over
  EXPECT_EQ(NextScrollOffset(-31, 20, 100, true), 67);
  EXPECT_EQ(NextScrollOffset(-40, 20, 100, false), 0);
  EXPECT_EQ(NextScrollOffset(-400, 300, 100, true), 100);  // no second copy to jump to
}

TEST(ControlMath, BitmapFontsFoldAccentsAndAdvanceACellLessOne) {
  EXPECT_EQ(BitmapTextWidth(400, "abc"), 9);
  // 0xA9 has no fold: beyond the cells, drawn as nothing.
  for (const auto& [from, to] : {std::pair<int, int>{0xE9, 'e'}, {0x93, '"'}, {0xC5, 0x7B}, {0xF8, 0x80}, {0xFF, 'y'},
                                 {'A', 'A'}, {0xA9, 0xA9}})
    EXPECT_EQ(FoldForBitmapFont(static_cast<uint8_t>(from)), to) << from;
  for (const auto& [c, cell] : {std::pair<int, std::optional<int32_t>>{'!', 0}, {0x80, 95}, {' ', std::nullopt}, {0x81, std::nullopt}})
    EXPECT_EQ(GlyphCell(static_cast<uint8_t>(c)), cell) << c;
}

// One cell (or one bare advance) per character, whatever its length in bytes.
TEST(ControlMath, BitmapFontsShowEachCharacterOnceAndWhatTheyLackAsTheFallback) {
  const std::optional<int32_t> q = '?' - 33, none;
  const struct {
    const char* text;
    std::vector<std::optional<int32_t>> cells;
  } cases[] = {
      {"Az !", {'A' - 33, 'z' - 33, none, '!' - 33}},
      {"\xC3\xA9\xC3\x85\xC3\xB8", {'e' - 33, 0x7B - 33, 0x80 - 33}},  // é Å ø: folded as Latin-1
      {"\xE2\x80\x9Cx\xE2\x80\x94", {'"' - 33, 'x' - 33, '-' - 33}},  // “x—: the 1252 marks
      {"\xC2\xA9\xD0\x9F\xD0\xB5", {q, q, q}},                       // ©Пе
      {"\xE5\xA4\x9C\xE6\x9B\xB2", {q, q}},                           // 夜曲
      {"\xF0\x9F\x8E\xB5", {q}},                                        // an emoji, 4 bytes
      {"\xFF\xC3\xE5\xA4", {q, q, q, q}},                               // invalid: one each
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BitmapFontCells(c.text), c.cells) << c.text;
    EXPECT_EQ(BitmapTextWidth(400, c.text), 3 * static_cast<int32_t>(c.cells.size())) << c.text;
  }
}

TEST(ControlMath, DialogSelectionsComeInByteOrder) {
  using namespace std::string_literals;
  const FileSelection one = SelectedFiles("C:\\Music\\b.mp3\0"s);
  EXPECT_EQ(one.folder, "C:\\Music\\");
  EXPECT_EQ(one.paths, (std::vector<std::string>{"C:\\Music\\b.mp3"}));
  const FileSelection many = SelectedFiles("C:\\Music\0b.mp3\0B.mp3\0a.wav\0\0"s);
  EXPECT_EQ(many.folder, "C:\\Music\\");
  EXPECT_EQ(many.paths, (std::vector<std::string>{"C:\\Music\\B.mp3", "C:\\Music\\a.wav", "C:\\Music\\b.mp3"}));
  EXPECT_EQ(SelectedFiles("C:\\\0x.mp3\0\0"s).paths[0], "C:\\x.mp3");  // a root folder keeps one backslash
  EXPECT_TRUE(SelectedFiles(""s).paths.empty());
}

TEST(ControlMath, ALitToggleShowsPressedUntilPressedAgain) {
  const int unlit[] = {0, 1, 2}, lit[] = {1, 0, 1};  // idle, pressed, over: normal 0, pressed 1, over 2
  for (int state = 0; state < 3; ++state) {
    EXPECT_EQ(ButtonBitmap(state, false), unlit[state]) << state;
    EXPECT_EQ(ButtonBitmap(state, true), lit[state]) << state;
  }
}

}  // namespace
}  // namespace ox
