#include "ui/VisualAreaMath.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(LayoutBars(20, 100).thickness, 4);  // 100 / 20 - 1
  EXPECT_EQ(LayoutBars(256, 256).gap, 0);
  EXPECT_EQ(LayoutBars(256, 256).thickness, 1);
  EXPECT_EQ(LayoutBars(50, 20).thickness, 1);
  EXPECT_EQ(FallenLevel(200, 10), 176);
  EXPECT_EQ(FallenLevel(125, 100), 101);
  EXPECT_EQ(FallenLevel(30, 100), 100);
  EXPECT_EQ(FallenLevel(10, 0), 0);

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

  EXPECT_EQ(ColourByLevel(0x000000, 0xFF8040, 128), 0x7F4020u);
  EXPECT_EQ(ColourByLevel(0x102030, 0x102030, 255), 0x102030u);
}

}  // namespace
}  // namespace ox
