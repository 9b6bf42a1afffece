// MPEG audio streams: frame headers, the Xing/Info frame with its encoder tag, frame walks.
#include "MpegAudio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ox::MemorySource source(std::vector<uint8_t>(data, data + size));
  mpeg::Stream s;
  if (mpeg::FindStream(source, s)) {
    if (s.firstFrame > s.end || s.end > size) __builtin_trap();
    s.LengthMs();
    s.AverageBitRate();
    mpeg::NextFrame(source, s.firstFrame + s.Bytes() / 2, s.end, s.header);
  }
  return 0;
}
