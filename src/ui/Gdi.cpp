#include "ui/Gdi.h"

#include <climits>

#include "base/Wide.h"

namespace ox {

namespace {

HFONT MakeFont(const FontStyle& style) {
  LOGFONTW f{};
  f.lfHeight = style.height;
  f.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
  f.lfItalic = style.italic;
  f.lfUnderline = style.underline;
  f.lfCharSet = DEFAULT_CHARSET;
  f.lfQuality = DEFAULT_QUALITY;
  const std::wstring face = Wide(style.face.empty() ? std::string_view("Arial") : std::string_view(style.face));
  face.copy(f.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&f);
}

int Length(std::wstring_view text) { return text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size()); }

constexpr UINT kLineFlags = DT_LEFT | DT_TOP | DT_EXPANDTABS | DT_NOPREFIX;

}  // namespace

Font::Font(const FontStyle& style) : font_(MakeFont(style)) {}

FontHolder::FontHolder(HDC dc, const FontStyle& style) : SelectedObject(dc, MakeFont(style), true) { Remember(); }

void FontHolder::Remember() {
  oldColour_ = GetTextColor(dc_);
  oldMode_ = SetBkMode(dc_, TRANSPARENT);
}

FontHolder::~FontHolder() {
  SetTextColor(dc_, oldColour_);
  SetBkMode(dc_, oldMode_);
}

SIZE FontHolder::Measure(std::string_view text) const {
  SIZE size{0, 0};
  const std::wstring wide = Wide(text);
  GetTextExtentPoint32W(dc_, wide.data(), Length(wide), &size);
  return size;
}

void FontHolder::Draw(int x, int y, std::string_view text, COLORREF colour) const {
  SetTextColor(dc_, colour);
  const std::wstring wide = Wide(text);
  TextOutW(dc_, x, y, wide.data(), Length(wide));
}

SIZE FontHolder::MeasureLines(std::string_view text) const {
  RECT r{0, 0, 0, 0};
  std::wstring wide = Wide(text);
  DrawTextW(dc_, wide.data(), Length(wide), &r, kLineFlags | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

void FontHolder::DrawLines(const RECT& area, std::string_view text, COLORREF colour) const {
  SetTextColor(dc_, colour);
  RECT r = area;
  std::wstring wide = Wide(text);
  DrawTextW(dc_, wide.data(), Length(wide), &r, kLineFlags);
}

}  // namespace ox
