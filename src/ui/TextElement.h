// Text elements and the fonts they draw with. A font element is a system font in a colour, or a
// bitmap font (96 glyph cells and their masks); a text element shows one text kind of the playing
// track in the font named in it, centred or scrolling.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/SharedRecords.h"
#include "core/TrackRecord.h"
#include "ui/Bitmap.h"
#include "ui/ControlMath.h"
#include "ui/Gdi.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinRecords.h"

namespace ox {

class FontElement {
 public:
  explicit FontElement(const SkinRecord& record);
  FontElement(const FontElement&) = delete;
  FontElement& operator=(const FontElement&) = delete;

  std::string_view Name() const { return design_.name; }
  void Load(const std::string& folder);
  void Release();

  // The width of `text` drawn in this font into dc.
  int32_t Measure(HDC dc, const std::string& text) const;
  // The text at x, 0 of dc, over what is there (a system font's shadow, when asked, one pixel right
  // and down).
  void Draw(HDC dc, int32_t x, const std::string& text, bool shadow, uint32_t shadowColour) const;

 private:
  struct Design {
    std::string name;
    bool bitmapFont = false;
    std::string glyphs, mask;  // a bitmap font's bitmaps
    FontStyle style;           // a system font's, its height held to +-kMaxFontHeight
    uint32_t colour = 0;
  };
  static Design DesignOf(const SkinRecord& record);

  const Design design_;
  std::unique_ptr<Font> font_;  // a system font, once loaded
  Bitmap glyphs_, mask_;        // a bitmap font's
};

// What the text kinds show, as read from the shared blocks.
struct TrackShown {
  TrackRecord playing{};
  TrackTime time{};
  uint32_t bitRate = 0;  // "OxCurrentBitRate"
};

class TextElement {
 public:
  TextElement(const SkinRecord& record, const SkinHeader& window);
  TextElement(const TextElement&) = delete;
  TextElement& operator=(const TextElement&) = delete;

  std::string_view FontName() const { return design_.font; }
  // Makes its pictures; font: the window's font element of the name (none: nothing is drawn).
  void Initialise(const FontElement* font);
  void Release();

  bool HasFont() const { return font_ != nullptr; }
  // The time kinds (elapsed, remaining, length, bit rate) follow the blocks on the animation tick.
  bool IsTimeText() const;
  bool HasTrackMenu() const;
  bool Hits(int32_t x, int32_t y) const { return ox::Hits(design_.rect, x, y); }
  bool Scrolling() const { return scrolling_; }

  // The full repaint: takes what lies under it as its background and shows its text.
  void Paint(HDC backBuffer, const TrackShown& shown);
  // The animation tick: scrolls, and takes a time text's new text from `shown` when given; redraws
  // and invalidates when that changed anything.
  void Tick(HWND window, HDC backBuffer, const TrackShown* shown);

 private:
  struct Design {
    SkinRect rect;
    std::string font;
    int32_t kind = 0;  // TextKind
    bool shadow = false;
    uint32_t shadowColour = 0;
    bool alwaysScroll = false, scrollWhenWide = false, centre = false;
  };
  static Design DesignOf(const SkinRecord& record, const SkinHeader& window);
  void Render(HWND window, HDC backBuffer);

  const Design design_;
  const FontElement* font_ = nullptr;
  Bitmap saved_, composition_;  // what lies under it; where it is composed
  std::string text_;
  int32_t textWidth_ = 0, offset_ = 0;
  bool scrolling_ = false;  // at the last tick
};

}  // namespace ox
