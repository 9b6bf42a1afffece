#include "ui/SkinGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace ox {
namespace {

const SkinRect kWork{0, 0, 1024, 738};
const SkinRect kGroup{10, 20, 310, 220};  // 300 x 200

PlacementInput Input(int32_t placement, bool isFirst = true) {
  PlacementInput in;
  in.placement = placement;
  in.isFirst = isFirst;
  in.record = isFirst ? WindowPlace{10, 20} : WindowPlace{10, 136};
  in.firstRecord = {10, 20};
  in.group = kGroup;
  in.work = kWork;
  in.width = 300, in.height = 116;
  in.workAreas = {kWork};
  return in;
}

TEST(SkinGeometry, PlacementAtTheCursorKeepsTheGroupInsideTheWorkArea) {
  PlacementInput in = Input(0);
  const std::pair<WindowPlace, WindowPlace> cases[] = {
      {{500, 400}, {350, 300}}, {{1020, 730}, {724, 538}}, {{3, 2}, {0, 0}}};
  for (const auto& [cursor, home] : cases) {
    in.cursor = cursor;
    EXPECT_EQ(HomePosition(in), home) << cursor.x;
  }
  EXPECT_EQ(ClampIntoWorkArea({900, -50}, {0, 0, 2000, 100}, kWork), (WindowPlace{0, 0}));  // wider: left wins
}

TEST(SkinGeometry, RememberedPlacement_RelativeThenSavedThenCentred_OffScreenPlacesSkipped) {
  PlacementInput first = Input(1);
  EXPECT_EQ(HomePosition(first), (WindowPlace{512 - 150, 369 - 100}));
  first.saved = WindowPlace{40, 50};
  EXPECT_EQ(HomePosition(first), (WindowPlace{40, 50}));
  EXPECT_TRUE(IsOnSomeWorkArea({1024 - 16, 738 - 16}, 300, 116, {kWork}));  // 16 by 16 pixels still show
  EXPECT_FALSE(IsOnSomeWorkArea({1024 - 16, 738 - 15}, 300, 116, {kWork}));
  EXPECT_FALSE(IsOnSomeWorkArea({1024 - 15, 738 - 16}, 300, 116, {kWork}));
  first.saved = WindowPlace{3000, 50};  // a monitor that is gone
  EXPECT_EQ(HomePosition(first), (WindowPlace{362, 269}));

  PlacementInput other = Input(1, false);
  other.firstNow = WindowPlace{100, 100};
  EXPECT_EQ(HomePosition(other), (WindowPlace{100, 216}));  // the design offset from where the first is
  other.saved = WindowPlace{7, 8};
  EXPECT_EQ(HomePosition(other), (WindowPlace{7, 8}));
  other.relative = WindowPlace{0, 115};
  EXPECT_EQ(HomePosition(other), (WindowPlace{100, 215}));
  other.firstNow.reset();  // no first window: the relative place means nothing
  EXPECT_EQ(HomePosition(other), (WindowPlace{7, 8}));
}

TEST(SkinGeometry, DesignPlacementPutsTheFirstAtTheOriginAndOthersAtTheirOffsets) {
  EXPECT_EQ(HomePosition(Input(2)), (WindowPlace{0, 0}));
  PlacementInput other = Input(2, false);
  EXPECT_EQ(HomePosition(other), (WindowPlace{10, 136}));  // the first's record place, no first window
  other.firstNow = WindowPlace{-5, 40};
  EXPECT_EQ(HomePosition(other), (WindowPlace{-5, 156}));
  EXPECT_EQ(HomePosition(Input(7)), (WindowPlace{0, 0}));  // unknown: the record place in the group
}

TEST(SkinGeometry, AnimationFractionIsZeroForTenMsThenEasesToOne) {
  EXPECT_EQ(AnimationFraction(1, 0), 0.0);
  EXPECT_EQ(AnimationFraction(1, 10), 0.0);
  EXPECT_GT(AnimationFraction(1, 11), 0.0);
  EXPECT_NEAR(AnimationFraction(1, 100), 1 / (std::log10(750.0) - 1), 1e-12);
  EXPECT_GT(AnimationFraction(1, 100), 0.5);  // fast at first, slow at the end
  EXPECT_DOUBLE_EQ(AnimationFraction(1, 750), 1.0);
  EXPECT_DOUBLE_EQ(AnimationFraction(5, 375), 0.5);
  EXPECT_DOUBLE_EQ(AnimationFraction(6, 75), 0.1);
}

TEST(SkinGeometry, EachModeMovesOrSizesItsOwnCoordinate_ClosingRunsBackwards) {
  const WindowPlace home{200, 300};
  struct Case {
    int32_t mode;
    AnimationFrame start;
  } cases[] = {
      {1, {{200, -200}, 300, 116}}, {2, {{200, 738}, 300, 116}},  {3, {{-300, 300}, 300, 116}},
      {4, {{1024, 300}, 300, 116}}, {5, {{200, 300}, 300, 0}},    {6, {{200, 300}, 0, 116}},
      {7, {{200, 416}, 300, 116}},  {8, {{200, 184}, 300, 116}},  {9, {{500, 300}, 300, 116}},
      {10, {{-100, 300}, 300, 116}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    const AnimationFrame start = AnimationStart(c.mode, home, 300, 116, kGroup, kWork);
    EXPECT_TRUE(std::tie(start.at, start.width, start.height) == std::tie(c.start.at, c.start.width, c.start.height));
    const AnimationFrame early = AnimationAt(c.mode, false, 5, start, home, 300, 116);
    EXPECT_EQ(early.at, start.at);
    const AnimationFrame mid = AnimationAt(c.mode, false, 375, start, home, 300, 116);
    const double f = AnimationFraction(c.mode, 375);
    EXPECT_EQ(mid.at.x, static_cast<int32_t>(start.at.x + (home.x - start.at.x) * f));
    EXPECT_EQ(mid.at.y, static_cast<int32_t>(start.at.y + (home.y - start.at.y) * f));
    EXPECT_EQ(mid.width, c.mode == 6 ? 150 : 300);
    EXPECT_EQ(mid.height, c.mode == 5 ? 58 : 116);
    const AnimationFrame closingMid = AnimationAt(c.mode, true, 750 - 375, start, home, 300, 116);
    EXPECT_EQ(closingMid.at, mid.at);
    const AnimationFrame opened = AnimationAt(c.mode, false, 750, start, home, 300, 116);
    EXPECT_TRUE(opened.done);
    EXPECT_EQ(opened.at, home);
    EXPECT_EQ(opened.width, 300);
    const AnimationFrame closed = AnimationAt(c.mode, true, 800, start, home, 300, 116);
    EXPECT_TRUE(closed.done);
    EXPECT_EQ(closed.width + closed.height, 0);
  }
}

TEST(SkinGeometry, StackingByRank_TiesKeepTheirOrder_MissingWindowsAreSkipped) {
  // Window 0 goes behind 1, not 3 (of a lower rank but missing); window 2 behind 1, not 0 (the same rank).
  std::vector<std::pair<size_t, std::optional<size_t>>> steps;
  for (const StackStep& step : StackingPlan({2, 0, 2, 1}, {true, true, true, false}))
    steps.push_back({step.window, step.behind});
  EXPECT_EQ(steps, (decltype(steps){{1, std::nullopt}, {3, 1}, {0, 1}, {2, 1}}));
}

// Main at 100,100 (300x116); the equaliser docked below it; a panel docked right of the equaliser;
// a free window; a follower of placement 2.
std::vector<DragWindow> Group() {
  return {{{100, 100, 400, 216}, 1}, {{100, 215, 400, 331}, 1}, {{399, 250, 499, 300}, 1},
          {{600, 100, 700, 200}, 1}, {{0, 500, 50, 550}, 2}};
}

TEST(SkinGeometry, DraggingMovesDockedChainsAndFollowers) {
  const std::vector<DragWindow> windows = Group();
  const Docking docking = FindDocking(windows);
  EXPECT_EQ(docking.below[0], 1u);
  EXPECT_EQ(docking.right[1], 2u);
  EXPECT_FALSE(docking.below[1]);
  EXPECT_EQ(WindowsThatMove(0, windows, docking), (std::vector<bool>{true, true, true, false, true}));
  EXPECT_EQ(WindowsThatMove(1, windows, docking), (std::vector<bool>{false, true, true, false, false}));
  EXPECT_EQ(WindowsThatMove(4, windows, docking), (std::vector<bool>{true, true, true, false, true}));
  EXPECT_EQ(WindowsThatMove(3, windows, docking), (std::vector<bool>{false, false, false, true, false}));
}

TEST(SkinGeometry, SnapsWithin16PixelsToWindowsNotDockedToIt) {
  const std::vector<DragWindow> windows = Group();
  const Docking docking = FindDocking(windows);
  // The free window (100x100) dragged near the main window's right edge.
  // Let go beyond 16; the bottom onto the main's top; the top onto its bottom; near the main
  // window's corner the equaliser's top row as well.
  const std::pair<WindowPlace, WindowPlace> cases[] = {{{410, 60}, {399, 60}},    {{415, 60}, {399, 60}},
                                                       {{416, 60}, {416, 60}},    {{150, 10}, {150, 1}},
                                                       {{150, 231}, {150, 215}},  {{150, 232}, {150, 232}},
                                                       {{410, 120}, {399, 116}}};
  for (const auto& [to, snapped] : cases) EXPECT_EQ(Snapped(3, to, windows, docking), snapped) << to.x << "," << to.y;
  // The equaliser is docked to the main window and the panel: it snaps to neither.
  EXPECT_EQ(Snapped(1, {105, 225}, windows, docking), (WindowPlace{105, 225}));
  // Placement 2 windows never snap, and the first window ignores them.
  EXPECT_EQ(Snapped(4, {45, 500}, windows, docking), (WindowPlace{45, 500}));
  std::vector<DragWindow> near = windows;
  near[4].rect = {410, 100, 460, 150};
  EXPECT_EQ(Snapped(0, {115, 100}, near, FindDocking(near)), (WindowPlace{115, 100}));
}

// Places may be anywhere in the 32-bit range (the fuzz target drives the arithmetic there): a wrapped
// sum would dock or snap windows far apart.
TEST(SkinGeometry, FarApartWindowsNeitherDockNorSnap) {
  constexpr int32_t kMin = INT32_MIN, kMax = INT32_MAX;
  const std::vector<DragWindow> far = {{{kMin, 0, kMin + 10, kMin}, 1}, {{kMin, kMax, kMin + 10, kMax}, 1},
                                       {{kMin, 0, kMin + 10, 10}, 1}, {{0, 0, 100, 10}, 1}};
  EXPECT_FALSE(FindDocking(far).below[0]);  // a bottom of kMin is no row above kMax
  EXPECT_EQ(Snapped(3, {kMax - 5, 0}, far, FindDocking(far)), (WindowPlace{kMax - 5, 0}));  // nowhere near kMin
}

TEST(SkinGeometry, WheelNotchesAreSixPointsWithin0To100) {
  const struct {
    int32_t volume, delta, after;
  } cases[] = {{50, 120, 56}, {50, -120, 44}, {98, 120, 100}, {3, -120, 0},
               {50, 1, 51},   {50, -1, 49},   {50, 0, 50},    {0, -32768, 0}};
  for (const auto& c : cases) EXPECT_EQ(VolumeAfterWheel(c.volume, c.delta), c.after) << c.volume << " " << c.delta;
}

}  // namespace
}  // namespace ox
