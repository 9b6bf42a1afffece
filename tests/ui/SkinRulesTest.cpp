#include "ui/SkinRules.h"

#include <gtest/gtest.h>

#include <climits>

namespace ox {
namespace {

TEST(SkinRules, WindowKeyTakesTheLastThreeFolderComponents) {
  EXPECT_EQ(SkinWindowKey("C:\\Program Files\\Orlavox\\Skins\\Default\\", "Main"),
            "Software\\Quillmarsh\\Orlavox\\Skin\\Skins\\Default\\Main");
  EXPECT_EQ(SkinWindowKey("Default\\", "Eq"), "Software\\Quillmarsh\\Orlavox\\Skin\\Default\\Eq");
  EXPECT_EQ(SkinWindowKey("", "Eq"), "Software\\Quillmarsh\\Orlavox\\Skin\\Eq");
  const std::string longName(300, 'n');
  EXPECT_EQ(SkinWindowKey("C:\\Skins\\" + longName + "\\", "W"),
            "Software\\Quillmarsh\\Orlavox\\Skin\\Skins\\" + longName + "\\W");
}

TEST(SkinRules, ShowConditions_ClassNamesArePrefixedAndFitTheSystemsLimit) {
  EXPECT_EQ(SkinWindowClassName("Main"), "OrlavoxSkin:Main");
  EXPECT_EQ(SkinWindowClassName(std::string(300, 'w')).size(), 255u);
  using C = ShowCondition;
  const std::pair<const char*, ShowCondition> conditions[] = {
      {"[ShowAlways]", C::Always}, {"<IsRillWindow>", C::MainWindow}, {"evtOxTrayControl", C::Event},
      {"UEqualiser", C::Event},    {"", C::Never},                    {"<Other>", C::Never},
      {"[ShowNever]", C::Never},   {"[showalways]", C::Never}};
  for (const auto& [condition, kind] : conditions) EXPECT_EQ(ClassifyShowCondition(condition), kind) << condition;
}

SkinWindowRecords WindowAt(int32_t x, int32_t y, int32_t width, int32_t height) {
  SkinWindowRecords w{};
  PutLe32(w.window.bytes + 34, static_cast<uint32_t>(x));
  PutLe32(w.window.bytes + 38, static_cast<uint32_t>(y));
  PutLe32(w.window.bytes + 42, static_cast<uint32_t>(height));
  PutLe32(w.window.bytes + 46, static_cast<uint32_t>(width));
  return w;
}

TEST(SkinRules, GroupBoundsIsTheUnionOfTheHeaderRectangles_HeldInRange) {
  EXPECT_EQ(GroupBounds({}), SkinRect{});
  EXPECT_EQ(GroupBounds({WindowAt(10, 20, 275, 116), WindowAt(10, 136, 275, 80), WindowAt(-5, 30, 4, 4)}),
            (SkinRect{-5, 20, 285, 216}));
  EXPECT_EQ(GroupBounds({WindowAt(INT_MAX, INT_MIN, INT_MAX, -10)}), (SkinRect{INT_MAX, INT_MIN, INT_MAX, INT_MIN}));
}

TEST(SkinRules, OutlinePointsAreWholeEightByteRecords_Capped) {
  std::vector<uint8_t> bytes(3 * 8 + 5, 0);
  PutLe32(&bytes[8], static_cast<uint32_t>(-7));
  PutLe32(&bytes[12], 300);
  MemorySource partial(bytes);
  const std::vector<SkinPoint> points = ReadOutline(partial);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[1].x, -7);
  EXPECT_EQ(points[1].y, 300);
  MemorySource huge(std::vector<uint8_t>((kMaxOutlinePoints + 10) * 8, 1));
  EXPECT_EQ(ReadOutline(huge).size(), kMaxOutlinePoints);
  MemorySource none(std::vector<uint8_t>(7, 1));
  EXPECT_TRUE(ReadOutline(none).empty());
}

TEST(SkinRules, RandomPickMovesAwayFromTheActiveSkin_TheTenthDrawStands) {
  int draws = 0;
  auto always = [&](int32_t value) {
    return [&draws, value](int32_t) {
      ++draws;
      return value;
    };
  };
  EXPECT_EQ(PickRandomSkin({"Only"}, "Only", always(0)), "Only");
  EXPECT_EQ(draws, 10);
  draws = 0;
  EXPECT_EQ(PickRandomSkin({"A", "B", "C"}, "A", always(2)), "C");
  EXPECT_EQ(draws, 1);
  int32_t sequence[] = {0, 0, 0, 1};
  int next = 0;
  EXPECT_EQ(PickRandomSkin({"A", "B"}, "A", [&](int32_t n) {
              EXPECT_EQ(n, 2);
              return sequence[next++];
            }),
            "B");
  EXPECT_EQ(next, 4);
  EXPECT_EQ(PickRandomSkin({}, "A", always(0)), "");
}

TEST(SkinRules, TimedSkinChangeOnEvery300thCheckAfterMoreWholeMinutesThanChosen) {
  struct Case {
    uint32_t check, option, minutes, elapsedMs;
    bool change;
  } cases[] = {
      {300, 2, 1, 120000, true}, {600, 2, 1, 120000, true},  {300, 2, 1, 119999, false}, {299, 2, 1, 999999, false},
      {301, 2, 1, 999999, false}, {300, 1, 1, 999999, false}, {300, 0, 1, 999999, false}, {300, 2, 0, 60000, true},
      {300, 2, 0, 59999, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TimeForRandomSkin(c.check, c.option, c.minutes, c.elapsedMs), c.change)
        << c.check << " " << c.option << " " << c.minutes << " " << c.elapsedMs;
}

}  // namespace
}  // namespace ox
