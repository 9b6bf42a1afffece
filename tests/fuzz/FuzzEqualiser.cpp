// The equaliser on blocks of any format and any positions record: four bytes pick the format, 88
// bytes are the positions, the rest is the audio, processed in pieces of sizes it also gives.
#include <cstring>
#include <vector>

#include "engine/Equaliser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4 + sizeof(ox::EqPositions)) return 0;
  static const uint32_t kRates[] = {0, 1, 8000, 11025, 22050, 44100, 48000, 96000, 192000, 768000, 4000000000u};
  static const uint16_t kBits[] = {8, 16, 24, 0, 12, 32};
  const ox::AudioFormat format{static_cast<uint16_t>(data[0] % 10), kRates[data[1] % 11], kBits[data[2] % 6]};
  ox::EqPositions positions;
  std::memcpy(&positions, data + 4, sizeof positions);
  ox::Equaliser eq(format, data[3] & 1, positions);
  std::vector<uint8_t> audio(data + 4 + sizeof positions, data + size);
  for (size_t at = 0, piece = 1 + data[3] / 2; at < audio.size(); at += piece, piece = piece * 5 % 997 + 1) {
    const size_t n = audio.size() - at < piece ? audio.size() - at : piece;
    std::vector<uint8_t> block(audio.begin() + at, audio.begin() + at + n);  // exact size: overruns show
    eq.Process(block.data(), block.size());
    if (at == 0) eq.SetPositions(positions);
  }
  ox::EqCurve(positions, data[3]);
  return 0;
}
