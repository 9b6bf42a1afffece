// RIFF/WAVE headers: the PCM format, where the samples lie, and the LIST/INFO tags. Pure: no
// <windows.h>; everything read comes through a ByteSource and is bounds-checked.
#pragma once

#include <cstdint>
#include <string>

#include "base/ByteSource.h"

namespace wav {

struct Tags {
  std::string artist, title, album;  // UTF-8, each at most 99 bytes of whole characters
  uint16_t year = 0, track = 0;      // 0 when missing
};

struct Info {
  uint16_t channels = 0;       // 1 to 8
  uint32_t sampleRate = 0;     // Hz, 1 to 768000
  uint16_t bitsPerSample = 0;  // 8, 16 or 24
  uint16_t blockAlign = 0;     // bytes per sample frame, from channels and bits (never the file's)
  uint64_t dataOffset = 0;     // first sample byte
  uint64_t dataBytes = 0;      // whole frames only, never past the end of the file
  Tags tags;

  uint32_t AvgBytesPerSec() const { return sampleRate * blockAlign; }
};

enum class Error { None, NotWave, NoFormat, Unsupported, NoData };

// Reads the headers. A data chunk whose size runs past the end of the file is cut at the end of
// the file (a file being written, or cut short); a size of 0xFFFFFFFF means "to the end".
Error Parse(ox::ByteSource& source, Info& info);

}  // namespace wav
