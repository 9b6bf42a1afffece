// RIFF/WAVE headers, chunks and LIST/INFO tags.
#include "WavFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ox::MemorySource source(std::vector<uint8_t>(data, data + size));
  wav::Info info;
  if (wav::Parse(source, info) == wav::Error::None) {
    if (info.dataOffset + info.dataBytes > size || info.dataBytes % info.blockAlign != 0) __builtin_trap();
  }
  return 0;
}
