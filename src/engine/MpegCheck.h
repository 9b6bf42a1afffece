// Whether a file holds MPEG audio: a run of chained frame headers from the middle of the file on.
// Lets the player hand a file of an unknown extension to the ".mp3" codec. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/ByteSource.h"

namespace ox {

struct MpegHeader {
  int version = 0;  // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
  int layer = 0;    // 1-3
  bool protection = false;
  int bitRateIndex = 0, sampleRateIndex = 0;
  bool padding = false;
  int channels = 0;
  int modeExtension = 0;
  int flags = 0;             // the standard's private, copyright, original and emphasis bits
  uint32_t bitRateKbps = 0;  // index 0 (free format) counts as 128
  uint32_t sampleRate = 0;
};

// Parses a header given as its four bytes read big-endian. Returns the frame length in bytes
// (bit rate * 144000 / sample rate + padding; for MPEG-2 and 2.5 half of that rate term), or 0
// for an invalid header.
uint32_t ParseMpegHeader(uint32_t header, MpegHeader& out);

// Looks for `count` chained headers starting at some offset s < n / 2 of data[0..n): the walk from
// s parses a header and advances by its length; only the last header of a chain may be invalid.
// Gives up as soon as a walk runs to the end of the data. Returns s, or -1.
long FindFrames(const uint8_t* data, size_t n, int count);

constexpr size_t kMpegCheckWindow = 1024000;

// The check proper: up to kMpegCheckWindow bytes from the middle of the source, five frames.
bool IsMpegAudio(ByteSource& source);

// The check on a file; false when it cannot be read.
bool MpegAudioCheck(const std::string& path);

}  // namespace ox
