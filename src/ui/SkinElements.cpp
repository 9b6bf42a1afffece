#include "ui/SkinElements.h"

#include <cstring>

#include "core/NamedObjects.h"
#include "engine/Equaliser.h"
#include "engine/VisualOutputHost.h"
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
  bool scrolling = false;  // at the last tick
  // A visualisation area: its mode (0 bars, 1 oscilloscope, 2 level meter), the bars' levels and
  // peaks, the meter's, and the pictures prepared at creation (the bars' and the meter's colours
  // along their length, the oscilloscope's gradient).
  int32_t mode = -1;
  std::vector<int32_t> levels;
  std::vector<BarPeak> peaks;
  int32_t meter = 0;
  BarPeak meterPeak;
  Bitmap bars, meterBar, scope;
  Bitmap scopeMask, scopeLine;  // work pictures of the gradient oscilloscope
  // What lies under the area with every bar drawn at full length, made when first needed after
  // that background was taken: each frame copies a bar's extent from it in one piece.
  Bitmap fullBars;
  bool fullBarsStale = true;
  // What the area showed last: a frame that would look the same is not drawn again.
  std::vector<int32_t> shownLevels, shownPeaks;
  int32_t shownMode = -1;
  uint32_t drawnAt = 0;  // the tick count of the last frame that drew something new
  int8_t shownWave[OX_VIS_FRAMES] = {};
};

namespace {

std::string BitmapName(const char* field, size_t size) { return std::string(FieldText(field, size)); }

// The playing track's channel count, for images shown by it.
uint8_t PlayingChannels() {
  TrackRecord playing{};
  block::OxTrackPlaying.PollValue(playing);
  return playing.channels;
}

bool ImageShows(const ImageRecord& image, uint8_t channels) {
  const std::string_view condition = FieldText(image.condition);
  if (condition == "<Playing Stereo Track>") return channels >= 2;
  if (condition == "<Playing Mono Track>") return channels <= 1;
  return true;
}

// The shared blocks the given slider sources show; with no sources given, all of them.
SliderSources ReadSources(const std::vector<int32_t>& wanted = {}) {
  auto wants = [&](int32_t from, int32_t to) {
    if (wanted.empty()) return true;
    for (int32_t source : wanted)
      if (source >= from && source <= to) return true;
    return false;
  };
  SliderSources s;
  if (wants(0, 0)) block::OxVolume.PollValue(s.volume);
  if (wants(1, 1)) block::OxBalance.PollValue(s.balance);
  if (wants(2, 2)) block::OxTrackTime.PollValue(s.time);
  if (wants(3, 33)) block::OxEqPositions.PollValue(s.eq);
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
      e->saved.Create(Width(e->rect), Height(e->rect));
      e->composition.Create(Width(e->rect), Height(e->rect));
    }
    if (e->type == SkinRecordType::Visualisation) InitialiseVisual(*e);
    if (e->type != SkinRecordType::Text) continue;
    const TextRecord t = e->record.As<TextRecord>();
    const std::string_view wanted = FieldText(t.font);
    for (const auto& f : elements_) {
      if (f->type == SkinRecordType::Font && f->record.Header().Name() == wanted) {
        e->fontElement = f.get();
        break;
      }
    }
    e->saved.Create(Width(e->rect), Height(e->rect));
    e->composition.Create(Width(e->rect), Height(e->rect));
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
    e->bars.Release();
    e->meterBar.Release();
    e->scope.Release();
    e->scopeMask.Release();
    e->scopeLine.Release();
    e->shownMode = -1;
  }
}

