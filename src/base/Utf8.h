// UTF-8, the encoding of every text the suite keeps (records, files, settings it writes), and its
// conversion to and from UTF-16, the form the system draws and measures. Pure: no <windows.h>.
// This is the one place that converts; everything that hands text to a W function goes through
// Wide(), everything that takes text from one through FromWide().
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ox {

// U+FFFD, shown for bytes that are not UTF-8 and for lone surrogates.
constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character at text[at] and the bytes it takes (1 for an invalid byte, which stands for one
// replacement character). at < text.size().
struct Utf8Step {
  char32_t character;
  size_t length;
};
Utf8Step DecodeUtf8(std::string_view text, size_t at);

// Whether every byte belongs to a well-formed sequence (no overlong forms, surrogates or values
// past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Characters in the text, an invalid byte counting as one.
size_t CountCharacters(std::string_view text);

// The longest prefix of at most maxBytes bytes that ends on a character boundary: a sequence that
// does not fit whole is left out, never cut.
std::string_view WholeCharacters(std::string_view text, size_t maxBytes);

// UTF-8 to UTF-16 and back. Invalid bytes and lone surrogates become U+FFFD.
std::u16string Utf16(std::string_view utf8);
std::string Utf8(std::u16string_view utf16);

// Latin-1 (ISO 8859-1) bytes as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

}  // namespace ox
