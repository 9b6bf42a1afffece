#include <gtest/gtest.h>

#include "librarian/LibrarianRules.h"

namespace ox {
namespace {

TEST(LibrarianRulesTest, CommandLineAsksForAView) {
  const struct {
    const char* line;
    bool selective;
  } cases[] = {
      {"\"C:\\Program Files\\Orlavox\\Librarian.exe\" <selective>", true},
      {"C:\\Orlavox\\Librarian.exe <Selective>", true},
      {"\"C:\\Program Files\\Orlavox\\Librarian.exe\"", false},
      {"\"C:\\<selective>\\Librarian.exe\"", false},  // the program's own path does not count
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(AsksForSelective(c.line), c.selective) << c.line;
}

// Every control lies inside the client area and the ones side by side do not overlap, at any
// size (down to a tiny one) and scale.
TEST(LibrarianRulesTest, LayoutFitsAndScales) {
  const struct {
    int width, height, dpi;
  } cases[] = {{900, 600, 96}, {1800, 1200, 192}, {100, 50, 96}, {640, 480, 144}};
  auto inside = [](const Box& b, int w, int h) {
    return b.x >= 0 && b.y >= 0 && b.x + b.width <= w && b.y + b.height <= h;
  };
  auto apart = [](const Box& a, const Box& b) {
    return a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y || b.y + b.height <= a.y;
  };
  for (const auto& c : cases) {
    const LibrarianLayout l = LayOut(c.width, c.height, c.dpi);
    const int w = std::max(c.width, 320 * c.dpi / 96), h = std::max(c.height, 200 * c.dpi / 96);
    for (const Box& b : {l.filterLabel, l.filter, l.tree, l.list, l.artists, l.genres, l.apply, l.clear, l.count,
                         l.status, l.progress, l.cancel})
      EXPECT_TRUE(inside(b, w, h)) << c.width << "x" << c.height << " at " << b.x << "," << b.y;
    EXPECT_TRUE(apart(l.tree, l.list) && apart(l.artists, l.genres) && apart(l.status, l.progress) &&
                apart(l.progress, l.cancel) && apart(l.apply, l.clear) && apart(l.filter, l.group) &&
                apart(l.count, l.apply) && apart(l.count, l.status) && apart(l.genres, l.apply) &&
                apart(l.artistsLabel, l.artists) && apart(l.list, l.status))
        << c.width << "x" << c.height;
    EXPECT_EQ(l.list.x + l.list.width, w - 6 * c.dpi / 96);
  }
}

}  // namespace
}  // namespace ox