void SkinElements::Paint(HDC backBuffer, const Bitmap& background) {
  const uint8_t channels = PlayingChannels();
  const SliderSources sources = ReadSources();
  TrackRecord playing{};
  block::OxTrackPlaying.PollValue(playing);
  uint32_t bitRate = 0;
  block::OxCurrentBitRate.PollValue(bitRate);
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
    if (e->type == SkinRecordType::Visualisation && !e->saved.IsEmpty()) {
      BitBlt(e->saved.Dc(), 0, 0, Width(e->rect), Height(e->rect), backBuffer, e->rect.left, e->rect.top, SRCCOPY);
      e->fullBarsStale = true;
      RenderVisual(*e, nullptr, backBuffer, VisualDisplay());
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

RECT SkinElements::Draw(Element& e, HDC dc, const Bitmap& background) const {
  const SkinRect& r = e.rect;
  RECT drawn{r.left, r.top, r.left, r.top};
  if (e.type != SkinRecordType::Slider || e.bitmap.IsEmpty()) return drawn;
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
  const RECT element{r.left, r.top, r.right, r.bottom};
  const RECT knob{r.left + l.knob.x, r.top + l.knob.y, r.left + l.knob.x + e.knob.Width(),
                  r.top + l.knob.y + e.knob.Height()};
  UnionRect(&drawn, &element, &knob);
  return drawn;
}

void SkinElements::Redraw(Element& e, HWND window, HDC backBuffer, const Bitmap& background) const {
  // Only what was drawn: a wider rectangle would also send the buttons it overlaps (child windows)
  // a repaint of their own.
  const RECT r = Draw(e, backBuffer, background);
  if (!IsRectEmpty(&r)) InvalidateRect(window, &r, FALSE);
}

void SkinElements::Refresh(HWND window, HDC backBuffer, const Bitmap& background) {
  const uint32_t now = GetTickCount();
  bool bands = false;
  auto due = [now](const Element& e) {
    return e.type == SkinRecordType::Slider && !e.dragging && now - e.lastRead >= 100 &&
           static_cast<int32_t>(e.holdUntil - now) <= 0;
  };
  std::vector<int32_t> wanted;
  for (const auto& e : elements_)
    if (due(*e)) wanted.push_back(e->record.As<SliderRecord>().source);
  const SliderSources sources = wanted.empty() ? SliderSources{} : ReadSources(wanted);
  for (auto& e : elements_) {
    if (!due(*e)) continue;
    e->lastRead = now;
    const int32_t source = e->record.As<SliderRecord>().source;
    const int32_t value = SliderValue(source, sources);
    if (value == e->value) continue;
    e->value = value;
    Redraw(*e, window, backBuffer, background);
    bands = bands || (source >= 3 && source <= 32);
  }
  if (bands) RenderCurves(window, backBuffer, sources.eq);
  bool snapshotRead = false;
  OxVisualSnapshot snapshot;
  for (auto& e : elements_) {
    if (e->type != SkinRecordType::Visualisation) continue;
    if (!snapshotRead) snapshot = VisualDisplay(), snapshotRead = true;
    RenderVisual(*e, window, backBuffer, snapshot);
  }
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
    if (e->type != SkinRecordType::Visualisation || !Hits(e->rect, x, y)) continue;
    if (kind == ElementMouse::LeftDown && e->mode != 2) e->mode = e->mode == 0 ? 1 : 0;  // bars and scope
    if (kind == ElementMouse::LeftDown || kind == ElementMouse::RightDown) return true;
  }
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
  // The time texts change about once a second: their blocks are looked at every 100 ms, not on
  // every tick.
  const uint32_t now = GetTickCount();
  const bool readTimes = !timesLooked_ || now - timesLookedAt_ >= 100;
  bool timesRead = false;
  TrackRecord playing{};
  TrackTime time{};
  uint32_t bitRate = 0;
  for (auto& e : elements_) {
    if (e->type != SkinRecordType::Text || !e->fontElement) continue;
    const TextRecord t = e->record.As<TextRecord>();
    bool redraw = false;
    if (t.kind >= 1 && t.kind <= 4 && readTimes) {
      if (!timesRead) {
        block::OxTrackPlaying.PollValue(playing);
        block::OxTrackTime.PollValue(time);
        block::OxCurrentBitRate.PollValue(bitRate);
        timesRead = true;
        timesLooked_ = true, timesLookedAt_ = now;
      }
      // Redrawn only when the text changes (about once a second): the same pixels again would
      // cost a copy to the screen each tick and show nothing new.
      std::string text = ElementText(t.kind, playing, time, bitRate);
      if (text != e->text) e->text = std::move(text), redraw = true;
    }
    const bool scrolls = !t.centre && (t.alwaysScroll || (t.scrollWhenWide && e->textWidth > Width(e->rect)));
    e->scrolling = scrolls;
    const int32_t offset = NextScrollOffset(e->offset, e->textWidth, Width(e->rect), scrolls);
    if (offset != e->offset) e->offset = offset, redraw = true;
    if (redraw) RenderText(*e, window, backBuffer);
  }
}

bool SkinElements::Busy(uint32_t now) const {
  for (const auto& e : elements_) {
    if (e->type == SkinRecordType::Text && e->scrolling) return true;
    if (e->type == SkinRecordType::Slider && e->dragging) return true;
    if (e->type == SkinRecordType::Visualisation && e->drawnAt && now - e->drawnAt < 500) return true;
  }
  return false;
}

void SkinElements::RedrawStaleCurves(HWND window, HDC backBuffer) {
  if (!curvesStale_) return;
  curvesStale_ = false;
  EqPositions eq{};
  block::OxEqPositions.PollValue(eq);
  RenderCurves(window, backBuffer, eq);
}

namespace {

// Where the part [from, from + length) along a bar's length lies in the area: bar at `across`,
// `thickness` wide, growing up (0), down (1), right (2) or left (3) from its base.
RECT BarPart(int32_t orientation, int32_t across, int32_t thickness, int32_t width, int32_t height, int32_t from,
             int32_t length) {
  switch (orientation) {
    case 1: return {across, from, across + thickness, from + length};
    case 2: return {from, across, from + length, across + thickness};
    case 3: return {width - from - length, across, width - from, across + thickness};
    default: return {across, height - from - length, across + thickness, height - from};
  }
}

struct BarLook {
  const BarStyle& colours;
  int32_t style, segments, gap;
  uint32_t outline, peakColour;
  bool peaks;
};

// Solid brushes of the colours a frame draws with, made once for the frame.
class FrameBrushes {
 public:
  HBRUSH Get(uint32_t colour) {
    for (const auto& [c, brush] : brushes_)
      if (c == colour) return brush;
    brushes_.emplace_back(colour, CreateSolidBrush(colour));
    return brushes_.back().second;
  }
  ~FrameBrushes() {
    for (const auto& entry : brushes_) DeleteObject(entry.second);
  }

 private:
  std::vector<std::pair<uint32_t, HBRUSH>> brushes_;
};

// A picture of the whole area in the bars' colours along their length: solid, or a gradient from
// colour 1 at the base to colour 2 at the tip (stepped per segment when segmented).
void PrepareBars(Bitmap& picture, const BarLook& look, int32_t width, int32_t height) {
  picture.Create(width, height);
  if (picture.IsEmpty() || (look.colours.colourMode != 1 && look.colours.colourMode != 2)) return;
  const bool vertical = look.colours.orientation <= 1;
  const int32_t length = vertical ? height : width, across = vertical ? width : height;
  int32_t step = 1;
  if (look.style >= 1) step = std::max(length / std::max(look.segments, 1), 1);
  for (int32_t p = 0; p < length; ++p) {
    const int32_t at = p / step * step;
    const uint32_t colour = look.colours.colourMode == 1 ? look.colours.colour1
                                                         : ColourByLevel(look.colours.colour1, look.colours.colour2,
                                                                         length > 1 ? at * 256 / length : 0);
    RECT r = BarPart(look.colours.orientation, 0, across, width, height, p, 1);
    BrushHolder brush(picture.Dc(), colour);
    FillRect(picture.Dc(), &r, static_cast<HBRUSH>(GetCurrentObject(picture.Dc(), OBJ_BRUSH)));
  }
}

// One bar of `level` (of `full`), its peak line when peaks are on.
void DrawBar(HDC dc, const Bitmap& picture, const BarLook& look, int32_t across, int32_t thickness, int32_t width,
             int32_t height, int32_t level, int32_t full, int32_t peak, FrameBrushes& brushes) {
  const int32_t orientation = look.colours.orientation;
  const int32_t length = orientation <= 1 ? height : width;
  const int32_t drawn = level * length / full;
  auto paint = [&](int32_t from, int32_t size) {
    const RECT r = BarPart(orientation, across, thickness, width, height, from, size);
    if (look.colours.colourMode == 3) {
      if (level <= 1) return;
      FillRect(dc, &r, brushes.Get(ColourByLevel(look.colours.colour1, look.colours.colour2, level * 256 / full)));
    } else if (look.colours.colourMode != 0) {
      BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, picture.Dc(), r.left, r.top, SRCCOPY);
    }
    if (look.style == 2) FrameRect(dc, &r, brushes.Get(look.outline));
  };
  if (look.style == 0) {
    if (drawn > 0) paint(0, drawn);
  } else {
    for (const Span& s : BarSegments(drawn, length, look.segments, look.gap)) paint(s.from, s.length);
  }
  if (look.peaks && peak > 0) {
    const int32_t at = std::min(peak * length / full, length - 1);
    const RECT r = BarPart(orientation, across, thickness, width, height, at, 1);
    FillRect(dc, &r, brushes.Get(look.peakColour));
  }
}

}  // namespace

