#include "base/Utf8.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

// "Песня 夜曲 é" and a character outside the basic plane: sequences of 2, 3 and 4 bytes.
const std::string kMixed = "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F \xE5\xA4\x9C\xE6\x9B\xB2 \xC3\xA9\xF0\x9F\x8E\xB5";

TEST(Utf8, RoundTripsCountsAndCutsOnlyBetweenCharacters) {
  const std::u16string wide = Utf16(kMixed);
  EXPECT_EQ(wide.size(), 12u);  // 11 characters, the last one a surrogate pair
  EXPECT_EQ(wide[0], u'\u041F');
  EXPECT_EQ(wide[10], 0xD83C);
  EXPECT_EQ(Utf8(wide), kMixed);
  EXPECT_EQ(CountCharacters(kMixed), 11u);
  EXPECT_TRUE(IsValidUtf8(kMixed));
  // Every cut of every sequence: the prefix ends where a whole character ends, never inside one.
  size_t whole = 0;
  for (size_t max = 0; max <= kMixed.size(); ++max) {
    const std::string_view cut = WholeCharacters(kMixed, max);
    EXPECT_TRUE(IsValidUtf8(cut)) << max;
    EXPECT_LE(cut.size(), max);
    EXPECT_GE(cut.size(), whole);
    EXPECT_GT(cut.size() + 4, max) << max;  // at most one sequence (up to 4 bytes) is left out
    whole = cut.size();
  }
  EXPECT_EQ(Latin1ToUtf8("caf\xE9"), "caf\xC3\xA9");
}

TEST(Utf8, InvalidBytesBecomeOneReplacementEach) {
  const struct {
    const char* bytes;
    size_t characters;
  } cases[] = {
      {"\x80", 1},          {"\xC3", 1},          {"\xC0\xAF", 2},  // lone continuation, cut sequence, overlong
      {"\xED\xA0\x80", 3},  {"\xF4\x90\x80\x80", 4},                // a surrogate, past U+10FFFF
      {"a\xE5\xA4", 3},     {"\xFF\xFE", 2},
  };
  for (const auto& c : cases) {
    const std::string text(c.bytes);
    EXPECT_FALSE(IsValidUtf8(text)) << text;
    EXPECT_EQ(CountCharacters(text), c.characters) << text;
    const std::u16string wide = Utf16(text);
    EXPECT_EQ(wide.back(), u'\uFFFD') << text;
    EXPECT_TRUE(IsValidUtf8(Utf8(wide)));
  }
  EXPECT_EQ(Utf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");  // a lone low surrogate
}

}  // namespace
}  // namespace ox
