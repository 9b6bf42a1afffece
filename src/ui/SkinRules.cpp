#include "ui/SkinRules.h"

#include <algorithm>
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
    points[i] = {static_cast<int32_t>(Le32(&bytes[i * 8])), static_cast<int32_t>(Le32(&bytes[i * 8 + 4]))};
  }
  return points;
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
