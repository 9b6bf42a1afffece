// Reads the machine type and the exported names of a Windows DLL file. Pure, bounds-checked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace oxtest {

struct PeExports {
  uint16_t machine = 0;  // 0x14C i386, 0x8664 x86-64
  std::vector<std::string> names;
};

// False when the bytes are no PE image or its export table cannot be read.
bool ReadPeExports(const std::vector<uint8_t>& file, PeExports& out);

}  // namespace oxtest
