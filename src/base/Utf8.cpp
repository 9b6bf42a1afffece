#include "base/Utf8.h"

namespace ox {

namespace {

void Append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

Utf8Step DecodeUtf8(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  if (lead < 0x80) return {lead, 1};
  size_t length;
  char32_t c, least;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, c = lead & 0x1F, least = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, c = lead & 0x0F, least = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, c = lead & 0x07, least = 0x10000;
  else return {kReplacementCharacter, 1};
  if (text.size() - at < length) return {kReplacementCharacter, 1};
  for (size_t i = 1; i < length; ++i) {
    const uint8_t next = byte(at + i);
    if ((next & 0xC0) != 0x80) return {kReplacementCharacter, 1};
    c = (c << 6) | (next & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {kReplacementCharacter, 1};
  return {c, length};
}

bool IsValidUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const Utf8Step step = DecodeUtf8(text, at);
    if (step.character == kReplacementCharacter && step.length == 1 && static_cast<uint8_t>(text[at]) >= 0x80)
      return false;
    at += step.length;
  }
  return true;
}

size_t CountCharacters(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); ++count) at += DecodeUtf8(text, at).length;
  return count;
}

std::string_view WholeCharacters(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t next = at + DecodeUtf8(text, at).length;
    if (next > maxBytes) break;
    end = at = next;
  }
  return text.substr(0, end);
}

std::u16string Utf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const Utf8Step step = DecodeUtf8(utf8, at);
    at += step.length;
    if (step.character < 0x10000) {
      out.push_back(static_cast<char16_t>(step.character));
    } else {
      const char32_t v = step.character - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    }
  }
  return out;
}

std::string Utf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacementCharacter;
    }
    Append(out, c);
  }
  return out;
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char b : latin1) Append(out, static_cast<uint8_t>(b));
  return out;
}

}  // namespace ox
