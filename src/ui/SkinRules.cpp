#include "ui/SkinRules.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace ox {

std::string SkinWindowKey(std::string_view skinFolder, std::string_view windowName) {
  // Start at the third backslash from the end; with fewer, every component gets its backslash.
  size_t start = skinFolder.size();
  for (int found = 0; found < 3 && start > 0;) {
    if (skinFolder[--start] == '\\') ++found;
  }
  std::string key = "Software\\Quillmarsh\\Orlavox\\Skin";
  if (skinFolder.empty() || skinFolder[start] != '\\') key += '\\';
  key.append(skinFolder.substr(start));
  key.append(windowName);
  return key;
}

std::string SkinWindowClassName(std::string_view windowName) {
  constexpr std::string_view kPrefix = "OrlavoxSkin:";
  constexpr size_t kMaxClassName = 255;
  return std::string(kPrefix).append(windowName.substr(0, kMaxClassName - kPrefix.size()));
}

ShowCondition ClassifyShowCondition(std::string_view condition) {
  if (condition == "[ShowAlways]") return ShowCondition::Always;
  if (condition == "<IsRillWindow>") return ShowCondition::MainWindow;
  if (condition.empty() || condition[0] == '<' || condition[0] == '[') return ShowCondition::Never;
  return ShowCondition::Event;
}

SkinRect GroupBounds(const std::vector<SkinWindowRecords>& windows) {
  if (windows.empty()) return {};
  constexpr int64_t kLow = std::numeric_limits<int32_t>::min(), kHigh = std::numeric_limits<int32_t>::max();
  int64_t left = kHigh, top = kHigh, right = kLow, bottom = kLow;
  for (const SkinWindowRecords& w : windows) {
    const SkinHeader h = w.window.Header();
    left = std::min<int64_t>(left, h.x);
    top = std::min<int64_t>(top, h.y);
    right = std::max<int64_t>(right, int64_t{h.x} + h.width);
    bottom = std::max<int64_t>(bottom, int64_t{h.y} + h.height);
  }
  auto clamp = [&](int64_t v) { return static_cast<int32_t>(std::clamp(v, kLow, kHigh)); };
  return {clamp(left), clamp(top), clamp(right), clamp(bottom)};
}

std::vector<SkinPoint> ReadOutline(ByteSource& file) {
  const uint64_t count = std::min<uint64_t>(file.Size() / 8, kMaxOutlinePoints);
  std::vector<uint8_t> bytes(static_cast<size_t>(count) * 8);
  const size_t got = file.ReadAt(0, bytes.data(), bytes.size()) / 8;
  std::vector<SkinPoint> points(got);
  for (size_t i = 0; i < got; ++i) {
    auto coordinate = [&](size_t at) {
      return std::clamp(static_cast<int32_t>(Le32(&bytes[at])), -kMaxSkinCoordinate, kMaxSkinCoordinate);
    };
    points[i] = {coordinate(i * 8), coordinate(i * 8 + 4)};
  }
  return points;
}

std::optional<PictureSize> SizeOfPicture(const uint8_t* b, size_t n) {
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

std::string PickRandomSkin(const std::vector<std::string>& candidates, std::string_view active,
                           const std::function<int32_t(int32_t)>& draw) {
  if (candidates.empty()) return {};
  const auto count = static_cast<int32_t>(std::min<size_t>(candidates.size(), std::numeric_limits<int32_t>::max()));
  for (int tries = 1;; ++tries) {
    const int32_t pick = std::clamp(draw(count), 0, count - 1);
    if (candidates[pick] != active || tries == 10) return candidates[pick];
  }
}

bool TimeForRandomSkin(uint32_t check, uint32_t option, uint32_t randomMinutes, uint32_t msSinceChange) {
  return check % 300 == 0 && option == 2 && msSinceChange / 60000 > randomMinutes;
}

}  // namespace ox
