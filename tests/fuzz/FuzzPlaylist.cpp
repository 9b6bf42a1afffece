// M3U and PLS entry lookup, and the line reader under it. The first byte picks the kind and the
// entry asked for; the rest is the playlist.
#include "queue/Playlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool pls = data[0] & 0x80;
  const uint32_t n = data[0] & 0x7F;
  ox::MemorySource source(std::vector<uint8_t>(data + 1, data + size));
  const std::string entry = ox::PlaylistEntry(source, pls ? "C:\\Lists\\a.pls" : "D:\\b.m3u", n);
  if (entry.size() >= 260) __builtin_trap();  // every entry fits a track record
  ox::LineReader reader(source, 1 + n);
  std::string line;
  while (reader.Next(line))
    if (line.size() > 1 + n) __builtin_trap();
  return 0;
}
