#include "base/Text.h"

#include <cstring>

#include "base/Utf8.h"

namespace ox {

namespace {

unsigned char FoldCase(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

template <typename Fold>
int Compare(std::string_view a, std::string_view b, Fold fold) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = fold(static_cast<unsigned char>(a[i]));
    const unsigned char y = fold(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

void TrimSpaces(std::string& text) {
  const size_t last = text.find_last_not_of(' ');
  if (last == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(last + 1);
  text.erase(0, text.find_first_not_of(' '));
}

bool CopyBounded(char* field, size_t capacity, std::string_view text) {
  if (capacity == 0) return text.empty();
  const size_t n = text.size() < capacity ? text.size() : WholeCharacters(text, capacity - 1).size();
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
  return n == text.size();
}

std::string_view FieldText(const char* field, size_t capacity) {
  const void* nul = std::memchr(field, 0, capacity);
  return std::string_view(field, nul ? static_cast<const char*>(nul) - field : capacity);
}

int CompareBytes(std::string_view a, std::string_view b) {
  return Compare(a, b, [](unsigned char c) { return c; });
}

int CompareNoCase(std::string_view a, std::string_view b) { return Compare(a, b, FoldCase); }

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i)
    if (CompareNoCase(text.substr(i, part.size()), part) == 0) return true;
  return false;
}

}  // namespace ox
