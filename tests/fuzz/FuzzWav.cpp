// RIFF/WAVE headers, chunks and LIST/INFO tags.
#include "WavFormat.h"
#include "base/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ox::MemorySource source(std::vector<uint8_t>(data, data + size));
  wav::Info info;
  const wav::Error error = wav::Parse(source, info);
  for (const std::string* tag : {&info.tags.artist, &info.tags.title, &info.tags.album})
    if (tag->size() > 99 || !ox::IsValidUtf8(*tag)) __builtin_trap();  // whole UTF-8 characters only
  if (error == wav::Error::None) {
    if (info.dataOffset + info.dataBytes > size || info.dataBytes % info.blockAlign != 0) __builtin_trap();
  }
  return 0;
}
