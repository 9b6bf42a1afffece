#include "ui/SkinElements.h"

#include "core/NamedObjects.h"
#include "engine/Equaliser.h"
#include "ui/Window.h"

namespace ox {

struct SkinElements::Element {
  SkinRecord record;
  SkinRecordType type;
  SkinRect rect;
  Bitmap bitmap;             // an image's picture; a slider's track
  Bitmap knob, fill;         // a slider's
  int32_t value = -1;        // a slider's value; -1 until first read
  uint32_t lastRead = 0;     // when a slider last read its source
  uint32_t holdUntil = 0;    // after a drag the slider keeps its value until then
  bool dragging = false;
  // A font element: a system font, or a bitmap font (bitmap and mask above: glyphs in `bitmap`,
  // mask in `fill`).
  std::unique_ptr<Font> font;
  COLORREF colour = 0;
  // A text element: its font, what lies under it, what it shows and where its scroll stands.
  const Element* fontElement = nullptr;
  Bitmap saved, composition;
  std::string text;
  int32_t textWidth = 0, offset = 0;
};

namespace {

std::string BitmapName(const char* field, size_t size) { return std::string(FieldText(field, size)); }

// The playing track's channel count, for images shown by it.
uint8_t PlayingChannels() {
  TrackRecord playing{};
  block::OxTrackPlaying.ReadValue(playing);
  return playing.channels;
}

bool ImageShows(const ImageRecord& image, uint8_t channels) {
  const std::string_view condition = FieldText(image.condition);
  if (condition == "<Playing Stereo Track>") return channels >= 2;
  if (condition == "<Playing Mono Track>") return channels <= 1;
  return true;
}

SliderSources ReadSources() {
  SliderSources s;
  block::OxVolume.ReadValue(s.volume);
  block::OxBalance.ReadValue(s.balance);
  block::OxTrackTime.ReadValue(s.time);
  block::OxEqPositions.ReadValue(s.eq);
  return s;
}

void Load(Bitmap& bitmap, const std::string& folder, const std::string& name) {
  if (IsBitmapName(name)) bitmap.LoadFile(folder + name + ".bmp");
}

}  // namespace

SkinElements::SkinElements(std::string folder, const SkinHeader& window, const std::vector<SkinRecord>& records)
    : folder_(std::move(folder)), window_(window) {
  for (const SkinRecord& record : records) {
    auto e = std::make_unique<Element>();
    e->record = record;
    e->type = record.Type();
    e->rect = ElementRect(record.Header(), window_);
    elements_.push_back(std::move(e));
  }
}

SkinElements::~SkinElements() = default;

void SkinElements::Initialise() {
  for (auto& e : elements_) {
    if (e->type == SkinRecordType::Image) {
      const ImageRecord image = e->record.As<ImageRecord>();
      Load(e->bitmap, folder_, BitmapName(image.bitmap, sizeof image.bitmap));
    } else if (e->type == SkinRecordType::Slider) {
      const SliderRecord slider = e->record.As<SliderRecord>();
      Load(e->bitmap, folder_, BitmapName(slider.track, sizeof slider.track));
      Load(e->knob, folder_, BitmapName(slider.knob, sizeof slider.knob));
      Load(e->fill, folder_, BitmapName(slider.fill, sizeof slider.fill));
    } else if (e->type == SkinRecordType::Font) {
      const FontRecord f = e->record.As<FontRecord>();
      e->colour = f.colour;
      if (f.bitmapFont) {
        const std::string name = BitmapName(f.bitmap, sizeof f.bitmap);
        Load(e->bitmap, folder_, name);
        Load(e->fill, folder_, IsBitmapName(name) ? name + "-mask" : name);
      } else {
        FontStyle style;
        style.face = BitmapName(f.face, sizeof f.face);
        style.height = f.height;
        style.bold = f.bold != 0, style.italic = f.italic != 0, style.underline = f.underline != 0;
        e->font = std::make_unique<Font>(style);
      }
    }
  }
  for (auto& e : elements_) {
    if (e->type == SkinRecordType::EqCurve) {
      e->colour = e->record.As<EqCurveRecord>().pen;
      e->saved.Create(nullptr, Width(e->rect), Height(e->rect));
      e->composition.Create(nullptr, Width(e->rect), Height(e->rect));
    }
    if (e->type != SkinRecordType::Text) continue;
    const TextRecord t = e->record.As<TextRecord>();
    const std::string_view wanted = FieldText(t.font);
    for (const auto& f : elements_) {
      if (f->type == SkinRecordType::Font && f->record.Header().Name() == wanted) {
        e->fontElement = f.get();
        break;
      }
    }
    e->saved.Create(nullptr, Width(e->rect), Height(e->rect));
    e->composition.Create(nullptr, Width(e->rect), Height(e->rect));
  }
}

void SkinElements::Release() {
  for (auto& e : elements_) {
    e->bitmap.Release();
    e->knob.Release();
    e->fill.Release();
    e->value = -1;
    e->dragging = false;
    e->font.reset();
    e->fontElement = nullptr;
    e->saved.Release();
    e->composition.Release();
    e->offset = 0;
  }
}

void SkinElements::Paint(HDC backBuffer, const Bitmap& background) {
  const uint8_t channels = PlayingChannels();
  const SliderSources sources = ReadSources();
  TrackRecord playing{};
  block::OxTrackPlaying.ReadValue(playing);
  uint32_t bitRate = 0;
  block::OxCurrentBitRate.ReadValue(bitRate);
  for (auto& e : elements_) {
    if (e->type == SkinRecordType::Text) {
      // What lies under the text now, for every redraw of it to start from.
      BitBlt(e->saved.Dc(), 0, 0, Width(e->rect), Height(e->rect), backBuffer, e->rect.left, e->rect.top, SRCCOPY);
      e->text = ElementText(e->record.As<TextRecord>().kind, playing, sources.time, bitRate);
      RenderText(*e, nullptr, backBuffer);
      continue;
    }
    if (e->type == SkinRecordType::EqCurve && !e->saved.IsEmpty()) {
      BitBlt(e->saved.Dc(), 0, 0, Width(e->rect), Height(e->rect), backBuffer, e->rect.left, e->rect.top, SRCCOPY);
      RenderCurve(*e, nullptr, backBuffer, sources.eq);
      continue;
    }
    if (e->type == SkinRecordType::Image) {
      if (ImageShows(e->record.As<ImageRecord>(), channels)) e->bitmap.CopyTo(backBuffer, e->rect.left, e->rect.top);
    } else if (e->type == SkinRecordType::Slider) {
      if (!e->dragging) e->value = SliderValue(e->record.As<SliderRecord>().source, sources);
      Draw(*e, backBuffer, background);
    }
  }
}

void SkinElements::Draw(Element& e, HDC dc, const Bitmap& background) const {
  if (e.type != SkinRecordType::Slider || e.bitmap.IsEmpty()) return;
  const SkinRect& r = e.rect;
  // The background first: the knob moves over what the track does not cover.
  BitBlt(dc, r.left, r.top, Width(r), Height(r), background.Dc(), r.left, r.top, SRCCOPY);
  e.bitmap.CopyTo(dc, r.left, r.top);
  const bool vertical = e.record.As<SliderRecord>().orientation != 0;
  const SliderLayout l = LayoutSlider(std::max(e.value, 0), e.bitmap.Width(), e.bitmap.Height(), e.knob.Width(),
                                      e.knob.Height(), vertical);
  if (!e.fill.IsEmpty())
    BitBlt(dc, r.left + l.fill.left, r.top + l.fill.top, Width(l.fill), Height(l.fill), e.fill.Dc(), l.fill.left,
           l.fill.top, SRCCOPY);
  e.knob.CopyTo(dc, r.left + l.knob.x, r.top + l.knob.y);
}

void SkinElements::Redraw(Element& e, HWND window, HDC backBuffer, const Bitmap& background) const {
  Draw(e, backBuffer, background);
  // The knob may stand out of the element's rectangle: invalidate what it may cover too.
  RECT r{e.rect.left, e.rect.top, e.rect.right, e.rect.bottom};
  r.left -= e.knob.Width(), r.right += e.knob.Width(), r.top -= e.knob.Height(), r.bottom += e.knob.Height();
  InvalidateRect(window, &r, FALSE);
}

void SkinElements::Refresh(HWND window, HDC backBuffer, const Bitmap& background) {
  const uint32_t now = GetTickCount();
  bool read = false, bands = false;
  SliderSources sources;
  for (auto& e : elements_) {
    if (e->type != SkinRecordType::Slider || e->dragging || now - e->lastRead < 100 ||
        static_cast<int32_t>(e->holdUntil - now) > 0)
      continue;
    if (!read) sources = ReadSources(), read = true;
    e->lastRead = now;
    const int32_t source = e->record.As<SliderRecord>().source;
    const int32_t value = SliderValue(source, sources);
    if (value == e->value) continue;
    e->value = value;
    Redraw(*e, window, backBuffer, background);
    bands = bands || (source >= 3 && source <= 32);
  }
  if (bands) RenderCurves(window, backBuffer, sources.eq);
}

void SkinElements::RenderCurve(Element& e, HWND window, HDC backBuffer, const EqPositions& positions) const {
  const int32_t width = Width(e.rect), height = Height(e.rect);
  if (e.composition.IsEmpty() || width <= 0) return;
  HDC dc = e.composition.Dc();
  BitBlt(dc, 0, 0, width, height, e.saved.Dc(), 0, 0, SRCCOPY);
  const std::vector<float> curve = EqCurve(positions, width);
  std::vector<POINT> points(curve.size());
  for (size_t i = 0; i < curve.size(); ++i)
    points[i] = {static_cast<LONG>(i), static_cast<LONG>(height - (curve[i] + 200) * height / 400)};
  {
    PenHolder pen(dc, e.colour);
    if (points.size() >= 2) Polyline(dc, points.data(), static_cast<int>(points.size()));
  }
  BitBlt(backBuffer, e.rect.left, e.rect.top, width, height, dc, 0, 0, SRCCOPY);
  if (window) {
    RECT r{e.rect.left, e.rect.top, e.rect.right, e.rect.bottom};
    InvalidateRect(window, &r, FALSE);
  }
}

void SkinElements::RenderCurves(HWND window, HDC backBuffer, const EqPositions& positions) {
  for (auto& e : elements_) {
    if (e->type == SkinRecordType::EqCurve) RenderCurve(*e, window, backBuffer, positions);
  }
}

void SkinElements::SetSlider(Element& e, int32_t value) {
  e.value = value;
  EqPositions eq{};
  const int32_t source = e.record.As<SliderRecord>().source;
  if (source >= 3) block::OxEqPositions.ReadValue(eq);
  const SliderWrite w = WriteSlider(source, value, eq);
  if (w.volume) block::OxVolume.WriteValue(*w.volume);
  if (w.balance) block::OxBalance.WriteValue(*w.balance);
  if (w.skipTo) block::OxSkipToPos.WriteValue(*w.skipTo);
  if (w.eq) {
    block::OxEqPositions.WriteValue(*w.eq);
    evt::OxEqPosChanged.Set();
  }
  if (w.bandChanged) curvesStale_ = true;
}

namespace {

// The track texts whose right click opens the track menu (sub-menu 0 of menu 104).
bool HasTrackMenu(int32_t kind) { return kind == 0 || (kind >= 8 && kind <= 12) || kind == 14; }

bool OpenTrackMenu(HWND window) {
  HMENU menu = LoadMenuA(ModuleInstance(), MAKEINTRESOURCEA(104));
  if (!menu) return false;
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
  DestroyMenu(menu);
  return true;
}

}  // namespace

bool SkinElements::Mouse(ElementMouse kind, int32_t x, int32_t y, HWND window, HDC backBuffer,
                         const Bitmap& background) {
  if (kind == ElementMouse::RightDown) {
    for (auto& e : elements_) {
      if (e->type == SkinRecordType::Text && Hits(e->rect, x, y) && HasTrackMenu(e->record.As<TextRecord>().kind) &&
          OpenTrackMenu(window))
        return true;
    }
  }
  bool taken = false;
  for (auto& e : elements_) {
    if (e->type != SkinRecordType::Slider) continue;
    const bool vertical = e->record.As<SliderRecord>().orientation != 0;
    const int32_t size = vertical ? e->bitmap.Height() : e->bitmap.Width();
    const int32_t d = vertical ? y - e->rect.top : x - e->rect.left;
    if (kind == ElementMouse::LeftDown && Hits(e->rect, x, y)) {
      e->dragging = true;
      SetCapture(window);
      SetSlider(*e, SliderValueAt(d, size, vertical));
      Redraw(*e, window, backBuffer, background);
      RedrawStaleCurves(window, backBuffer);
      return true;
    }
    if (kind == ElementMouse::RightDown && Hits(e->rect, x, y)) return true;  // a slider takes both presses
    if (!e->dragging) continue;
    if (kind == ElementMouse::Move) {
      const int32_t value = SliderValueAt(d, size, vertical);
      if (value != e->value) {
        SetSlider(*e, value);
        Redraw(*e, window, backBuffer, background);
        RedrawStaleCurves(window, backBuffer);
      }
      taken = true;
    } else if (kind == ElementMouse::Up) {
      e->dragging = false;
      e->holdUntil = GetTickCount() + 2000;
      if (GetCapture() == window) ReleaseCapture();
      taken = true;
    }
  }
  return taken;
}

namespace {

// A bitmap font: glyph cells in `glyphs`, their masks in `mask`; each cell is ANDed with its mask and
// ORed over the target, advancing the cell width less one.
void DrawBitmapText(HDC dc, int32_t x, int32_t y, const std::string& text, const Bitmap& glyphs, const Bitmap& mask) {
  const int32_t cell = glyphs.Width() / 96, height = glyphs.Height() - 2;
  if (cell < 2 || height <= 0) return;
  for (unsigned char c : text) {
    if (const std::optional<int32_t> glyph = GlyphCell(FoldForBitmapFont(c))) {
      const int32_t sx = cell * *glyph + 1;
      if (!mask.IsEmpty()) BitBlt(dc, x, y, cell - 1, height, mask.Dc(), sx, 1, SRCAND);
      BitBlt(dc, x, y, cell - 1, height, glyphs.Dc(), sx, 1, SRCPAINT);
    }
    x += cell - 1;
  }
}

}  // namespace

void SkinElements::RenderText(Element& e, HWND window, HDC backBuffer) const {
  const Element* font = e.fontElement;
  if (!font || e.composition.IsEmpty()) return;
  const TextRecord t = e.record.As<TextRecord>();
  const int32_t width = Width(e.rect), height = Height(e.rect);
  HDC dc = e.composition.Dc();
  BitBlt(dc, 0, 0, width, height, e.saved.Dc(), 0, 0, SRCCOPY);
  std::vector<int32_t> at;
  if (font->font) {
    FontHolder holder(dc, *font->font);
    e.textWidth = holder.Measure(e.text).cx;
  } else {
    e.textWidth = BitmapTextWidth(font->bitmap.Width(), e.text.size());
  }
  if (t.centre) {
    at.push_back((width - e.textWidth) / 2);
  } else {
    at.push_back(e.offset);
    if (const std::optional<int32_t> second = SecondCopyAt(e.offset, e.textWidth, width)) at.push_back(*second);
  }
  for (int32_t x : at) {
    if (font->font) {
      FontHolder holder(dc, *font->font);
      if (t.shadow) holder.Draw(x + 1, 1, e.text, t.shadowColour);
      holder.Draw(x, 0, e.text, font->colour);
    } else {
      DrawBitmapText(dc, x, 0, e.text, font->bitmap, font->fill);
    }
  }
  BitBlt(backBuffer, e.rect.left, e.rect.top, width, height, dc, 0, 0, SRCCOPY);
  if (window) {
    RECT r{e.rect.left, e.rect.top, e.rect.right, e.rect.bottom};
    InvalidateRect(window, &r, FALSE);
  }
}

void SkinElements::Tick(HWND window, HDC backBuffer) {
  bool timesRead = false;
  TrackRecord playing{};
  TrackTime time{};
  uint32_t bitRate = 0;
  for (auto& e : elements_) {
    if (e->type != SkinRecordType::Text || !e->fontElement) continue;
    const TextRecord t = e->record.As<TextRecord>();
    bool redraw = false;
    if (t.kind >= 1 && t.kind <= 4) {
      if (!timesRead) {
        block::OxTrackPlaying.ReadValue(playing);
        block::OxTrackTime.ReadValue(time);
        block::OxCurrentBitRate.ReadValue(bitRate);
        timesRead = true;
      }
      e->text = ElementText(t.kind, playing, time, bitRate);
      redraw = true;
    }
    const bool scrolls = !t.centre && (t.alwaysScroll || (t.scrollWhenWide && e->textWidth > Width(e->rect)));
    const int32_t offset = NextScrollOffset(e->offset, e->textWidth, Width(e->rect), scrolls);
    if (offset != e->offset) e->offset = offset, redraw = true;
    if (redraw) RenderText(*e, window, backBuffer);
  }
}

void SkinElements::RedrawStaleCurves(HWND window, HDC backBuffer) {
  if (!curvesStale_) return;
  curvesStale_ = false;
  EqPositions eq{};
  block::OxEqPositions.ReadValue(eq);
  RenderCurves(window, backBuffer, eq);
}

}  // namespace ox
