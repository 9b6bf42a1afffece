// Small audio arithmetic shared by the player and its plug-ins. Pure.
#pragma once

#include <cstdint>

namespace ox {

// Milliseconds of a byte count at the given average byte rate: bytes * 1000 / rate in 64-bit
// arithmetic, truncated; a zero rate counts as 1.
inline uint32_t MsOfBytes(uint64_t bytes, uint32_t bytesPerSec) {
  return static_cast<uint32_t>(bytes * 1000 / (bytesPerSec ? bytesPerSec : 1));
}

}  // namespace ox
