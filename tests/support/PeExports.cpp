#include "PeExports.h"

#include <cstring>

namespace oxtest {

namespace {

// Little-endian reads that fail (and stay failed) past the end of the bytes.
struct Reader {
  const std::vector<uint8_t>& b;
  bool ok = true;
  uint32_t U16(uint64_t at) { return at + 2 <= b.size() ? b[at] | b[at + 1] << 8 : (ok = false, 0u); }
  uint32_t U32(uint64_t at) { return at + 4 <= b.size() ? U16(at) | U16(at + 2) << 16 : (ok = false, 0u); }
};

}  // namespace

bool ReadPeExports(const std::vector<uint8_t>& file, PeExports& out) {
  Reader r{file};
  if (file.size() < 64 || file[0] != 'M' || file[1] != 'Z') return false;
  const uint32_t pe = r.U32(0x3C);
  if (r.U32(pe) != 0x00004550) return false;  // "PE\0\0"
  out.machine = static_cast<uint16_t>(r.U16(pe + 4));
  const uint32_t sections = r.U16(pe + 6), optionalSize = r.U16(pe + 20);
  const uint64_t optional = pe + 24, sectionTable = optional + optionalSize;
  const uint32_t magic = r.U16(optional);
  const uint64_t exportDir = optional + (magic == 0x20B ? 112 : 96);
  const uint32_t exportRva = r.U32(exportDir);
  if (!r.ok || exportRva == 0) return r.ok;

  auto fileOffset = [&](uint32_t rva, uint64_t& at) {
    for (uint32_t i = 0; i < sections; ++i) {
      const uint64_t s = sectionTable + 40ull * i;
      const uint32_t va = r.U32(s + 12), size = r.U32(s + 16), raw = r.U32(s + 20);
      if (rva >= va && rva < va + size) {
        at = raw + uint64_t{rva - va};
        return r.ok;
      }
    }
    return false;
  };
  uint64_t dir = 0, names = 0;
  if (!fileOffset(exportRva, dir)) return false;
  const uint32_t count = r.U32(dir + 24);
  if (!fileOffset(r.U32(dir + 32), names) || count > 65536) return count == 0 && r.ok;
  for (uint32_t i = 0; i < count; ++i) {
    uint64_t at = 0;
    if (!fileOffset(r.U32(names + 4ull * i), at) || at >= file.size()) return false;
    const void* nul = std::memchr(&file[at], 0, file.size() - at);
    if (!nul) return false;
    out.names.emplace_back(reinterpret_cast<const char*>(&file[at]), static_cast<const uint8_t*>(nul) - &file[at]);
  }
  return r.ok;
}

}  // namespace oxtest
