#include "ui/Gdi.h"

#include <climits>

namespace ox {

namespace {

HFONT MakeFont(const FontStyle& style) {
  LOGFONTA f{};
  f.lfHeight = style.height;
  f.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
  f.lfItalic = style.italic;
  f.lfUnderline = style.underline;
  f.lfCharSet = DEFAULT_CHARSET;
  f.lfQuality = DEFAULT_QUALITY;
  const std::string& face = style.face.empty() ? std::string("Arial") : style.face;
  face.copy(f.lfFaceName, sizeof f.lfFaceName - 1);
  return CreateFontIndirectA(&f);
}

int Length(std::string_view text) { return text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size()); }

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
  GetTextExtentPoint32A(dc_, text.data(), Length(text), &size);
  return size;
}

void FontHolder::Draw(int x, int y, std::string_view text, COLORREF colour) const {
  SetTextColor(dc_, colour);
  TextOutA(dc_, x, y, text.data(), Length(text));
}

SIZE FontHolder::MeasureLines(std::string_view text) const {
  RECT r{0, 0, 0, 0};
  DrawTextA(dc_, text.data(), Length(text), &r, kLineFlags | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

void FontHolder::DrawLines(const RECT& area, std::string_view text, COLORREF colour) const {
  SetTextColor(dc_, colour);
  RECT r = area;
  DrawTextA(dc_, text.data(), Length(text), &r, kLineFlags);
}

}  // namespace ox
