#include "ui/TooltipMath.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

TEST(TooltipMath, PlacedAboveTheCursorInsideTheDesktop) {
  const struct {
    TooltipKind kind;
    int32_t x, y, width, height;
    SkinRect place;
  } cases[] = {
      {TooltipKind::Button, 300, 200, 40, 13, {300, 173, 346, 190}},  // padded 6 x 4, 10 above
      {TooltipKind::Track, 300, 400, 100, 52, {300, 330, 454, 390}},  // padded 54 x 8
      {TooltipKind::Button, 300, 20, 40, 13, {300, 32, 346, 49}},     // above the screen: y 32
      {TooltipKind::Button, 300, 27, 40, 13, {300, 0, 346, 17}},      // just on it: stays at 0
      {TooltipKind::Track, 300, 20, 100, 52, {300, 0, 454, 60}},      // ... or 0
      {TooltipKind::Button, -5, 200, 40, 13, {0, 173, 46, 190}},
      {TooltipKind::Button, 1000, 200, 40, 13, {978, 173, 1024, 190}},  // the right edge
      {TooltipKind::Button, 300, 20, 40, 750, {300, 14, 346, 768}},    // the bottom edge after the top
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(TooltipPlace(c.kind, c.x, c.y, c.width, c.height, 1024, 768) == c.place) << c.x << "," << c.y;
  }
}

TEST(TooltipMath, AButtonsTooltipIsDueAfterTheDelayOnTheSameButton) {
  ButtonHover hover;
  EXPECT_FALSE(hover.Pass(0xA, 1000, 1000));  // first seen: the wait starts
  EXPECT_FALSE(hover.Pass(0xA, 2000, 1000));
  EXPECT_TRUE(hover.Pass(0xA, 2001, 1000));
  EXPECT_FALSE(hover.Pass(0xB, 2050, 1000));  // another button starts the wait again
  EXPECT_FALSE(hover.Pass(0xB, 3050, 1000));
  EXPECT_FALSE(hover.Pass(0, 3100, 1000));    // off every button
  EXPECT_FALSE(hover.Pass(0xB, 3150, 1000));  // back on B: the wait counts from the last pass off
  EXPECT_TRUE(hover.Pass(0xB, 4101, 1000));
  for (int32_t kind = -1; kind <= 17; ++kind) {
    const bool title = kind == 0 || kind == 8 || kind == 9 || kind == 10 || kind == 11 || kind == 12 || kind == 14;
    EXPECT_EQ(IsTrackTitleKind(kind), title) << kind;
  }
  EXPECT_TRUE(KeepsTrackTooltip(10, 20, 10, 90));
  EXPECT_TRUE(KeepsTrackTooltip(10, 20, 70, 20));
  EXPECT_FALSE(KeepsTrackTooltip(10, 20, 11, 21));
}

}  // namespace
}  // namespace ox
