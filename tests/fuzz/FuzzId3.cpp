// ID3v2.2 to 2.4 tags at the start, ID3v1 at the end.
#include "Id3Tag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ox::MemorySource source(std::vector<uint8_t>(data, data + size));
  id3::Read(source);
  return 0;
}
