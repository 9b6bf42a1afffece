#include "base/FileSource.h"

namespace ox {

size_t FileSource::ReadAt(uint64_t offset, void* buffer, size_t n) {
  if (offset >= size_ || !file_.SeekTo(offset)) return 0;
  size_t done = 0;
  while (done < n) {  // one read per 1 GiB: the count of a single read is 32-bit
    const uint32_t piece = static_cast<uint32_t>(n - done < (1u << 30) ? n - done : (1u << 30));
    const uint32_t got = file_.Read(static_cast<char*>(buffer) + done, piece);
    done += got;
    if (got < piece) break;
  }
  return done;
}

}  // namespace ox
