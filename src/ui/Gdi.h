// Scoped drawing objects: each selects what it holds into a device context and puts back what it
// replaced when it goes, so a drawing function leaves the context as it found it. Text is UTF-8 and
// is drawn and measured in its UTF-16 form.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ox {

// The device context of a window (the screen when null), released at the end of the scope.
class DcHolder {
 public:
  explicit DcHolder(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~DcHolder() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  DcHolder(const DcHolder&) = delete;
  DcHolder& operator=(const DcHolder&) = delete;
  HDC Dc() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A GDI object selected into a context for a scope; the object is deleted afterwards when owned.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object, bool owned)
      : dc_(dc), object_(object), owned_(owned), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
    if (owned_ && object_) DeleteObject(object_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 protected:
  HDC dc_;

 private:
  HGDIOBJ object_;
  bool owned_;
  HGDIOBJ previous_;
};

class PenHolder : public SelectedObject {
 public:
  PenHolder(HDC dc, COLORREF colour, int width = 1, int style = PS_SOLID)
      : SelectedObject(dc, CreatePen(style, width, colour), true) {}
};

class BrushHolder : public SelectedObject {
 public:
  BrushHolder(HDC dc, COLORREF colour) : SelectedObject(dc, CreateSolidBrush(colour), true) {}
};

// What a font is made from. The face defaults to "Arial"; height is a logical font height
// (negative: the character height in pixels).
struct FontStyle {
  std::string face = "Arial";
  int height = -12;
  bool bold = false, italic = false, underline = false;
};

// A created font, kept for as long as its owner draws with it.
class Font {
 public:
  explicit Font(const FontStyle& style);
  ~Font() {
    if (font_) DeleteObject(font_);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  HFONT Handle() const { return font_; }

 private:
  HFONT font_;
};

// A font selected into a context, with the text measuring and drawing done in it. Text is drawn
// with a transparent background in the given colour; the context's colour and mode come back too.
class FontHolder : public SelectedObject {
 public:
  FontHolder(HDC dc, const Font& font) : SelectedObject(dc, font.Handle(), false) { Remember(); }
  FontHolder(HDC dc, const FontStyle& style);
  ~FontHolder();

  // The size of one line of text.
  SIZE Measure(std::string_view text) const;
  void Draw(int x, int y, std::string_view text, COLORREF colour) const;
  // Lines broken at '\n', tabs expanded: the size they take, and drawing them from the top left of
  // area, clipped to it.
  SIZE MeasureLines(std::string_view text) const;
  void DrawLines(const RECT& area, std::string_view text, COLORREF colour) const;

 private:
  void Remember();
  COLORREF oldColour_ = 0;
  int oldMode_ = 0;
};

}  // namespace ox
