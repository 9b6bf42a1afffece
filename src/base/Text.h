// Small text helpers over UTF-8 strings. Pure: no <windows.h>.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ox {

// Removes trailing spaces, then leading spaces, in place. Only ' ' counts as a space.
void TrimSpaces(std::string& text);

// Copies text into a fixed field of `capacity` bytes, always NUL-terminated. Returns false when
// the text did not fit and was cut (the field then holds the longest prefix of whole characters
// that fits in capacity - 1 bytes: a character is never split). A caller that must not store a
// cut text (a path) treats false as a refusal.
bool CopyBounded(char* field, size_t capacity, std::string_view text);

template <size_t N>
bool CopyBounded(char (&field)[N], std::string_view text) {
  return CopyBounded(field, N, text);
}

// The text of a fixed field that may lack its terminating NUL (it comes from a file or from
// another process): at most `capacity` bytes, up to the first NUL.
std::string_view FieldText(const char* field, size_t capacity);

template <size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}

// Three-way comparisons giving -1, 0 or 1. Bytes are compared as unsigned characters.
// CompareNoCase folds A-Z to a-z first, the way the C runtime's _stricmp does in the "C" locale
// (so "_" sorts before "a" and "A" alike).
int CompareBytes(std::string_view a, std::string_view b);
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualNoCase(std::string_view a, std::string_view b);

// True when `text` contains `part`, ignoring the case of A-Z.
bool ContainsNoCase(std::string_view text, std::string_view part);

}  // namespace ox
