#include "ui/TextElement.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "ui/ControlMath.h"
#include "ui/ElementDrawing.h"
#include "ui/SkinLimits.h"

namespace ox {

namespace {

// A bitmap font: glyph cells in `glyphs`, their masks in `mask`; each cell is ANDed with its mask and
// ORed over the target, advancing the cell width less one.
void DrawBitmapText(HDC dc, int32_t x, int32_t y, const std::string& text, const Bitmap& glyphs, const Bitmap& mask) {
  const int32_t cell = glyphs.Width() / 96, height = glyphs.Height() - 2;
  if (cell < 2 || height <= 0) return;
  for (const std::optional<int32_t>& glyph : BitmapFontCells(text)) {
    if (glyph) {
      const int32_t sx = cell * *glyph + 1;
      if (!mask.IsEmpty()) BitBlt(dc, x, y, cell - 1, height, mask.Dc(), sx, 1, SRCAND);
      BitBlt(dc, x, y, cell - 1, height, glyphs.Dc(), sx, 1, SRCPAINT);
    }
    x += cell - 1;
  }
}

}  // namespace

FontElement::Design FontElement::DesignOf(const SkinRecord& record) {
  const FontRecord f = record.As<FontRecord>();
  Design s;
  s.name = std::string(f.header.Name());
  s.colour = f.colour;
  s.bitmapFont = f.bitmapFont != 0;
  if (s.bitmapFont) {
    s.glyphs = std::string(FieldText(f.bitmap));
    s.mask = IsBitmapName(s.glyphs) ? s.glyphs + "-mask" : s.glyphs;
  } else {
    s.style.face = std::string(FieldText(f.face));
    s.style.height = std::clamp(int32_t{f.height}, -kMaxFontHeight, kMaxFontHeight);
    s.style.bold = f.bold != 0, s.style.italic = f.italic != 0, s.style.underline = f.underline != 0;
  }
  return s;
}

FontElement::FontElement(const SkinRecord& record) : design_(DesignOf(record)) {}

void FontElement::Load(const std::string& folder) {
  if (design_.bitmapFont) {
    LoadSkinBitmap(glyphs_, folder, design_.glyphs);
    LoadSkinBitmap(mask_, folder, design_.mask);
  } else {
    font_ = std::make_unique<Font>(design_.style);
  }
}

void FontElement::Release() {
  font_.reset();
  glyphs_.Release();
  mask_.Release();
}

int32_t FontElement::Measure(HDC dc, const std::string& text) const {
  if (!font_) return BitmapTextWidth(glyphs_.Width(), text);
  FontHolder holder(dc, *font_);
  return holder.Measure(text).cx;
}

void FontElement::Draw(HDC dc, int32_t x, const std::string& text, bool shadow, uint32_t shadowColour) const {
  if (!font_) {
    DrawBitmapText(dc, x, 0, text, glyphs_, mask_);
    return;
  }
  FontHolder holder(dc, *font_);
  if (shadow) holder.Draw(x + 1, 1, text, shadowColour);
  holder.Draw(x, 0, text, design_.colour);
}

TextElement::Design TextElement::DesignOf(const SkinRecord& record, const SkinHeader& window) {
  const TextRecord t = record.As<TextRecord>();
  Design s;
  s.rect = ElementRect(t.header, window);
  s.font = std::string(FieldText(t.font));
  s.kind = t.kind;
  s.shadow = t.shadow != 0;
  s.shadowColour = t.shadowColour;
  s.alwaysScroll = t.alwaysScroll != 0, s.scrollWhenWide = t.scrollWhenWide != 0, s.centre = t.centre != 0;
  return s;
}

TextElement::TextElement(const SkinRecord& record, const SkinHeader& window) : design_(DesignOf(record, window)) {}

void TextElement::Initialise(const FontElement* font) {
  font_ = font;
  saved_.Create(Width(design_.rect), Height(design_.rect));
  composition_.Create(Width(design_.rect), Height(design_.rect));
}

void TextElement::Release() {
  font_ = nullptr;
  saved_.Release();
  composition_.Release();
  offset_ = 0;
  scrolling_ = false;
}

bool TextElement::IsTimeText() const {
  return design_.kind >= int32_t(TextKind::Elapsed) && design_.kind <= int32_t(TextKind::BitRate);
}

// The texts of the track whose right click opens the track menu (sub-menu 0 of menu 104).
bool TextElement::HasTrackMenu() const {
  switch (static_cast<TextKind>(design_.kind)) {
    case TextKind::TitleLine:
    case TextKind::Artist:
    case TextKind::Title:
    case TextKind::Album:
    case TextKind::TrackNumber:
    case TextKind::Path:
    case TextKind::Nothing: return true;
    default: return false;
  }
}

void TextElement::Paint(HDC backBuffer, const TrackShown& shown) {
  SaveUnder(saved_, backBuffer, design_.rect);
  text_ = ElementText(design_.kind, shown.playing, shown.time, shown.bitRate);
  Render(nullptr, backBuffer);
}

void TextElement::Tick(HWND window, HDC backBuffer, const TrackShown* shown) {
  bool redraw = false;
  if (shown && IsTimeText()) {
    // Redrawn only when the text changes (about once a second): the same pixels again would cost a
    // copy to the screen each tick and show nothing new.
    std::string text = ElementText(design_.kind, shown->playing, shown->time, shown->bitRate);
    if (text != text_) text_ = std::move(text), redraw = true;
  }
  const int32_t width = Width(design_.rect);
  scrolling_ = !design_.centre && (design_.alwaysScroll || (design_.scrollWhenWide && textWidth_ > width));
  const int32_t offset = NextScrollOffset(offset_, textWidth_, width, scrolling_);
  if (offset != offset_) offset_ = offset, redraw = true;
  if (redraw) Render(window, backBuffer);
}

void TextElement::Render(HWND window, HDC backBuffer) {
  if (!font_ || composition_.IsEmpty()) return;
  const int32_t width = Width(design_.rect), height = Height(design_.rect);
  HDC dc = composition_.Dc();
  BitBlt(dc, 0, 0, width, height, saved_.Dc(), 0, 0, SRCCOPY);
  textWidth_ = font_->Measure(dc, text_);
  std::vector<int32_t> at;
  if (design_.centre) {
    at.push_back((width - textWidth_) / 2);
  } else {
    at.push_back(offset_);
    if (const std::optional<int32_t> second = SecondCopyAt(offset_, textWidth_, width)) at.push_back(*second);
  }
  for (int32_t x : at) font_->Draw(dc, x, text_, design_.shadow, design_.shadowColour);
  BitBlt(backBuffer, design_.rect.left, design_.rect.top, width, height, dc, 0, 0, SRCCOPY);
  InvalidateElement(window, design_.rect);
}

}  // namespace ox
