#include "ui/SkinElements.h"

#include <utility>

#include "base/Ticks.h"
#include "core/NamedObjects.h"
#include "engine/VisualOutputHost.h"
#include "ui/EqCurveElement.h"
#include "ui/ImageElement.h"
#include "ui/SliderElement.h"
#include "ui/TextElement.h"
#include "ui/VisualElement.h"
#include "ui/Window.h"

namespace ox {

namespace {

// The shared blocks the given slider sources show; with no sources given, all of them.
SliderSources ReadSources(const std::vector<int32_t>& wanted = {}) {
  auto wants = [&](SliderSource from, SliderSource to) {
    if (wanted.empty()) return true;
    for (int32_t source : wanted)
      if (source >= int32_t(from) && source <= int32_t(to)) return true;
    return false;
  };
  SliderSources s;
  if (wants(SliderSource::Volume, SliderSource::Volume)) block::OxVolume.PollValue(s.volume);
  if (wants(SliderSource::Balance, SliderSource::Balance)) block::OxBalance.PollValue(s.balance);
  if (wants(SliderSource::Position, SliderSource::Position)) block::OxTrackTime.PollValue(s.time);
  if (wants(SliderSource::FirstOfTen, SliderSource::Preamp)) block::OxEqPositions.PollValue(s.eq);
  return s;
}

bool HasTrackMenuResource() { return FindResourceA(ModuleInstance(), MAKEINTRESOURCEA(104), RT_MENU) != nullptr; }

template <typename Element>
size_t Add(std::vector<std::unique_ptr<Element>>& list, std::unique_ptr<Element> element) {
  list.push_back(std::move(element));
  return list.size() - 1;
}

}  // namespace

SkinElements::SkinElements(std::string folder, const SkinHeader& window, const std::vector<SkinRecord>& records)
    : folder_(std::move(folder)) {
  for (const SkinRecord& record : records) {
    switch (record.Type()) {
      case SkinRecordType::Image:
        order_.push_back({Kind::Image, Add(images_, std::make_unique<ImageElement>(record, window))});
        break;
      case SkinRecordType::Slider:
        order_.push_back({Kind::Slider, Add(sliders_, std::make_unique<SliderElement>(record, window))});
        break;
      case SkinRecordType::Text:
        order_.push_back({Kind::Text, Add(texts_, std::make_unique<TextElement>(record, window))});
        break;
      case SkinRecordType::EqCurve:
        order_.push_back({Kind::EqCurve, Add(curves_, std::make_unique<EqCurveElement>(record, window))});
        break;
      case SkinRecordType::Visualisation:
        order_.push_back({Kind::Visualisation, Add(visuals_, std::make_unique<VisualElement>(record, window))});
        break;
      case SkinRecordType::Font: fonts_.push_back(std::make_unique<FontElement>(record)); break;
      default: break;  // windows, and buttons: the button set's
    }
  }
}

SkinElements::~SkinElements() = default;

void SkinElements::Initialise() {
  for (auto& e : images_) e->Load(folder_);
  for (auto& e : sliders_) e->Load(folder_);
  for (auto& e : fonts_) e->Load(folder_);
  for (auto& e : curves_) e->Initialise();
  for (auto& e : visuals_) e->Initialise();
  for (auto& text : texts_) {
    const FontElement* font = nullptr;
    for (const auto& f : fonts_) {
      if (f->Name() == text->FontName()) {
        font = f.get();
        break;
      }
    }
    text->Initialise(font);
  }
}

void SkinElements::Release() {
  for (auto& e : images_) e->Release();
  for (auto& e : sliders_) e->Release();
  for (auto& e : texts_) e->Release();
  for (auto& e : fonts_) e->Release();
  for (auto& e : curves_) e->Release();
  for (auto& e : visuals_) e->Release();
}

void SkinElements::Paint(HDC backBuffer, const Bitmap& background) {
  const SliderSources sources = ReadSources();
  TrackShown shown;
  block::OxTrackPlaying.PollValue(shown.playing);
  block::OxCurrentBitRate.PollValue(shown.bitRate);
  shown.time = sources.time;
  const OxVisualSnapshot snapshot = visuals_.empty() ? OxVisualSnapshot{} : VisualDisplay();
  const uint32_t now = Ticks();
  for (const Placed& p : order_) {
    switch (p.kind) {
      case Kind::Image: images_[p.index]->Paint(backBuffer, shown.playing.channels); break;
      case Kind::Slider: sliders_[p.index]->Paint(backBuffer, background, sources); break;
      case Kind::Text: texts_[p.index]->Paint(backBuffer, shown); break;
      case Kind::EqCurve: curves_[p.index]->Paint(backBuffer, sources.eq); break;
      case Kind::Visualisation: visuals_[p.index]->Paint(backBuffer, snapshot, now); break;
    }
  }
}

void SkinElements::Refresh(HWND window, HDC backBuffer, const Bitmap& background) {
  const uint32_t now = Ticks();
  std::vector<SliderElement*> due;
  std::vector<int32_t> wanted;
  for (auto& s : sliders_) {
    if (!s->Due(now)) continue;
    due.push_back(s.get());
    wanted.push_back(s->Source());
  }
  const SliderSources sources = wanted.empty() ? SliderSources{} : ReadSources(wanted);
  bool bands = false;
  for (SliderElement* s : due) {
    if (s->Read(SliderValue(s->Source(), sources), now, window, backBuffer, background))
      bands = bands || IsBandSource(s->Source());
  }
  if (bands) {
    for (auto& c : curves_) c->Render(window, backBuffer, sources.eq);
  }
  if (visuals_.empty()) return;
  const OxVisualSnapshot snapshot = VisualDisplay();
  for (auto& v : visuals_) v->Render(window, backBuffer, snapshot, now);
}

void SkinElements::RedrawStaleCurves(HWND window, HDC backBuffer) {
  if (!curvesStale_) return;
  curvesStale_ = false;
  EqPositions eq{};
  block::OxEqPositions.PollValue(eq);
  for (auto& c : curves_) c->Render(window, backBuffer, eq);
}

bool SkinElements::TakeTrackMenuRequest() { return std::exchange(trackMenuAsked_, false); }

void OpenTrackMenu(HWND window) {
  HMENU menu = LoadMenuA(ModuleInstance(), MAKEINTRESOURCEA(104));
  if (!menu) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
  DestroyMenu(menu);
}

bool SkinElements::Mouse(ElementMouse kind, int32_t x, int32_t y, HWND window, HDC backBuffer,
                         const Bitmap& background) {
  if (kind == ElementMouse::RightDown) {
    for (auto& t : texts_)
      if (t->Hits(x, y) && t->HasTrackMenu() && HasTrackMenuResource()) return trackMenuAsked_ = true;
  }
  for (auto& v : visuals_) {
    if (!v->Hits(x, y)) continue;
    if (kind == ElementMouse::LeftDown) v->Toggle();
    if (kind == ElementMouse::LeftDown || kind == ElementMouse::RightDown) return true;
  }
  bool taken = false, ended = false;
  for (auto& s : sliders_) {
    if (kind == ElementMouse::LeftDown && s->Hits(x, y)) {
      curvesStale_ = s->StartDrag(x, y, window, backBuffer, background) || curvesStale_;
      RedrawStaleCurves(window, backBuffer);
      return true;
    }
    if (kind == ElementMouse::RightDown && s->Hits(x, y)) return true;  // a slider takes both presses
    if (!s->Dragging()) continue;
    if (kind == ElementMouse::Move) {
      curvesStale_ = s->DragTo(x, y, window, backBuffer, background) || curvesStale_;
      RedrawStaleCurves(window, backBuffer);
      taken = true;
    } else if (kind == ElementMouse::Up) {
      s->EndDrag(Ticks());
      ended = taken = true;
    }
  }
  if (ended && GetCapture() == window) ReleaseCapture();
  return taken;
}

void SkinElements::EndDrags(HWND window) {
  bool ended = false;
  for (auto& s : sliders_) {
    if (!s->Dragging()) continue;
    s->EndDrag(Ticks());
    ended = true;
  }
  if (ended && GetCapture() == window) ReleaseCapture();
}

void SkinElements::Tick(HWND window, HDC backBuffer) {
  // The time texts change about once a second: their blocks are looked at every 100 ms, not on
  // every tick.
  const uint32_t now = Ticks();
  TrackShown shown;
  bool read = false;
  if (!Within(timesLooked_, now, 100)) {
    for (const auto& t : texts_) {
      if (!t->HasFont() || !t->IsTimeText()) continue;
      block::OxTrackPlaying.PollValue(shown.playing);
      block::OxTrackTime.PollValue(shown.time);
      block::OxCurrentBitRate.PollValue(shown.bitRate);
      timesLooked_ = {true, now};
      read = true;
      break;
    }
  }
  for (auto& t : texts_)
    if (t->HasFont()) t->Tick(window, backBuffer, read ? &shown : nullptr);
}

bool SkinElements::Busy(uint32_t now) const {
  for (const auto& t : texts_)
    if (t->Scrolling()) return true;
  for (const auto& s : sliders_)
    if (s->Dragging()) return true;
  for (const auto& v : visuals_)
    if (v->Busy(now)) return true;
  return false;
}

std::vector<std::pair<std::string, int32_t>> SkinElements::VisualModes() const {
  std::vector<std::pair<std::string, int32_t>> modes;
  for (const auto& v : visuals_)
    if (v->Mode() >= 0) modes.emplace_back(std::string(v->Name()), v->Mode());
  return modes;
}

void SkinElements::SetVisualMode(std::string_view name, int32_t mode) {
  for (auto& v : visuals_)
    if (v->Name() == name) v->SetMode(mode);
}

}  // namespace ox
