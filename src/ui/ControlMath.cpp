#include "ui/ControlMath.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "base/Ticks.h"
#include "base/Utf8.h"
#include "ui/SkinLimits.h"

namespace ox {

SkinRect ElementRect(const SkinHeader& element, const SkinHeader& window) {
  constexpr int64_t kSide = int64_t{1} << 30;
  const int32_t x = static_cast<int32_t>(std::clamp(int64_t{element.x} - window.x, -kSide, kSide));
  const int32_t y = static_cast<int32_t>(std::clamp(int64_t{element.y} - window.y, -kSide, kSide));
  return {x, y, x + std::clamp(int32_t{element.width}, 0, kMaxSkinExtent),
          y + std::clamp(int32_t{element.height}, 0, kMaxSkinExtent)};
}

bool Hits(const SkinRect& r, int32_t x, int32_t y) { return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom; }

bool IsBandSource(int32_t source) {
  return source >= int32_t(SliderSource::FirstOfTen) && source <= int32_t(SliderSource::LastOfTwenty);
}

namespace {

// The slider of the equaliser positions record a band source stands for.
int32_t BandOf(int32_t source) {
  return source <= int32_t(SliderSource::LastOfTen) ? source - int32_t(SliderSource::FirstOfTen)
                                                    : source - int32_t(SliderSource::FirstOfTwenty);
}

}  // namespace

int32_t SliderValue(int32_t source, const SliderSources& s) {
  if (IsBandSource(source)) return (std::clamp(int32_t{s.eq.sliders[BandOf(source)]}, -200, 200) + 200) / 4;
  switch (static_cast<SliderSource>(source)) {
    case SliderSource::Volume: return static_cast<int32_t>(std::min<uint32_t>(s.volume, 100));
    case SliderSource::Balance: return static_cast<int32_t>(std::min<uint32_t>(s.balance, 100));
    case SliderSource::Position:
      if (s.time.lengthMs == 0) return 0;
      return static_cast<int32_t>(std::min<uint64_t>(uint64_t{s.time.elapsedMs} * 100 / s.time.lengthMs, 100));
    case SliderSource::Preamp: return static_cast<int32_t>(std::clamp<int64_t>(int64_t{s.eq.preamp} + 100, 0, 100));
    default: return 0;
  }
}

bool Within(const Moment& moment, uint32_t now, uint32_t ms) { return moment.happened && TicksSince(moment.at, now) < ms; }

bool SliderDue(SliderTimes& t, uint32_t now) {
  if (!Within(t.released, now, kSliderHoldMs)) t.released = {};
  return !t.dragging && !t.released.happened && !Within(t.read, now, kSliderReadMs);
}

SliderWrite WriteSlider(int32_t source, int32_t value, const EqPositions& eq) {
  value = std::clamp(value, 0, 100);
  SliderWrite w;
  if (IsBandSource(source)) {
    EqPositions changed = eq;
    changed.layout = source <= int32_t(SliderSource::LastOfTen) ? 1 : 0;
    changed.sliders[BandOf(source)] = value * 4 - 200;
    w.eq = changed;
    w.bandChanged = true;
    return w;
  }
  switch (static_cast<SliderSource>(source)) {
    case SliderSource::Volume: w.volume = static_cast<uint32_t>(value); break;
    case SliderSource::Balance:
      w.balance = value >= 45 && value <= 55 ? 50u : value == 0 ? 1u : static_cast<uint32_t>(value);
      break;
    case SliderSource::Position: w.skipTo = static_cast<uint32_t>(value + 1); break;
    case SliderSource::Preamp: {
      EqPositions changed = eq;
      changed.preamp = value - 100;
      w.eq = changed;
      break;
    }
    default: break;
  }
  return w;
}

int32_t SliderValueAt(int32_t d, int32_t size, bool vertical) {
  if (size <= 0) return vertical ? 100 : 0;
  const int32_t value = static_cast<int32_t>(int64_t{std::clamp(d, 0, size)} * 100 / size);
  return vertical ? 100 - value : value;
}

SliderLayout LayoutSlider(int32_t value, int32_t trackWidth, int32_t trackHeight, int32_t knobWidth,
                          int32_t knobHeight, bool vertical) {
  // In 64 bits: sizes of any sign and magnitude, places held to the int32 range.
  const int64_t v = std::clamp(value, 0, 100), tw = trackWidth, th = trackHeight, kw = knobWidth, kh = knobHeight;
  auto fit = [](int64_t n) {
    return static_cast<int32_t>(std::clamp<int64_t>(n, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
  };
  SliderLayout l;
  if (!vertical) {
    l.fill = {0, 0, fit(std::min(tw, tw * v / 100)), fit(th)};
    l.knob = {fit(std::min(tw - kw, (tw - kw) * v / 100)), fit(th / 2 - kh / 2)};
  } else {
    l.fill = {0, fit(th - th * v / 100), fit(tw), fit(th)};
    l.knob = {fit(tw / 2 - kw / 2), fit((th - kh) * (100 - v) / 100)};
  }
  return l;
}

int32_t CurveY(float value, int32_t height) {
  const float v = value > 200.f ? 200.f : value >= -200.f ? value : -200.f;  // NaN too: the bottom
  height = std::clamp(height, 0, kMaxSkinExtent);
  return static_cast<int32_t>(height - (v + 200) * height / 400);
}

namespace {

std::string Format(const char* format, long long value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Clock(const char* sign, uint32_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%2u:%02u", sign, ms / 60000, ms / 1000 % 60);
  return text;
}

}  // namespace

std::string ElementText(int32_t kind, const TrackRecord& track, const TrackTime& time, uint32_t currentBitRate) {
  switch (static_cast<TextKind>(kind)) {
    case TextKind::TitleLine: {
      std::string line(track.Artist());
      if (!line.empty()) line += " - ";
      line += track.Title();
      if (line.empty()) line = track.Path();
      return line.empty() ? "Not Playing" : line;
    }
    case TextKind::Elapsed: return Clock("", time.elapsedMs);
    case TextKind::Remaining: return Clock("-", time.remainingMs);
    case TextKind::Length: return Clock("", time.lengthMs);
    case TextKind::BitRate: {
      const uint16_t field = track.bitRateKbps;
      if (field == 0) return {};
      if (currentBitRate) return Format("%3lld", currentBitRate);
      const int16_t rate = static_cast<int16_t>(field);
      return rate < 1301 ? Format("%3lld", rate) : "CD";
    }
    case TextKind::SampleRate: return track.sampleRate ? Format("%2lld", track.sampleRate / 1000) : std::string();
    case TextKind::StereoOrMono: return track.channels == 2 ? "Stereo" : track.channels == 1 ? "Mono" : "";
    case TextKind::Channels: return track.channels ? Format("%lld", track.channels) : std::string();
    case TextKind::Artist: return std::string(track.Artist());
    case TextKind::Title: return std::string(track.Title());
    case TextKind::Album: return std::string(track.Album());
    case TextKind::TrackNumber: return track.trackNumber ? Format("%2lld", track.trackNumber) : std::string();
    case TextKind::Path: return std::string(track.Path());
    case TextKind::Preference: return Format("%lld", track.preference);
    case TextKind::Nothing: return {};
    case TextKind::FileSizeKb: return Format("%lld", track.fileSize ? track.fileSize / 1024 + 1 : 0);
    case TextKind::TimesPlayed: return track.timesPlayed ? Format("%lld", track.timesPlayed) : std::string();
  }
  return {};
}

std::optional<int32_t> SecondCopyAt(int32_t offset, int32_t textWidth, int32_t width) {
  if (offset >= 0) return std::nullopt;
  const int32_t at = offset + textWidth + std::max(60, width - textWidth);
  if (at < 0 || at >= width) return std::nullopt;
  return at;
}

int32_t NextScrollOffset(int32_t offset, int32_t textWidth, int32_t width, bool scrolls) {
  if (!scrolls) return 0;
  --offset;
  if (offset < -10 - textWidth) {
    const int32_t second = offset + textWidth + std::max(60, width - textWidth);
    return second >= 0 && second < width ? second - 1 : width;
  }
  return offset;
}

uint8_t FoldForBitmapFont(uint8_t c) {
  struct Fold {
    uint8_t from, to;
    char as;
  };
  static constexpr Fold kFolds[] = {
      {0x93, 0x94, '"'}, {0x91, 0x92, '\''}, {0xB4, 0xB4, '\''}, {0x95, 0x95, '*'}, {0x96, 0x97, '-'},
      {0xAD, 0xAD, '-'}, {0x8B, 0x8B, '<'}, {0x9B, 0x9B, '>'},   {0xC7, 0xC7, 'C'}, {0xD0, 0xD0, 'D'},
      {0xC8, 0xCB, 'E'}, {0xCC, 0xCF, 'I'}, {0xD1, 0xD1, 'N'},   {0xD2, 0xD3, 'O'}, {0x8A, 0x8A, 'S'},
      {0x9A, 0x9A, 'S'}, {0xDF, 0xDF, 'S'}, {0xD9, 0xDC, 'U'},   {0x9F, 0x9F, 'Y'}, {0xA5, 0xA5, 'Y'},
      {0xDD, 0xDD, 'Y'}, {0x8E, 0x8E, 'Z'}, {0x98, 0x98, '^'},   {0xA8, 0xA8, '^'}, {0xA2, 0xA2, 'c'},
      {0xE7, 0xE7, 'c'}, {0xF0, 0xF0, 'd'}, {0xE8, 0xEB, 'e'},   {0xEC, 0xEF, 'i'}, {0xF1, 0xF1, 'n'},
      {0xF2, 0xF3, 'o'}, {0xFE, 0xFE, 'p'}, {0xB5, 0xB5, 'u'},   {0xF9, 0xFC, 'u'}, {0xD7, 0xD7, 'x'},
      {0xFD, 0xFD, 'y'}, {0xFF, 0xFF, 'y'}, {0x9E, 0x9E, 'z'},   {0x8C, 0x8C, 0x7B}, {0xC0, 0xC1, 0x7B},
      {0xC5, 0xC5, 0x7B}, {0xC2, 0xC4, 0x7C}, {0xC6, 0xC6, 0x7C}, {0xD4, 0xD6, 0x7D}, {0xD8, 0xD8, 0x7D},
      {0x9C, 0x9C, 0x7E}, {0xE0, 0xE1, 0x7E}, {0xE5, 0xE5, 0x7E}, {0xE2, 0xE4, 0x7F}, {0xE6, 0xE6, 0x7F},
      {0xF6, 0xF6, static_cast<char>(0x80)}, {0xF8, 0xF8, static_cast<char>(0x80)},
  };
  for (const Fold& f : kFolds) {
    if (c >= f.from && c <= f.to) return static_cast<uint8_t>(f.as);
  }
  return c;
}

std::optional<int32_t> GlyphCell(uint8_t code) {
  if (code <= 32 || code - 33 >= 96) return std::nullopt;
  return code - 33;
}

namespace {

// The Windows-1252 code of a character past U+00FF that the code page has (its 0x80..0x9F row), or
// 0. Titles written as that code page and converted keep their curly quotes, dashes and the like.
uint8_t Windows1252Code(char32_t c) {
  struct Mark {
    char16_t character;
    uint8_t code;
  };
  static constexpr Mark kMarks[] = {
      {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
      {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
      {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
      {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
      {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
  };
  for (const Mark& m : kMarks) {
    if (m.character == c) return m.code;
  }
  return 0;
}

std::optional<int32_t> BitmapFontCell(char32_t c) {
  if (c <= 32) return std::nullopt;
  const uint8_t code = c <= 0xFF ? static_cast<uint8_t>(c) : Windows1252Code(c);
  if (code) {
    if (const std::optional<int32_t> cell = GlyphCell(FoldForBitmapFont(code))) return cell;
  }
  return GlyphCell(kBitmapFontFallback);
}

}  // namespace

std::vector<std::optional<int32_t>> BitmapFontCells(std::string_view text) {
  std::vector<std::optional<int32_t>> cells;
  for (size_t at = 0; at < text.size();) {
    const Utf8Step step = DecodeUtf8(text, at);
    cells.push_back(BitmapFontCell(step.character));
    at += step.length;
  }
  return cells;
}

int32_t BitmapTextWidth(int32_t bitmapWidth, std::string_view text) {
  const int64_t advance = bitmapWidth / 96 - 1;
  const int64_t length = static_cast<int64_t>(CountCharacters(text));
  return static_cast<int32_t>(std::clamp<int64_t>(std::max<int64_t>(0, advance) * length, 0, std::numeric_limits<int32_t>::max()));
}

FileSelection SelectedFiles(std::string_view buffer) {
  std::vector<std::string> parts;
  for (size_t at = 0; at < buffer.size() && buffer[at] != '\0';) {
    size_t end = buffer.find('\0', at);
    if (end == std::string_view::npos) end = buffer.size();
    parts.emplace_back(buffer.substr(at, end - at));
    at = end + 1;
  }
  FileSelection s;
  if (parts.empty()) return s;
  if (parts.size() == 1) {
    const size_t slash = parts[0].find_last_of('\\');
    s.folder = slash == std::string::npos ? std::string() : parts[0].substr(0, slash + 1);
    s.paths.push_back(parts[0]);
    return s;
  }
  s.folder = parts[0];
  if (s.folder.empty() || s.folder.back() != '\\') s.folder += '\\';
  for (size_t i = 1; i < parts.size(); ++i) s.paths.push_back(s.folder + parts[i]);
  std::stable_sort(s.paths.begin(), s.paths.end(), [](const std::string& a, const std::string& b) {
    return CompareBytes(a, b) < 0;
  });
  return s;
}

int32_t ButtonBitmap(int32_t state, bool lit) {
  if (!lit) return state == 1 ? 1 : state == 2 ? 2 : 0;
  return state == 1 ? 0 : 1;
}

}  // namespace ox
