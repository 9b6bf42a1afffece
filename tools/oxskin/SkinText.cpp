#include "tools/oxskin/SkinText.h"

#include <cstddef>
#include <cstring>
#include <limits>

#include "base/ByteSource.h"
#include "base/Text.h"
#include "ui/SkinLimits.h"

namespace ox::skintext {

namespace {

constexpr int32_t kAny = 1, kNone = 0;  // min > max: any value

constexpr uint16_t Off(size_t offset) { return static_cast<uint16_t>(offset); }

Field Number(const char* name, size_t offset, int32_t min = kAny, int32_t max = kNone) {
  return {name, Off(offset), 4, FieldKind::Number, min, max};
}
// A field held to a bound of SkinLimits.h.
Field Bounded(const char* name, size_t offset, int32_t min, int32_t max) {
  return {name, Off(offset), 4, FieldKind::Number, min, max, true};
}
Field Colour(const char* name, size_t offset) { return {name, Off(offset), 4, FieldKind::Colour, kAny, kNone}; }
Field Flag(const char* name, size_t offset) { return {name, Off(offset), 1, FieldKind::Byte, 0, 1}; }
Field Text(const char* name, size_t offset, size_t size) {
  return {name, Off(offset), static_cast<uint16_t>(size), FieldKind::Text, kAny, kNone};
}

std::vector<RecordKind> MakeKinds() {
  using V = VisualisationRecord;
  const size_t bars = offsetof(V, bars), meter = offsetof(V, meter);
  const std::vector<Field> vis = {
      Number("window", offsetof(SkinHeader, windowId)), Number("channel", offsetof(V, channel), 0, 1),
      Number("mode", offsetof(V, mode), 0, 2),
      Number("bars.orientation", bars + offsetof(BarStyle, orientation), 0, 3),
      Number("bars.colourMode", bars + offsetof(BarStyle, colourMode), 0, 3),
      Colour("bars.colour1", bars + offsetof(BarStyle, colour1)), Colour("bars.colour2", bars + offsetof(BarStyle, colour2)),
      Bounded("bars.count", offsetof(V, barCount), 0, kMaxVisualBars), Number("bars.peaks", offsetof(V, barPeaks), 0, 1),
      Colour("bars.peakColour", offsetof(V, barPeakColour)), Number("bars.style", offsetof(V, barStyle), 0, 2),
      Colour("bars.outline", offsetof(V, barOutline)), Bounded("bars.segments", offsetof(V, barSegments), 0, kMaxBarSegments),
      Bounded("bars.gap", offsetof(V, barGap), 0, kMaxBarGap),
      Number("meter.orientation", meter + offsetof(BarStyle, orientation), 0, 3),
      Number("meter.colourMode", meter + offsetof(BarStyle, colourMode), 0, 3),
      Colour("meter.colour1", meter + offsetof(BarStyle, colour1)),
      Colour("meter.colour2", meter + offsetof(BarStyle, colour2)), Number("meter.peaks", offsetof(V, meterPeaks), 0, 1),
      Colour("meter.peakColour", offsetof(V, meterPeakColour)), Number("meter.style", offsetof(V, meterStyle), 0, 2),
      Colour("meter.outline", offsetof(V, meterOutline)), Bounded("meter.segments", offsetof(V, meterSegments), 0, kMaxBarSegments),
      Bounded("meter.gap", offsetof(V, meterGap), 0, kMaxBarGap), Number("scope.gradient", offsetof(V, scopeGradient), 0, 1),
      Colour("scope.line", offsetof(V, scopeLine)), Colour("scope.top", offsetof(V, scopeTop)),
      Colour("scope.middle", offsetof(V, scopeMiddle)), Colour("scope.bottom", offsetof(V, scopeBottom))};
  return {
      {"window", 1,
       {Number("id", offsetof(SkinHeader, windowId)), Text("bitmap", offsetof(WindowRecord, bitmap), 260),
        Number("animation", offsetof(WindowRecord, openingAnimation), 0, 10),
        Number("placement", offsetof(WindowRecord, placement), 0, 2),
        Text("show", offsetof(WindowRecord, showCondition), 260),
        {"rank", Off(offsetof(WindowRecord, rank)), 1, FieldKind::SignedByte, kAny, kNone},
        Flag("topmost", offsetof(WindowRecord, topmost))}},
      {"button", 2,
       {Number("window", offsetof(SkinHeader, windowId)), Text("bitmap", offsetof(ButtonRecord, bitmap), 260),
        Number("mode", offsetof(ButtonRecord, eventMode), 0, 2), Text("command", offsetof(ButtonRecord, command), 260),
        Text("tooltip", offsetof(ButtonRecord, tooltip), 260)}},
      {"image", 3,
       {Number("window", offsetof(SkinHeader, windowId)), Text("bitmap", offsetof(ImageRecord, bitmap), 260),
        Text("condition", offsetof(ImageRecord, condition), 260)}},
      {"font", 4,
       {Number("window", offsetof(SkinHeader, windowId)), Flag("bitmapFont", offsetof(FontRecord, bitmapFont)),
        Text("bitmap", offsetof(FontRecord, bitmap), 260), Text("face", offsetof(FontRecord, face), 260),
        Bounded("fontHeight", offsetof(FontRecord, height), -kMaxFontHeight, kMaxFontHeight), Flag("italic", offsetof(FontRecord, italic)),
        Flag("underline", offsetof(FontRecord, underline)), Flag("bold", offsetof(FontRecord, bold)),
        Colour("colour", offsetof(FontRecord, colour))}},
      {"slider", 5,
       {Number("window", offsetof(SkinHeader, windowId)), Number("orientation", offsetof(SliderRecord, orientation), 0, 1),
        Text("track", offsetof(SliderRecord, track), 260), Text("knob", offsetof(SliderRecord, knob), 260),
        Text("fill", offsetof(SliderRecord, fill), 260), Number("source", offsetof(SliderRecord, source), 0, 33)}},
      {"text", 6,
       {Number("window", offsetof(SkinHeader, windowId)), Text("font", offsetof(TextRecord, font), 260),
        Number("kind", offsetof(TextRecord, kind), 0, 16), Flag("shadow", offsetof(TextRecord, shadow)),
        Colour("shadowColour", offsetof(TextRecord, shadowColour)),
        Flag("alwaysScroll", offsetof(TextRecord, alwaysScroll)),
        Flag("scrollWhenWide", offsetof(TextRecord, scrollWhenWide)), Flag("centre", offsetof(TextRecord, centre))}},
      {"visualisation", 7, vis},
      {"eqcurve", 8, {Number("window", offsetof(SkinHeader, windowId)), Colour("pen", offsetof(EqCurveRecord, pen))}},
      {"record", 0, {Number("type", offsetof(SkinHeader, type)), Number("window", offsetof(SkinHeader, windowId))}},
  };
}

const Field kName = Text("name", offsetof(SkinHeader, name), sizeof(SkinHeader::name));

std::string Hex(const uint8_t* bytes, size_t n) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < n; ++i) out += {digits[bytes[i] >> 4], digits[bytes[i] & 15]};
  return out;
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') out += {'\\', static_cast<char>(c)};
    else if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
    else out += "\\x" + Hex(&c, 1);
  }
  return out + "\"";
}

