// The check for MPEG audio in files no codec claims.
#include "engine/MpegCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ox::MemorySource source(std::vector<uint8_t>(data, data + size));
  ox::IsMpegAudio(source);
  if (size >= 4) {
    ox::MpegHeader h;
    ox::ParseMpegHeader(ox::Be32(data), h);
  }
  return 0;
}
