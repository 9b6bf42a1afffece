#include "ui/SkinRecords.h"

#include <unordered_map>

namespace ox {

std::vector<SkinWindowRecords> ReadSkinFile(ByteSource& file) {
  std::vector<SkinWindowRecords> windows;
  std::unordered_map<int32_t, size_t> firstWithId;  // a crafted file of many windows stays linear
  SkinRecord record;
  for (uint64_t at = 0; file.ReadAt(at, record.bytes, kSkinRecordSize) == kSkinRecordSize; at += kSkinRecordSize) {
    const SkinHeader header = record.Header();
    const int32_t id = header.windowId;  // a copy: the packed field may sit unaligned
    if (header.type == static_cast<int32_t>(SkinRecordType::Window)) {
      firstWithId.emplace(id, windows.size());
      windows.push_back({record, {}});
      continue;
    }
    const auto owner = firstWithId.find(id);
    if (owner != firstWithId.end()) windows[owner->second].elements.push_back(record);
  }
  return windows;
}

bool IsBitmapName(std::string_view name) { return !name.empty() && name != "Not Set"; }

}  // namespace ox
