// MPEG audio streams: frame headers, the first frame of a stream, the Xing/Info frame with its LAME
// tag, and the stream's length. Pure: no <windows.h>; all input is bounds-checked.
#pragma once

#include <cstdint>
#include <vector>

#include "base/ByteSource.h"

namespace mpeg {

struct FrameHeader {
  int version = 0;          // 10 MPEG-1, 20 MPEG-2, 25 MPEG-2.5
  int layer = 0;            // 1, 2 or 3
  uint32_t bitRate = 0;     // bit/s
  uint32_t sampleRate = 0;  // Hz
  int channels = 0;         // 1 or 2
  bool padding = false;
  uint32_t frameBytes = 0;        // the whole frame, header included
  uint32_t samplesPerFrame = 0;   // per channel
  uint32_t sideInfoBytes = 0;     // layer III side information after the header (and CRC)
  bool crc = false;
};

// Parses the four header bytes; false for anything that is no playable frame header (free format
// and reserved values included).
bool ParseHeader(const uint8_t* p, FrameHeader& h);

// Two headers belong to one stream when version, layer and sample rate agree.
bool SameStream(const FrameHeader& a, const FrameHeader& b);

// What the Xing/Info frame (the first frame of a VBR or LAME-encoded file) tells.
struct XingInfo {
  bool present = false;
  bool vbr = false;     // "Xing"; "Info" marks a constant bit rate
  uint32_t frames = 0;  // audio frames after this one; 0 when not given
  uint32_t bytes = 0;   // bytes of the stream, this frame included; 0 when not given
  bool hasToc = false;
  uint8_t toc[100] = {};         // byte position of each percent, in 256ths of `bytes`
  bool hasLame = false;
  uint32_t encoderDelay = 0;     // samples the encoder put before the music
  uint32_t encoderPadding = 0;   // samples it put after
};

// Looks for "Xing"/"Info" in a frame's bytes (frame.size() >= header.frameBytes is not required).
XingInfo ParseXing(const std::vector<uint8_t>& frame, const FrameHeader& header);

struct Stream {
  uint64_t firstFrame = 0;  // offset of the first audio frame (after any Xing/Info frame)
  uint64_t end = 0;         // end of the audio (before an ID3v1 tag)
  FrameHeader header;       // of the first frame
  XingInfo xing;
  uint64_t frames = 0;      // audio frames, from the Xing frame or counted
  uint64_t Bytes() const { return end - firstFrame; }
  // Samples per channel the music has: all frames' samples less encoder delay and padding.
  uint64_t MusicSamples() const;
  uint32_t LengthMs() const;
  uint32_t AverageBitRate() const;  // bit/s
};

// Size in bytes of an ID3v2 tag at offset 0 of the source (header, footer included; clamped to
// the source), or 0.
uint64_t Id3v2Size(ox::ByteSource& source);

// Finds the stream: skips an ID3v2 tag and junk before the first frame (two frames in a row must
// agree before it counts), reads a Xing/Info frame, and counts the frames when no Xing frame says.
// False when no stream is found within the first megabyte after the tag.
bool FindStream(ox::ByteSource& source, Stream& stream);

// Offset of the first frame at or after `from` that is followed by another of the same stream
// (or by the end of the audio); `end` when there is none.
uint64_t NextFrame(ox::ByteSource& source, uint64_t from, uint64_t end, const FrameHeader& like);

}  // namespace mpeg
