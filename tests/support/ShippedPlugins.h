// The build's own plug-ins driven as the player drives them: the codec and sound output hosts over
// the installation folder, a decoder object read block by block, and the track information call.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/CodecHost.h"
#include "engine/SoundOutputHost.h"

namespace oxtest {

const ox::CodecHost& ShippedCodecs();
// The shipped sound output of that name; null when there is none.
const ox::SoundOutputPlugin* ShippedOutput(const std::string& name);

// A decoder object of `codec` on the file at path, deleted at the end. handle is 0 when the codec
// is null, refuses the file or wants no sound output.
struct Decoding {
  Decoding(const ox::CodecPlugin* codec, const std::string& path);
  ~Decoding();
  Decoding(const Decoding&) = delete;
  Decoding& operator=(const Decoding&) = delete;
  // Blocks of blockBytes until the end flag or atMost bytes, each checked to hold whole frames.
  std::vector<uint8_t> Read(uint32_t blockBytes, size_t atMost = SIZE_MAX);

  const ox::CodecPlugin* codec;
  OxDecoder handle = 0;
  WAVEFORMATEX* format = nullptr;
  uint32_t lengthMs = 0;  // as the last block gave it
  std::vector<std::pair<size_t, uint32_t>> blocks;  // of the last Read: bytes before each, its position in ms
};

struct TrackInfo {
  std::string artist, title, album;
  uint16_t kbps = 0;
  uint32_t hz = 0, lengthMs = 0, size = 0, yearAndTrack = 0;
  uint8_t channels = 0;
};
TrackInfo TrackInfoOf(const ox::CodecPlugin* codec, const std::string& path);

}  // namespace oxtest
