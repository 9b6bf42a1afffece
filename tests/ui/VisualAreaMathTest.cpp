#include "ui/VisualAreaMath.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "ui/SkinLimits.h"

namespace ox {
namespace {

TEST(VisualAreaMath, BarsTakeTheirValuesAndFallBack_PeaksDropEverFaster) {
  std::vector<int32_t> twenty, ten;
  for (int32_t bar = 0; bar < 20; ++bar) twenty.push_back(BarSpectrumIndex(bar, 20));
  for (int32_t bar = 0; bar < 10; ++bar) ten.push_back(BarSpectrumIndex(bar, 10));
  EXPECT_EQ(twenty, (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 19, 23, 33, 46, 58, 69, 92}));
  EXPECT_EQ(ten, (std::vector<int32_t>{1, 3, 5, 7, 9, 11, 15, 23, 46, 69}));
  EXPECT_EQ(BarSpectrumIndex(30, 64), 30);
  EXPECT_EQ(BarSpectrumIndex(256, 300), 255);  // never past the 256 values
  for (const auto& [bars, across, thickness, gap] : {std::tuple{20, 100, 4, 1}, {256, 256, 1, 0}, {50, 20, 1, 1}}) {
    const BarLayout l = LayoutBars(bars, across);  // 100 / 20 - 1; no gaps at 256 bars
    EXPECT_EQ(std::make_pair(l.thickness, l.gap), std::make_pair(thickness, gap)) << bars << " " << across;
  }
  // The record's count, held to 1..kMaxVisualBars and to the pixels across the area.
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
  const struct {
    int32_t count, across, bars;
  } counts[] = {{20, 120, 20}, {256, 256, 256}, {kMax, 120, 120}, {10000000, 4000, kMaxVisualBars},
                {0, 50, 1},    {kMin, 50, 1},   {20, 0, 1},       {20, -7, 1}};
  for (const auto& c : counts) EXPECT_EQ(BarCount(c.count, c.across), c.bars) << c.count << " " << c.across;
  for (const auto& [level, value, fallen] : {std::tuple{200, 10, 176}, {125, 100, 101}, {30, 100, 100}, {10, 0, 0}})
    EXPECT_EQ(FallenLevel(level, value), fallen) << level << " " << value;

  BarPeak p;
  p.Step(200);
  EXPECT_EQ(p.peak, 200);
  EXPECT_EQ(p.speed, 1);
  std::vector<int32_t> peaks;
  for (int i = 0; i < 6; ++i) p.Step(0), peaks.push_back(p.peak);
  // speed 1, 7, 13, 19, 25, 31: drops of 0, 0, 0, 1, 1, 1 (speed / 16)
  EXPECT_EQ(peaks, (std::vector<int32_t>{200, 200, 200, 199, 198, 197}));
  for (int i = 0; i < 14; ++i) p.Step(0);
  EXPECT_EQ(p.speed, 80);  // at most 80
  EXPECT_GT(p.peak, 0);
  for (int i = 0; i < 200; ++i) p.Step(0);
  EXPECT_EQ(p.peak, 0);
}

TEST(VisualAreaMath, SegmentsScopeMeterAndColours) {
  // A bar 100 long in 10 segments with a gap of 2, its level reaching 45: four whole segments.
  EXPECT_EQ(BarSegments(45, 100, 10, 2), (std::vector<Span>{{0, 8}, {10, 8}, {20, 8}, {30, 8}}));
  EXPECT_EQ(BarSegments(20, 100, 0, 5), std::vector<Span>{});    // one segment of 100: not reached
  EXPECT_EQ(BarSegments(3, 3, 10, 2), (std::vector<Span>{{0, 1}, {1, 1}, {2, 1}}));  // at least a pixel
  // Counts and gaps from anyone: held to the skin bounds, no overflow, at most ~2 x 256 segments.
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(BarSegments(10, 10, 2, kMin), (std::vector<Span>{{0, 5}, {5, 5}}));
  EXPECT_EQ(BarSegments(kMax, kMax, kMax, kMax).size(), 256u);
  EXPECT_EQ(BarSegments(kMax, 300, kMax, 0).size(), 300u);
  EXPECT_EQ(BarExtent(1000, 1000, kMax, true), 999);  // in step with the segments: 256 counted, of 3
  auto fields = [](const BarLook& l) {
    return std::make_tuple(l.orientation, l.colourMode, l.style, l.segments, l.gap, l.peaks);
  };
  EXPECT_EQ(fields(BarLookOf({99, -1, 1, 2}, 7, kMax, kMin, 3, 1, 4)),
            std::make_tuple(BarOrientation::Up, BarColourMode::None, BarDrawStyle::Segmented, kMaxBarSegments, 0, true));
  const BarLook valid = BarLookOf({3, 2, 1, 2}, 2, 0, kMax, 3, 0, 4);  // 0 segments count as 1
  EXPECT_EQ(fields(valid),
            std::make_tuple(BarOrientation::Left, BarColourMode::Gradient, BarDrawStyle::Outlined, 1, kMaxBarGap,
                            false));
  EXPECT_FALSE(valid.Vertical());

  // A bar is copied from a picture of full bars up to its extent: the segments below the extent in
  // the full bar must be exactly the bar's own, and a solid bar reaches its level.
  for (int32_t length = 1; length <= 40; ++length)
    for (int32_t count = 0; count <= 12; ++count)
      for (int32_t drawn = 0; drawn <= length; ++drawn) {
        const int32_t extent = BarExtent(drawn, length, count, true);
        std::vector<Span> below;
        for (const Span& s : BarSegments(length, length, count, 1))
          if (s.from < extent) below.push_back(s);
        ASSERT_EQ(below, BarSegments(drawn, length, count, 1)) << length << " " << count << " " << drawn;
        ASSERT_LE(extent, drawn);
        ASSERT_EQ(BarExtent(drawn, length, count, false), drawn);
      }

  int8_t wave[512] = {};
  wave[0] = 127, wave[10] = -128, wave[500] = 64;
  const std::vector<Point> points = ScopePoints(wave, 100, 40);
  ASSERT_EQ(points.size(), 52u);
  EXPECT_EQ(points[0].y, 0);  // 40 x 1 / 256
  EXPECT_EQ(points[1].x, 1);  // 100 x 10 / 512
  EXPECT_EQ(points[1].y, 40);
  EXPECT_EQ(points[50].y, 10);
  EXPECT_EQ(points[51].x, 99);
  EXPECT_EQ(MeterLevel(0, wave), 128);
  const std::vector<int8_t> quiet(512, 3);
  EXPECT_EQ(MeterLevel(128, quiet.data()), 104);  // falls back 24

  // A level beyond 256 shows as 256.
  for (const auto& [from, to, level, colour] :
       {std::tuple{0x000000u, 0xFF8040u, 128, 0x7F4020u}, {0x102030u, 0x102030u, 255, 0x102030u},
        {0x000000u, 0xFF8040u, kMax, 0xFF8040u}, {0x102030u, 0xFF8040u, kMin, 0x102030u}})
    EXPECT_EQ(ColourByLevel(from, to, level), colour) << level;
}

}  // namespace
}  // namespace ox