void PutNumber(const Field& f, uint8_t* record, int64_t value) {
  if (f.size == 4) PutLe32(record + f.offset, static_cast<uint32_t>(value));
  else record[f.offset] = static_cast<uint8_t>(value);
}

// Encodes the named fields of a record (header included) into zeros, as the text gives them.
void EncodeFields(const RecordKind& kind, const uint8_t* from, uint8_t* to) {
  std::memset(to, 0, kSkinRecordSize);
  PutLe32(to, kind.type ? static_cast<uint32_t>(kind.type) : Le32(from));
  const std::string name = TextValue(kName, from);
  std::memcpy(to + kName.offset, name.data(), name.size());
  for (const std::vector<Field>* list : {&HeaderFields(), &kind.fields}) {
    for (const Field& f : *list) {
      if (f.kind == FieldKind::Text) {
        const std::string text = TextValue(f, from);
        std::memcpy(to + f.offset, text.data(), text.size());
      } else {
        PutNumber(f, to, NumberValue(f, from));
      }
    }
  }
}

}  // namespace

const std::vector<RecordKind>& RecordKinds() {
  static const std::vector<RecordKind> kinds = MakeKinds();
  return kinds;
}

const RecordKind* KindOfType(int32_t type) {
  for (const RecordKind& kind : RecordKinds()) {
    if (kind.type == type) return &kind;
  }
  return nullptr;
}