void SkinElements::InitialiseVisual(Element& e) const {
  const VisualisationRecord v = e.record.As<VisualisationRecord>();
  const int32_t width = Width(e.rect), height = Height(e.rect);
  if (e.mode < 0) e.mode = v.mode >= 0 && v.mode <= 2 ? v.mode : 0;
  e.saved.Create(width, height);
  e.fullBarsStale = true;
  e.composition.Create(width, height);
  const int32_t count = std::max(v.barCount, 1);
  e.levels.assign(count, 0);
  e.peaks.assign(count, BarPeak{});
  PrepareBars(e.bars, {v.bars, v.barStyle, v.barSegments, v.barGap, v.barOutline, v.barPeakColour, v.barPeaks != 0},
              width, height);
  PrepareBars(e.meterBar,
              {v.meter, v.meterStyle, v.meterSegments, v.meterGap, v.meterOutline, v.meterPeakColour, v.meterPeaks != 0},
              width, height);
  if (v.scopeGradient) {  // colour A at the top, B at half height, C at the bottom
    e.scope.Create(width, height);
    e.scopeMask.Create(width, height);
    e.scopeLine.Create(width, height);
    for (int32_t y = 0; y < height && !e.scope.IsEmpty(); ++y) {
      const int32_t half = std::max(height / 2, 1);
      const uint32_t colour = y < half ? ColourByLevel(v.scopeTop, v.scopeMiddle, y * 256 / half)
                                       : ColourByLevel(v.scopeMiddle, v.scopeBottom, (y - half) * 256 / std::max(height - half, 1));
      RECT r{0, y, width, y + 1};
      BrushHolder brush(e.scope.Dc(), colour);
      FillRect(e.scope.Dc(), &r, static_cast<HBRUSH>(GetCurrentObject(e.scope.Dc(), OBJ_BRUSH)));
    }
  }
}

