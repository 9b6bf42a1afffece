#include "tools/oxskin/SkinCheck.h"

#include <cstdlib>
#include <map>
#include <set>

#include "base/ByteSource.h"
#include "base/Text.h"
#include "tools/oxskin/SkinText.h"
#include "ui/SkinRecords.h"
#include "ui/SkinRules.h"

namespace ox::skintext {

std::optional<PictureSize> SizeOfPicture(const std::vector<uint8_t>& b) {
  const size_t n = b.size();
  if (n >= 26 && b[0] == 'B' && b[1] == 'M') {
    if (Le32(&b[14]) == 12) return PictureSize{Le16(&b[18]), Le16(&b[20])};  // the old OS/2 header
    const auto height = static_cast<int32_t>(Le32(&b[22]));
    return PictureSize{static_cast<int32_t>(Le32(&b[18])), height == INT32_MIN ? INT32_MAX : std::abs(height)};
  }
  if (n >= 10 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F') return PictureSize{Le16(&b[6]), Le16(&b[8])};
  if (n >= 4 && b[0] == 0xFF && b[1] == 0xD8) {
    // Segments up to the first start-of-frame, which holds the size.
    for (size_t at = 2; at + 9 <= n && b[at] == 0xFF;) {
      const uint8_t marker = b[at + 1];
      const size_t length = b[at + 2] << 8 | b[at + 3];
      if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
        return PictureSize{b[at + 7] << 8 | b[at + 8], b[at + 5] << 8 | b[at + 6]};
      if (length < 2) break;
      at += 2 + length;
    }
  }
  return std::nullopt;
}

namespace {

class Checker {
 public:
  Checker(const FolderReader& read, std::vector<std::string>& problems) : read_(read), problems_(problems) {}

  void CheckFile(const std::string& fileName) {
    const std::optional<std::vector<uint8_t>> bytes = read_(fileName);
    if (!bytes) {
      problems_.push_back(fileName + ": cannot be read");
      return;
    }
    file_ = fileName;
    const size_t count = bytes->size() / kSkinRecordSize;
    if (bytes->size() % kSkinRecordSize)
      Report(std::to_string(bytes->size() % kSkinRecordSize) + " bytes after the last whole record are ignored");
    if (count == 0) Report("holds no record");
    std::map<int32_t, size_t> windowIds;  // the first window of each id
    std::map<int32_t, std::set<std::string>> fonts;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* r = bytes->data() + i * kSkinRecordSize;
      if (Le32(r) == 1) windowIds.emplace(static_cast<int32_t>(Le32(r + 50)), i);
      if (Le32(r) == 4) fonts[static_cast<int32_t>(Le32(r + 50))].insert(Field(r, 4, 30));
    }
    for (size_t i = 0; i < count; ++i) CheckRecord(bytes->data() + i * kSkinRecordSize, i, windowIds, fonts);
  }

 private:
  static std::string Field(const uint8_t* r, size_t offset, size_t size) {
    return std::string(FieldText(reinterpret_cast<const char*>(r + offset), size));
  }

  void Report(const std::string& problem) { problems_.push_back(file_ + ": " + where_ + problem); }

  void CheckRecord(const uint8_t* r, size_t index, const std::map<int32_t, size_t>& windowIds,
                   const std::map<int32_t, std::set<std::string>>& fonts) {
    const auto type = static_cast<int32_t>(Le32(r));
    const RecordKind* kind = KindOfType(type);
    where_ = "record " + std::to_string(index + 1) + " (" + (kind ? kind->keyword : "record") + " \"" +
             Field(r, 4, 30) + "\"): ";
    if (!kind || type == 0) {
      Report("type " + std::to_string(type) + " is no record type the player knows: ignored");
      where_.clear();
      return;
    }
    for (const std::vector<skintext::Field>* list : {&HeaderFields(), &kind->fields}) {
      for (const skintext::Field& f : *list) {
        if (f.min > f.max || f.kind == FieldKind::Text) continue;
        const int64_t value = NumberValue(f, r);
        if (value < f.min || value > f.max)
          Report(std::string(f.name) + " is " + std::to_string(value) + ", outside " + std::to_string(f.min) + ".." +
                 std::to_string(f.max));
      }
    }
    const auto id = static_cast<int32_t>(Le32(r + 50));
    const auto window = windowIds.find(id);
    if (type == 1) {
      if (window->second != index)
        Report("window id " + std::to_string(id) + " is taken by record " + std::to_string(window->second + 1) +
               ": elements of the id go there");
      CheckWindow(r);
    } else if (window == windowIds.end()) {
      Report("no window has id " + std::to_string(id) + ": the element is dropped");
    } else if (window->second > index) {
      Report("its window (id " + std::to_string(id) + ") comes later in the file: the element is dropped");
    }
    switch (type) {
      case 2: {
        const std::string b = Field(r, 54, 260);
        Need(b, ".bmp", "button bitmap");
        Need(b, "-m.bmp", "mouse-over bitmap");
        Need(b, "-d.bmp", "pressed bitmap");
        if (Field(r, 838, 260).empty()) Report("the button has no command");
        break;
      }
      case 3:
        Need(Field(r, 54, 260), ".bmp", "image bitmap");
        break;
      case 4:
        if (r[54]) {
          Need(Field(r, 55, 260), ".bmp", "bitmap font", true);
          Need(Field(r, 55, 260), "-mask.bmp", "bitmap font mask", true);
        }
        break;
      case 5:
        Need(Field(r, 58, 260), ".bmp", "slider track");
        Need(Field(r, 318, 260), ".bmp", "slider knob");
        Need(Field(r, 578, 260), ".bmp", "slider fill");
        break;
      case 6: {
        const std::string font = Field(r, 54, 260);
        const auto windowFonts = fonts.find(id);
        if (windowFonts == fonts.end() || !windowFonts->second.count(font))
          Report("no font element \"" + font + "\" in its window: the text is not drawn");
        break;
      }
    }
    where_.clear();
  }

  void CheckWindow(const uint8_t* r) {
    const std::string bitmap = Field(r, 54, 260);
    if (ClassifyShowCondition(Field(r, 322, 260)) == ShowCondition::Never)
      Report("show condition \"" + Field(r, 322, 260) + "\" never holds: the window never shows");
    if (!IsBitmapName(bitmap)) {
      Report("no background bitmap: the window has no size");
      return;
    }
    const std::optional<PictureSize> size = Need(bitmap, ".bmp", "background bitmap");
    const auto width = static_cast<int32_t>(Le32(r + 46)), height = static_cast<int32_t>(Le32(r + 42));
    if (size && (size->width != width || size->height != height))
      Report("the window is " + std::to_string(width) + "x" + std::to_string(height) + " but " + bitmap + ".bmp is " +
             std::to_string(size->width) + "x" + std::to_string(size->height));
    const std::optional<std::vector<uint8_t>> outline = read_(bitmap + ".bin");
    if (!outline) return;
    if (outline->size() % 8)
      Report(bitmap + ".bin ends in " + std::to_string(outline->size() % 8) + " bytes of a partial point");
    MemorySource source(*outline);
    if (ReadOutline(source).size() < 3) Report("the outline in " + bitmap + ".bin has fewer than three points");
    if (outline->size() / 8 > kMaxOutlinePoints)
      Report("the outline in " + bitmap + ".bin has more than " + std::to_string(kMaxOutlinePoints) + " points");
  }

  // A named bitmap must exist and be a picture the player decodes. Unnamed ones are fine unless
  // required.
  std::optional<PictureSize> Need(const std::string& base, const std::string& suffix, const std::string& what,
                                  bool required = false) {
    if (!IsBitmapName(base)) {
      if (required) Report("the " + what + " has no name");
      return std::nullopt;
    }
    const std::optional<std::vector<uint8_t>> bytes = read_(base + suffix);
    if (!bytes) {
      Report(what + " " + base + suffix + " is missing");
      return std::nullopt;
    }
    const std::optional<PictureSize> size = SizeOfPicture(*bytes);
    if (!size) Report(what + " " + base + suffix + " is no BMP, JPEG or GIF picture");
    return size;
  }

  const FolderReader& read_;
  std::vector<std::string>& problems_;
  std::string file_;
  std::string where_;
};

}  // namespace

std::vector<std::string> CheckSkinFolder(const std::vector<std::string>& skinFiles, const FolderReader& read) {
  std::vector<std::string> problems;
  Checker checker(read, problems);
  for (const std::string& file : skinFiles) checker.CheckFile(file);
  return problems;
}

}  // namespace ox::skintext