const std::vector<Field>& HeaderFields() {
  static const std::vector<Field> fields = {
      Bounded("x", offsetof(SkinHeader, x), -kMaxSkinCoordinate, kMaxSkinCoordinate),
      Bounded("y", offsetof(SkinHeader, y), -kMaxSkinCoordinate, kMaxSkinCoordinate),
      Bounded("width", offsetof(SkinHeader, width), 0, kMaxSkinExtent),
      Bounded("height", offsetof(SkinHeader, height), 0, kMaxSkinExtent)};
  return fields;
}

int64_t NumberValue(const Field& f, const uint8_t* record) {
  switch (f.kind) {
    case FieldKind::Number:
      return f.size == 4 ? int64_t{static_cast<int32_t>(Le32(record + f.offset))} : record[f.offset];
    case FieldKind::Colour:
      return Le32(record + f.offset);
    case FieldKind::Byte:
      return record[f.offset];
    case FieldKind::SignedByte:
      return static_cast<int8_t>(record[f.offset]);
    case FieldKind::Text:
      break;
  }
  return 0;
}

std::string TextValue(const Field& f, const uint8_t* record) {
  return std::string(FieldText(reinterpret_cast<const char*>(record + f.offset), f.size));
}

std::string FormatValue(const Field& f, const uint8_t* record) {
  if (f.kind == FieldKind::Text) return Quote(TextValue(f, record));
  const int64_t value = NumberValue(f, record);
  if (f.kind == FieldKind::Colour) {
    const auto c = static_cast<uint32_t>(value);
    if (c >> 24) return "0x" + Hex(record + f.offset + 3, 1) + Hex(record + f.offset + 2, 1) +
                        Hex(record + f.offset + 1, 1) + Hex(record + f.offset, 1);
    const uint8_t rgb[3] = {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)};
    return "#" + Hex(rgb, 3);
  }
  return std::to_string(value);
}

std::vector<uint8_t> OutlineBytes(const std::vector<SkinPoint>& points) {
  std::vector<uint8_t> bytes(points.size() * 8);
  for (size_t i = 0; i < points.size(); ++i) {
    PutLe32(&bytes[i * 8], static_cast<uint32_t>(points[i].x));
    PutLe32(&bytes[i * 8 + 4], static_cast<uint32_t>(points[i].y));
  }
  return bytes;
}

std::string Dump(const std::vector<uint8_t>& file, const std::map<std::string, std::vector<SkinPoint>>& outlines) {
  std::string out;
  std::map<std::string, bool> outlined;
  const size_t whole = file.size() / kSkinRecordSize;
  for (size_t r = 0; r < whole; ++r) {
    const uint8_t* record = file.data() + r * kSkinRecordSize;
    const int32_t type = static_cast<int32_t>(Le32(record));
    const RecordKind* kind = KindOfType(type);
    if (!kind) kind = KindOfType(0);
    if (r) out += "\n";
    out += std::string(kind->keyword) + " " + FormatValue(kName, record) + "\n";
    for (const std::vector<Field>* list : {&HeaderFields(), &kind->fields}) {
      for (const Field& f : *list) out += "  " + std::string(f.name) + " " + FormatValue(f, record) + "\n";
    }
    if (type == 1) {
      const std::string bitmap = TextValue(kind->fields[1], record);
      const auto outline = outlines.find(bitmap);
      if (outline != outlines.end() && !outlined[bitmap]) {
        outlined[bitmap] = true;
        const std::vector<SkinPoint>& points = outline->second;
        for (size_t i = 0; i < points.size(); i += 8) {
          out += "  outline";
          for (size_t j = i; j < points.size() && j < i + 8; ++j)
            out += " " + std::to_string(points[j].x) + "," + std::to_string(points[j].y);
          out += "\n";
        }
      }
    }
    // What the named fields do not carry, byte for byte.
    uint8_t encoded[kSkinRecordSize];
    EncodeFields(*kind, record, encoded);
    for (size_t at = 0; at < kSkinRecordSize;) {
      if (encoded[at] == record[at]) {
        ++at;
        continue;
      }
      size_t end = at;
      while (end < kSkinRecordSize && end - at < 32 && encoded[end] != record[end]) ++end;
      out += "  bytes " + std::to_string(at) + " " + Hex(record + at, end - at) + "\n";
      at = end;
    }
  }
  for (size_t at = whole * kSkinRecordSize; at < file.size(); at += 32) {
    out += "tail " + Hex(file.data() + at, std::min<size_t>(32, file.size() - at)) + "\n";
  }
  return out;
}