void SkinElements::RenderVisual(Element& e, HWND window, HDC backBuffer, const OxVisualSnapshot& snapshot) const {
  const int32_t width = Width(e.rect), height = Height(e.rect);
  if (e.composition.IsEmpty() || width <= 0 || height <= 0) return;
  const VisualisationRecord v = e.record.As<VisualisationRecord>();
  const int channel = v.channel == 1 ? 1 : 0;
  // The state this frame shows; the same state as the last frame's draws the same pixels.
  std::vector<int32_t> levels, peaks;
  if (e.mode == 0) {
    const int32_t count = static_cast<int32_t>(e.levels.size());
    for (int32_t i = 0; i < count; ++i) {
      const int32_t value = snapshot.spectrum[channel][BarSpectrumIndex(i, count)];
      e.levels[i] = FallenLevel(e.levels[i], value);
      e.peaks[i].Step(value);
      peaks.push_back(e.peaks[i].peak);
    }
    levels = e.levels;
  } else if (e.mode == 2) {
    e.meter = MeterLevel(e.meter, snapshot.waveform[channel]);
    e.meterPeak.Step(e.meter);
    levels = {e.meter}, peaks = {e.meterPeak.peak};
  }
  const bool sameWave = std::memcmp(e.shownWave, snapshot.waveform[channel], sizeof e.shownWave) == 0;
  if (window && e.mode == e.shownMode && levels == e.shownLevels && peaks == e.shownPeaks && (e.mode != 1 || sameWave))
    return;
  e.shownMode = e.mode, e.shownLevels = levels, e.shownPeaks = peaks;
  e.drawnAt = GetTickCount();
  std::memcpy(e.shownWave, snapshot.waveform[channel], sizeof e.shownWave);

  HDC dc = e.composition.Dc();
  BitBlt(dc, 0, 0, width, height, e.saved.Dc(), 0, 0, SRCCOPY);
  FrameBrushes brushes;
  if (e.mode == 0) {
    const BarLook look{v.bars, v.barStyle, v.barSegments, v.barGap, v.barOutline, v.barPeakColour, v.barPeaks != 0};
    const int32_t count = static_cast<int32_t>(e.levels.size());
    const BarLayout layout = LayoutBars(count, v.bars.orientation <= 1 ? width : height);
    // A bar's colour that follows its level (mode 3) is drawn piece by piece; the others are full
    // bars cut at their level.
    if (look.colours.colourMode != 3 && (e.fullBarsStale || e.fullBars.IsEmpty())) {
      e.fullBars.Create(width, height);
      BitBlt(e.fullBars.Dc(), 0, 0, width, height, e.saved.Dc(), 0, 0, SRCCOPY);
      BarLook bare = look;
      bare.peaks = false;
      for (int32_t i = 0; i < count; ++i)
        DrawBar(e.fullBars.Dc(), e.bars, bare, i * (layout.thickness + layout.gap), layout.thickness, width, height,
                256, 256, 0, brushes);
      e.fullBarsStale = false;
    }
    if (look.colours.colourMode == 3 || e.fullBars.IsEmpty()) {
      for (int32_t i = 0; i < count; ++i)
        DrawBar(dc, e.bars, look, i * (layout.thickness + layout.gap), layout.thickness, width, height, e.levels[i],
                256, e.peaks[i].peak, brushes);
    } else {
      const int32_t orientation = look.colours.orientation, length = orientation <= 1 ? height : width;
      for (int32_t i = 0; i < count; ++i) {
        const int32_t across = i * (layout.thickness + layout.gap);
        const int32_t extent = BarExtent(e.levels[i] * length / 256, length, look.segments, look.style != 0);
        if (extent > 0) {
          const RECT r = BarPart(orientation, across, layout.thickness, width, height, 0, extent);
          BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, e.fullBars.Dc(), r.left, r.top, SRCCOPY);
        }
        DrawBar(dc, e.bars, look, across, layout.thickness, width, height, 0, 256, e.peaks[i].peak, brushes);
      }
    }
  } else if (e.mode == 1) {
    const std::vector<Point> points = ScopePoints(snapshot.waveform[channel], width, height);
    std::vector<POINT> line(points.size());
    for (size_t i = 0; i < points.size(); ++i) line[i] = {points[i].x, points[i].y};
    if (!v.scopeGradient || e.scope.IsEmpty() || e.scopeMask.IsEmpty() || e.scopeLine.IsEmpty()) {
      PenHolder pen(dc, v.scopeLine);
      Polyline(dc, line.data(), static_cast<int>(line.size()));
    } else {
      // The line in the gradient's colours: the background keeps all but the line (drawn white on
      // black, inverted), the gradient only the line; the two are ORed.
      Bitmap& mask = e.scopeMask;
      RECT all{0, 0, width, height};
      FillRect(mask.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      {
        PenHolder pen(mask.Dc(), 0xFFFFFF);
        Polyline(mask.Dc(), line.data(), static_cast<int>(line.size()));
      }
      Bitmap& lineColours = e.scopeLine;
      BitBlt(lineColours.Dc(), 0, 0, width, height, e.scope.Dc(), 0, 0, SRCCOPY);
      BitBlt(lineColours.Dc(), 0, 0, width, height, mask.Dc(), 0, 0, SRCAND);
      BitBlt(dc, 0, 0, width, height, mask.Dc(), 0, 0, 0x00220326);  // DSna: keep what the line misses
      BitBlt(dc, 0, 0, width, height, lineColours.Dc(), 0, 0, SRCPAINT);
    }
  } else {
    const BarLook look{v.meter, v.meterStyle, v.meterSegments, v.meterGap, v.meterOutline, v.meterPeakColour,
                       v.meterPeaks != 0};
    DrawBar(dc, e.meterBar, look, 0, v.meter.orientation <= 1 ? width : height, width, height, e.meter, 128,
            e.meterPeak.peak, brushes);
  }
  BitBlt(backBuffer, e.rect.left, e.rect.top, width, height, dc, 0, 0, SRCCOPY);
  if (window) {
    RECT r{e.rect.left, e.rect.top, e.rect.right, e.rect.bottom};
    InvalidateRect(window, &r, FALSE);
  }
}

std::vector<std::pair<std::string, int32_t>> SkinElements::VisualModes() const {
  std::vector<std::pair<std::string, int32_t>> modes;
  for (const auto& e : elements_)
    if (e->type == SkinRecordType::Visualisation && e->mode >= 0)
      modes.emplace_back(std::string(e->record.Header().Name()), e->mode);
  return modes;
}

void SkinElements::SetVisualMode(std::string_view name, int32_t mode) {
  for (auto& e : elements_)
    if (e->type == SkinRecordType::Visualisation && e->record.Header().Name() == name && mode >= 0 && mode <= 2)
      e->mode = mode;
}

}  // namespace ox
