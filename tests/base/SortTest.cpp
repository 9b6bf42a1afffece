#include "base/Sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace ox {
namespace {

TEST(Sort, QuickSort_RandomInputsComeOutSortedAndPermuted_OnlyInTheRangeGiven) {
  std::mt19937 gen(7);
  for (int n : {0, 1, 2, 3, 8, 9, 100, 1000}) {
    std::vector<int> items(n);
    for (int& v : items) v = static_cast<int>(gen() % 50);  // many duplicates
    std::vector<int> expected = items;
    std::sort(expected.begin(), expected.end());
    QuickSort(items, 0, n - 1, [](int a, int b) { return a < b; });
    EXPECT_EQ(items, expected) << "n=" << n;
  }
  // Only the range is sorted; bad bounds sort nothing.
  std::vector<int> items = {9, 8, 7, 6, 5, 4};
  QuickSort(items, 1, 4, [](int a, int b) { return a < b; });
  EXPECT_EQ(items, (std::vector<int>{9, 5, 6, 7, 8, 4}));
  QuickSort(items, -1, 3, [](int a, int b) { return a < b; });
  QuickSort(items, 0, 6, [](int a, int b) { return a < b; });
  EXPECT_EQ(items, (std::vector<int>{9, 5, 6, 7, 8, 4}));
}

TEST(Sort, QuickSort_EqualItemsEndWhereTheMiddlePivotPutsThem) {
  // Which of two equal items comes first is what the sibling programs see; a stable sort would
  // keep "abc" and "bdeac". Traced by hand through the pivot and the crossing indices.
  using Item = std::pair<int, char>;
  auto byKey = [](const Item& a, const Item& b) { return a.first < b.first; };
  auto tags = [](const std::vector<Item>& items) {
    std::string t;
    for (const Item& i : items) t += i.second;
    return t;
  };
  std::vector<Item> three = {{1, 'a'}, {1, 'b'}, {1, 'c'}};
  QuickSort(three, 0, 2, byKey);
  EXPECT_EQ(tags(three), "cba");
  std::vector<Item> five = {{3, 'a'}, {1, 'b'}, {3, 'c'}, {1, 'd'}, {2, 'e'}};
  QuickSort(five, 0, 4, byKey);
  EXPECT_EQ(tags(five), "dbeac");
}

TEST(Sort, SortStrings_ByteOrderOrCaseFolded) {
  std::vector<std::string> list = {"beta", "Alpha", "_x", "alpha", "\xE9t\xE9", "Beta2"};
  SortStrings(list, false);
  EXPECT_EQ(list, (std::vector<std::string>{"Alpha", "Beta2", "_x", "alpha", "beta", "\xE9t\xE9"}));
  SortStrings(list, true);
  // "_" (0x5F) sorts before letters once they are folded to lower case; equal ones as the pivot puts them.
  EXPECT_EQ(list, (std::vector<std::string>{"_x", "alpha", "Alpha", "beta", "Beta2", "\xE9t\xE9"}));
}

}  // namespace
}  // namespace ox
