// ID3v2.2 to 2.4 tags at the start, ID3v1 at the end.
#include "Id3Tag.h"
#include "base/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ox::MemorySource source(std::vector<uint8_t>(data, data + size));
  const id3::Tag tag = id3::Read(source);
  for (const std::string* text : {&tag.artist, &tag.title, &tag.album})
    if (!ox::IsValidUtf8(*text)) __builtin_trap();  // every encoding comes out as UTF-8
  return 0;
}
