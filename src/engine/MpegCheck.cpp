#include "engine/MpegCheck.h"

#include <vector>

namespace ox {

namespace {

// kbit/s by index; index 0 is taken as 128.
constexpr uint16_t kMpeg1[3][16] = {
    {128, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {128, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {128, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}};
constexpr uint16_t kMpeg2Layer1[16] = {128, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0};
constexpr uint16_t kMpeg2Layer23[16] = {128, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
constexpr uint32_t kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

}  // namespace

uint32_t ParseMpegHeader(uint32_t h, MpegHeader& m) {
  m = MpegHeader();
  if ((h >> 21) != 0x7FF) return 0;
  const int layerBits = (h >> 17) & 3;
  m.bitRateIndex = (h >> 12) & 15;
  m.sampleRateIndex = (h >> 10) & 3;
  if (layerBits == 0 || m.bitRateIndex == 15 || m.sampleRateIndex == 3) return 0;
  m.version = (h >> 19) & 1 ? 1 : (h >> 20) & 1 ? 2 : 25;
  m.layer = 4 - layerBits;
  m.protection = (h >> 16) & 1;
  m.padding = (h >> 9) & 1;
  m.channels = ((h >> 6) & 3) == 3 ? 1 : 2;
  m.modeExtension = (h >> 4) & 3;
  m.flags = h & 15;
  m.sampleRate = kRates[m.version == 1 ? 0 : m.version == 2 ? 1 : 2][m.sampleRateIndex];
  m.bitRateKbps = m.version == 1 ? kMpeg1[m.layer - 1][m.bitRateIndex]
                  : m.layer == 1 ? kMpeg2Layer1[m.bitRateIndex]
                                 : kMpeg2Layer23[m.bitRateIndex];
  const uint32_t rate = m.version == 1 ? m.sampleRate : 2 * m.sampleRate;
  return m.bitRateKbps * 144000 / rate + (m.padding ? 1 : 0);
}

long FindFrames(const uint8_t* data, size_t n, int count) {
  for (size_t s = 0; s < n / 2; ++s) {
    size_t at = s;
    bool chained = true;
    for (int i = 0; i < count; ++i) {
      if (at + 4 >= n) return -1;  // a walk that reaches the end ends the search
      MpegHeader m;
      const uint32_t length = ParseMpegHeader(Be32(data + at), m);
      if (length == 0) {
        chained = i == count - 1;  // only the last header may be invalid
        break;
      }
      at += length;
    }
    if (chained) return static_cast<long>(s);
  }
  return -1;
}

bool IsMpegAudio(ByteSource& source) {
  const uint64_t middle = source.Size() / 2;
  std::vector<uint8_t> window(kMpegCheckWindow);
  window.resize(source.ReadAt(middle, window.data(), window.size()));
  return FindFrames(window.data(), window.size(), 5) >= 0;
}

}  // namespace ox
