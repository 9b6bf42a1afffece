#include "base/PathCase.h"

#include <windows.h>

#include "base/Text.h"
#include "base/Wide.h"

namespace ox {

namespace {

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string PathKey(std::string_view path) {
  if (IsAscii(path) || !IsValidUtf8(path)) {
    std::string key(path);
    for (char& c : key)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
  }
  std::wstring wide = Wide(path);
  CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return FromWide(wide);
}

bool SamePath(std::string_view a, std::string_view b) {
  if (EqualNoCase(a, b)) return true;  // the common case, without converting
  if (IsAscii(a) && IsAscii(b)) return false;
  return PathKey(a) == PathKey(b);
}

}  // namespace ox
