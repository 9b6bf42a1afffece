#include "base/Text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace ox {
namespace {

TEST(Text, TrimSpaces_RemovesOnlySpacesAtBothEnds) {
  using Case = std::pair<std::string, std::string>;
  for (auto [text, trimmed] : {Case{"  two words \t  ", "two words \t"}, Case{"    ", ""}, Case{"x", "x"}}) {
    TrimSpaces(text);
    EXPECT_EQ(text, trimmed);
  }
}

TEST(Text, CopyBoundedFitsOrCutsAndAlwaysTerminates_FieldTextStopsAtNulOrTheFieldEnd) {
  char field[260];
  std::memset(field, 'z', sizeof field);
  EXPECT_TRUE(CopyBounded(field, std::string(259, 'a')));
  EXPECT_EQ(std::string(field), std::string(259, 'a'));
  EXPECT_FALSE(CopyBounded(field, std::string(260, 'b')));
  EXPECT_EQ(std::string(field), std::string(259, 'b'));
  EXPECT_FALSE(CopyBounded(field, std::string(32767, 'c')));
  EXPECT_EQ(field[259], '\0');
  char none[1];
  EXPECT_FALSE(CopyBounded(none, "x"));
  EXPECT_EQ(none[0], '\0');
  // A character that straddles the last byte of the field is left out whole, never cut.
  for (const std::string ch : {"\xC3\xA9", "\xE5\xA4\x9C", "\xF0\x9F\x8E\xB5"}) {
    for (size_t before = 259 - ch.size() - 1; before <= 259; ++before) {
      const std::string text = std::string(before, 'a') + ch;
      const bool fits = text.size() <= 259;
      EXPECT_EQ(CopyBounded(field, text), fits) << before;
      EXPECT_EQ(std::string(field), fits ? text : std::string(before, 'a')) << before;
    }
  }
  const char unterminated[4] = {'a', 'b', 'c', 'd'}, terminated[4] = {'a', 0, 'c', 'd'};
  EXPECT_EQ(FieldText(unterminated), "abcd");
  EXPECT_EQ(FieldText(terminated), "a");
}

TEST(Text, Comparisons_FoldAsciiOnlyAndUseUnsignedBytes) {
  EXPECT_EQ(CompareBytes("abc", "abd"), -1);
  EXPECT_EQ(CompareBytes("ab", "abc"), -1);
  EXPECT_EQ(CompareBytes("b", "B"), 1);
  EXPECT_EQ(CompareBytes("\xE9", "z"), 1);  // bytes above 127 sort after ASCII
  EXPECT_EQ(CompareNoCase("ABCZ", "abcz"), 0);
  EXPECT_EQ(CompareNoCase("_", "A"), -1);  // folded to lower case, as _stricmp does
  EXPECT_EQ(CompareNoCase("\xC9", "\xE9"), -1);  // non-ASCII letters are not folded
  EXPECT_TRUE(EqualNoCase("Wave Out", "WAVE OUT"));
  EXPECT_FALSE(EqualNoCase("Wave Out", "Wave Out "));
  EXPECT_TRUE(ContainsNoCase("C:\\My Source Code\\x", "SOURCE CODE"));
  EXPECT_FALSE(ContainsNoCase("C:\\SOURCE\\CODE", "SOURCE CODE"));
  EXPECT_FALSE(ContainsNoCase("ab", "abc"));
  EXPECT_TRUE(ContainsNoCase("Source Code", "SOURCE CODE"));  // the whole text
}

}  // namespace
}  // namespace ox
