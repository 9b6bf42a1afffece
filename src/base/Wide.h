// Text for the system's W functions: UTF-8 in, UTF-16 (wchar_t on Windows) out, and back. Every
// call that draws, measures or shows text, and every one that gives back a name the user chose,
// goes through these.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/Utf8.h"

namespace ox {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");

inline std::wstring Wide(std::string_view utf8) {
  const std::u16string wide = Utf16(utf8);
  return std::wstring(wide.begin(), wide.end());
}

inline std::string FromWide(std::wstring_view wide) {
  return Utf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// Text in the system's ANSI code page (what files written by older programs hold) as UTF-8.
inline std::string FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size() < 0x7FFFFFFF ? ansi.size() : 0x7FFFFFFF);
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), n);
  return FromWide(wide);
}

}  // namespace ox
