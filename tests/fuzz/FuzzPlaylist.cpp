// M3U, M3U8 and PLS entry lookup, and the line reader under it. The first byte picks the kind
// (0x80 PLS, else 0x40 M3U8, else M3U) and the entry asked for; the rest is the playlist.
#include "queue/Playlist.h"

#include "base/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool pls = data[0] & 0x80;
  const bool m3u8 = !pls && (data[0] & 0x40);
  const uint32_t n = data[0] & (pls ? 0x7F : 0x3F);
  ox::MemorySource source(std::vector<uint8_t>(data + 1, data + size));
  const std::string entry = ox::PlaylistEntry(source, pls ? "C:\\Lists\\a.pls" : m3u8 ? "D:\\b.m3u8" : "D:\\b.m3u", n);
  if (entry.size() >= 260 || !ox::IsValidUtf8(entry)) __builtin_trap();  // fits a track record, as UTF-8
  ox::LineReader reader(source, 1 + n);
  std::string line;
  while (reader.Next(line))
    if (line.size() > 1 + n) __builtin_trap();
  return 0;
}