namespace {

// One line cut into words; a quoted word keeps its quotes, undone by Unquote.
bool Split(const std::string& line, std::vector<std::string>& words, std::string& error) {
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
    } else if (line[i] == '#' && words.empty()) {
      break;  // a comment line
    } else if (line[i] == '"') {
      size_t end = i + 1;
      while (end < line.size() && line[end] != '"') end += line[end] == '\\' ? 2 : 1;
      if (end >= line.size()) {
        error = "a text without its closing quote";
        return false;
      }
      words.push_back(line.substr(i, end + 1 - i));
      i = end + 1;
    } else {
      size_t end = i;
      while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
      words.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Unquote(const std::string& word, std::string& text) {
  if (word.size() < 2 || word.front() != '"' || word.back() != '"') return false;
  text.clear();
  for (size_t i = 1; i + 1 < word.size(); ++i) {
    if (word[i] != '\\') {
      text += word[i];
    } else if (i + 2 < word.size() && (word[i + 1] == '\\' || word[i + 1] == '"')) {
      text += word[++i];
    } else if (i + 4 < word.size() && word[i + 1] == 'x' && HexDigit(word[i + 2]) >= 0 && HexDigit(word[i + 3]) >= 0) {
      text += static_cast<char>(HexDigit(word[i + 2]) * 16 + HexDigit(word[i + 3]));
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

bool ParseInteger(const std::string& word, int64_t& value) {
  size_t i = 0;
  const bool negative = !word.empty() && word[0] == '-';
  if (negative) ++i;
  int base = 10;
  if (word.size() > i + 2 && word[i] == '0' && (word[i + 1] == 'x' || word[i + 1] == 'X')) base = 16, i += 2;
  if (i >= word.size() || word.size() - i > 10) return false;
  value = 0;
  for (; i < word.size(); ++i) {
    const int d = HexDigit(word[i]);
    if (d < 0 || d >= base) return false;
    value = value * base + d;
  }
  if (negative) value = -value;
  return true;
}

bool ParseHex(const std::string& word, std::vector<uint8_t>& bytes) {
  if (word.empty() || word.size() % 2) return false;
  for (size_t i = 0; i < word.size(); i += 2) {
    const int hi = HexDigit(word[i]), lo = HexDigit(word[i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return true;
}

// Writes one field's value from its word; an error text when it cannot.
std::string SetField(const Field& f, const std::string& word, uint8_t* record) {
  if (f.kind == FieldKind::Text) {
    std::string text;
    if (!Unquote(word, text)) return "a text in double quotes was expected";
    if (text.size() > f.size) return "the text is longer than its " + std::to_string(f.size) + " bytes";
    if (text.find('\0') != std::string::npos) return "a text may not hold a zero byte";
    std::memset(record + f.offset, 0, f.size);
    std::memcpy(record + f.offset, text.data(), text.size());
    return {};
  }
  int64_t value = 0;
  if (f.kind == FieldKind::Colour && word.size() == 7 && word[0] == '#') {
    std::vector<uint8_t> rgb;
    if (!ParseHex(word.substr(1), rgb)) return "a colour is #RRGGBB";
    value = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
  } else if (!ParseInteger(word, value)) {
    return "a whole number was expected";
  }
  const int64_t low = f.size == 4 ? std::numeric_limits<int32_t>::min() : -128;
  const int64_t high = f.size == 4 ? std::numeric_limits<uint32_t>::max() : 255;
  if (value < low || value > high) return "the value does not fit its " + std::to_string(f.size) + " bytes";
  PutNumber(f, record, value);
  return {};
}

}  // namespace

Skin Parse(const std::string& text, std::vector<std::string>& errors) {
  Skin skin;
  uint8_t* record = nullptr;
  const RecordKind* kind = nullptr;
  std::vector<SkinPoint> outline;
  bool hasOutline = false;
  int lineNumber = 0;
  auto fail = [&](const std::string& message) { errors.push_back("line " + std::to_string(lineNumber) + ": " + message); };
  auto finish = [&] {
    if (record && hasOutline) {
      const std::string bitmap(FieldText(reinterpret_cast<const char*>(record + kind->fields[1].offset), 260));
      if (IsBitmapName(bitmap)) skin.outlines[bitmap] = outline;
      else fail("an outline belongs to the window's bitmap, and this window names none");
    }
    record = nullptr, kind = nullptr, outline.clear(), hasOutline = false;
  };
  bool inTail = false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    std::vector<std::string> words;
    std::string error;
    if (!Split(line, words, error)) {
      fail(error);
      continue;
    }
    if (words.empty()) continue;
    const std::string& key = words[0];
    // A record begins at the start of its line; its fields are indented.
    const bool indented = line[0] == ' ' || line[0] == '\t';
    const RecordKind* starts = nullptr;
    for (const RecordKind& k : RecordKinds()) {
      if (!indented && key == k.keyword) starts = &k;
    }
    if (!indented && !starts && key != "tail") {
      fail("\"" + key + "\" is no record kind (fields are indented)");
      continue;
    }
    if (starts) {
      finish();
      if (inTail) {
        fail("records cannot follow the tail");
        continue;
      }
      skin.bytes.resize(skin.bytes.size() + kSkinRecordSize, 0);
      record = skin.bytes.data() + skin.bytes.size() - kSkinRecordSize;
      kind = starts;
      PutLe32(record, static_cast<uint32_t>(kind->type));
      if (words.size() > 2) fail("a record line is its kind and its name");
      if (words.size() > 1 && !(error = SetField(kName, words[1], record)).empty()) fail("name: " + error);
      continue;
    }
    if (key == "tail") {
      finish();
      inTail = true;
      for (size_t w = 1; w < words.size(); ++w) {
        if (!ParseHex(words[w], skin.bytes)) fail("the tail is written in pairs of hexadecimal digits");
      }
      if (skin.bytes.size() % kSkinRecordSize == 0) fail("the tail is shorter than a record");
      continue;
    }
    if (!record) {
      fail("\"" + key + "\" comes before any record");
      continue;
    }
    if (key == "outline") {
      if (kind->type != 1) {
        fail("only a window has an outline");
        continue;
      }
      hasOutline = true;
      for (size_t w = 1; w < words.size(); ++w) {
        const size_t comma = words[w].find(',');
        int64_t x = 0, y = 0;
        if (comma == std::string::npos || !ParseInteger(words[w].substr(0, comma), x) ||
            !ParseInteger(words[w].substr(comma + 1), y) || x < std::numeric_limits<int32_t>::min() ||
            y < std::numeric_limits<int32_t>::min() || x > std::numeric_limits<int32_t>::max() ||
            y > std::numeric_limits<int32_t>::max()) {
          fail("a point is x,y");
          break;
        }
        outline.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y)});
      }
      continue;
    }
    if (key == "bytes") {
      int64_t offset = 0;
      std::vector<uint8_t> bytes;
      if (words.size() != 3 || !ParseInteger(words[1], offset) || !ParseHex(words[2], bytes)) {
        fail("bytes is an offset and pairs of hexadecimal digits");
      } else if (offset < 0 || offset + static_cast<int64_t>(bytes.size()) > static_cast<int64_t>(kSkinRecordSize)) {
        fail("the bytes run past the record's " + std::to_string(kSkinRecordSize));
      } else {
        std::memcpy(record + offset, bytes.data(), bytes.size());
      }
      continue;
    }
    const Field* field = nullptr;
    for (const std::vector<Field>* list : {&HeaderFields(), &kind->fields}) {
      for (const Field& f : *list) {
        if (key == f.name) field = &f;
      }
    }
    if (!field) {
      fail(std::string("a ") + kind->keyword + " has no field \"" + key + "\"");
    } else if (words.size() != 2) {
      fail(key + " takes one value");
    } else if (!(error = SetField(*field, words[1], record)).empty()) {
      fail(key + ": " + error);
    }
  }
  finish();
  return skin;
}

}  // namespace ox::skintext
