// Skin files: records of any content, elements attached to windows or dropped.
#include "ui/SkinRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ox::MemorySource source(std::vector<uint8_t>(data, data + size));
  size_t records = 0;
  for (const ox::SkinWindowRecords& w : ox::ReadSkinFile(source)) {
    records += 1 + w.elements.size();
    w.window.As<ox::WindowRecord>().header.Name();
    for (const ox::SkinRecord& e : w.elements)
      if (e.Header().windowId != w.window.Header().windowId) __builtin_trap();
  }
  if (records > size / ox::kSkinRecordSize) __builtin_trap();
  return 0;
}
