#include "ui/TrayHover.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

using Change = TrayHover::Change;

// Ticks every 250 ms from `from` up to `to`, the cursor at (x, y); the first change and its time.
std::pair<Change, uint32_t> TickUntil(TrayHover& tray, uint32_t from, uint32_t to, int x, int y, bool overControl) {
  for (uint32_t t = from; t - from <= to - from; t += 250) {
    const Change c = tray.Tick(x, y, overControl, t);
    if (c != Change::None) return {c, t};
  }
  return {Change::None, to};
}

TEST(TrayHover, RestingActivates_LeavingBothDeactivatesAfter751Ms) {
  for (uint32_t start : {1000u, 0xFFFFFF00u}) {  // also across the wrap of the tick count
    SCOPED_TRACE(start);
    TrayHover tray(start);
    tray.MouseMove(10, 20, start);
    EXPECT_EQ(tray.Tick(10, 20, false, start + 50), Change::None);  // still, but not more than 50 ms
    EXPECT_EQ(tray.Tick(10, 20, false, start + 51), Change::Activate);
    EXPECT_TRUE(tray.active);
    // On the tray-control window, away from the icon: it stays.
    EXPECT_EQ(TickUntil(tray, start + 251, start + 5251, 300, 300, true).first, Change::None);
    // Off both: the last activity was at start + 5251.
    EXPECT_EQ(tray.Tick(300, 301, false, start + 5251 + 750), Change::None);
    EXPECT_EQ(tray.Tick(300, 301, false, start + 5251 + 751), Change::Deactivate);
    EXPECT_FALSE(tray.active);
  }
}

TEST(TrayHover, AMovingCursorOrARecentRightClickKeepsItDown) {
  TrayHover tray(0);
  tray.MouseMove(10, 20, 100);
  EXPECT_EQ(tray.Tick(11, 20, false, 400), Change::None);  // moved on: the hover is dropped
  EXPECT_FALSE(tray.hoverPending);
  EXPECT_EQ(tray.Tick(10, 20, false, 650), Change::None);

  EXPECT_FALSE(tray.RightClick(10000));
  tray.MouseMove(10, 20, 10100);
  const auto [change, at] = TickUntil(tray, 10250, 20000, 10, 20, false);
  EXPECT_EQ(change, Change::Activate);
  EXPECT_EQ(at, 13250u);  // the first tick more than 3000 ms after the click
  TrayHover edge(0);  // more than 3000 ms after the click, not 3000
  edge.RightClick(20000);
  edge.MouseMove(1, 1, 20000);
  EXPECT_EQ(edge.Tick(1, 1, false, 23000), Change::None);
  EXPECT_EQ(edge.Tick(1, 1, false, 23001), Change::Activate);
  EXPECT_TRUE(tray.RightClick(14000));  // a right click also takes it down
  EXPECT_FALSE(tray.active);
  tray.MouseMove(50, 50, 14100);  // moves over the icon while active are not hovers
  EXPECT_EQ(tray.Tick(50, 50, false, 14200), Change::None);
}

}  // namespace
}  // namespace ox
