#include "tools/oxskin/SkinCheck.h"

#include <cstdlib>
#include <map>
#include <set>

#include "base/ByteSource.h"
#include "base/Text.h"
#include "tools/oxskin/SkinText.h"
#include "ui/SkinLimits.h"
#include "ui/SkinRecords.h"
#include "ui/SkinRules.h"

namespace ox::skintext {

namespace {

class Checker {
 public:
  // limitsOnly: only what breaks a bound of SkinLimits.h, for a skin still being built.
  Checker(const FolderReader& read, std::vector<std::string>& problems, bool limitsOnly = false)
      : read_(read), problems_(problems), limitsOnly_(limitsOnly) {}

  void CheckFile(const std::string& fileName) {
    const std::optional<std::vector<uint8_t>> bytes = read_(fileName);
    if (!bytes) {
      problems_.push_back(fileName + ": cannot be read");
      return;
    }
    CheckBytes(fileName, *bytes);
  }

  void CheckBytes(const std::string& fileName, const std::vector<uint8_t>& bytes) {
    file_ = fileName;
    if (bytes.size() > kMaxSkinFileBytes) {
      Report("is larger than the " + std::to_string(kMaxSkinFileBytes) + " bytes the player reads: it is refused");
      return;
    }
    const size_t count = bytes.size() / kSkinRecordSize;
    if (bytes.size() % kSkinRecordSize && !limitsOnly_)
      Report(std::to_string(bytes.size() % kSkinRecordSize) + " bytes after the last whole record are ignored");
    if (count == 0 && !limitsOnly_) Report("holds no record");
    std::map<int32_t, size_t> windowIds;  // the first window of each id
    std::map<int32_t, std::set<std::string>> fonts;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* r = bytes.data() + i * kSkinRecordSize;
      if (Le32(r) == 1) windowIds.emplace(static_cast<int32_t>(Le32(r + 50)), i);
      if (Le32(r) == 4) fonts[static_cast<int32_t>(Le32(r + 50))].insert(Field(r, 4, 30));
    }
    size_t windows = 0;
    std::map<int32_t, size_t> elements;  // by window id
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* r = bytes.data() + i * kSkinRecordSize;
      const auto id = static_cast<int32_t>(Le32(r + 50));
      if (Le32(r) == 1 && ++windows == kMaxSkinWindows + 1)
        problems_.push_back(file_ + ": record " + std::to_string(i + 1) + ": more than " +
                            std::to_string(kMaxSkinWindows) + " windows: this and later ones are dropped");
      const auto window = windowIds.find(id);
      if (Le32(r) != 1 && window != windowIds.end() && window->second < i && ++elements[id] == kMaxWindowElements + 1)
        problems_.push_back(file_ + ": record " + std::to_string(i + 1) + ": window id " + std::to_string(id) +
                            " has more than " + std::to_string(kMaxWindowElements) +
                            " elements: this and later ones are dropped");
      CheckRecord(r, i, windowIds, fonts);
    }
  }

  // The outlines a skin being built writes beside it.
  void CheckOutlines(const std::map<std::string, std::vector<SkinPoint>>& outlines) {
    for (const auto& [bitmap, points] : outlines) {
      if (points.size() > kMaxOutlinePoints)
        Report("the outline of " + bitmap + " has more than " + std::to_string(kMaxOutlinePoints) + " points");
      for (const SkinPoint& p : points) {
        if (std::abs(int64_t{p.x}) > kMaxSkinCoordinate || std::abs(int64_t{p.y}) > kMaxSkinCoordinate) {
          Report("the outline of " + bitmap + " has a point beyond +-" + std::to_string(kMaxSkinCoordinate));
          break;
        }
      }
    }
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
    if (limitsOnly_ && (!kind || type == 0)) kind = KindOfType(0);
    if (!limitsOnly_ && (!kind || type == 0)) {
      Report("type " + std::to_string(type) + " is no record type the player knows: ignored");
      where_.clear();
      return;
    }
    for (const std::vector<skintext::Field>* list : {&HeaderFields(), &kind->fields}) {
      for (const skintext::Field& f : *list) {
        if (f.min > f.max || f.kind == FieldKind::Text || (limitsOnly_ && !f.bound)) continue;
        const int64_t value = NumberValue(f, r);
        if (value < f.min || value > f.max)
          Report(std::string(f.name) + " is " + std::to_string(value) + ", outside " + std::to_string(f.min) + ".." +
                 std::to_string(f.max));
      }
    }
    if (limitsOnly_) {
      where_.clear();
      return;
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
    const std::optional<PictureSize> size = SizeOfPicture(bytes->data(), bytes->size());
    if (!size) Report(what + " " + base + suffix + " is no BMP, JPEG or GIF picture");
    if (bytes->size() > kMaxPictureFileBytes || (size && (size->width > kMaxSkinExtent || size->height > kMaxSkinExtent))) {
      Report(what + " " + base + suffix + " is larger than the player loads (" + std::to_string(kMaxSkinExtent) +
             " pixels a side, " + std::to_string(kMaxPictureFileBytes) + " bytes): it is drawn as missing");
      return std::nullopt;
    }
    return size;
  }

  const FolderReader& read_;
  std::vector<std::string>& problems_;
  bool limitsOnly_;
  std::string file_;
  std::string where_;
};

}  // namespace

std::vector<std::string> CheckSkinFolder(const std::vector<std::string>& skinFiles, const FolderReader& read) {
  std::vector<std::string> problems;
  Checker checker(read, problems);
  for (size_t i = 0; i < skinFiles.size(); ++i) {
    if (i < kMaxSkinFiles) checker.CheckFile(skinFiles[i]);
    else problems.push_back(skinFiles[i] + ": the player reads " + std::to_string(kMaxSkinFiles) +
                            " skin files of a folder: this one is not read");
  }
  return problems;
}

std::vector<std::string> CheckSkinLimits(const std::vector<uint8_t>& skinFile,
                                         const std::map<std::string, std::vector<SkinPoint>>& outlines) {
  std::vector<std::string> problems;
  const FolderReader none = [](const std::string&) { return std::nullopt; };
  Checker checker(none, problems, true);
  checker.CheckBytes("skin", skinFile);
  checker.CheckOutlines(outlines);
  return problems;
}

}  // namespace ox::skintext
