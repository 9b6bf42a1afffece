#include "ui/SkinRecords.h"

#include <algorithm>
#include <unordered_map>

#include "ui/SkinLimits.h"

namespace ox {

namespace {

// Holds the header's position and size to the skin bounds, in the record's own bytes, so every
// reader of the record sees the held values.
void ClampHeader(SkinRecord& record) {
  auto clamp = [&](size_t offset, int32_t low, int32_t high) {
    const auto value = static_cast<int32_t>(Le32(record.bytes + offset));
    PutLe32(record.bytes + offset, static_cast<uint32_t>(std::clamp(value, low, high)));
  };
  clamp(offsetof(SkinHeader, x), -kMaxSkinCoordinate, kMaxSkinCoordinate);
  clamp(offsetof(SkinHeader, y), -kMaxSkinCoordinate, kMaxSkinCoordinate);
  clamp(offsetof(SkinHeader, width), 0, kMaxSkinExtent);
  clamp(offsetof(SkinHeader, height), 0, kMaxSkinExtent);
}

}  // namespace

std::vector<SkinWindowRecords> ReadSkinFile(ByteSource& file) {
  std::vector<SkinWindowRecords> windows;
  if (file.Size() > kMaxSkinFileBytes) return windows;
  std::unordered_map<int32_t, size_t> firstWithId;  // a crafted file of many windows stays linear
  SkinRecord record;
  for (uint64_t at = 0; file.ReadAt(at, record.bytes, kSkinRecordSize) == kSkinRecordSize; at += kSkinRecordSize) {
    ClampHeader(record);
    const SkinHeader header = record.Header();
    const int32_t id = header.windowId;  // a copy: the packed field may sit unaligned
    if (header.type == static_cast<int32_t>(SkinRecordType::Window)) {
      if (windows.size() == kMaxSkinWindows) continue;  // and its elements with it, unless an earlier window has the id
      firstWithId.emplace(id, windows.size());
      windows.push_back({record, {}});
      continue;
    }
    const auto owner = firstWithId.find(id);
    if (owner == firstWithId.end()) continue;
    std::vector<SkinRecord>& elements = windows[owner->second].elements;
    if (elements.size() < kMaxWindowElements) elements.push_back(record);
  }
  return windows;
}

bool IsBitmapName(std::string_view name) { return !name.empty() && name != "Not Set"; }

}  // namespace ox
