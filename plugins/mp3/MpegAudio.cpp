#include "MpegAudio.h"

#include <cstring>

namespace mpeg {

namespace {

using ox::Be32;

constexpr uint64_t kSearchLimit = 1 << 20;  // junk allowed before the first frame
constexpr size_t kChunk = 1 << 16;          // read unit of the frame walks

// Bit rates in kbit/s: [MPEG-1 or not][layer - 1][index].
constexpr uint16_t kBitRates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};
constexpr uint32_t kSampleRates[3] = {44100, 48000, 32000};  // MPEG-1; halved for 2, quartered for 2.5

// Reads through a window of the source, so that walks over many frames make few reads.
class Window {
 public:
  explicit Window(ox::ByteSource& s) : source_(s) {}
  // Pointer to n bytes at offset, or null when the source holds fewer.
  const uint8_t* At(uint64_t offset, size_t n) {
    if (offset < start_ || offset + n > start_ + data_.size()) {
      data_.resize(n > kChunk ? n : kChunk);
      data_.resize(source_.ReadAt(offset, data_.data(), data_.size()));
      start_ = offset;
      if (data_.size() < n) return nullptr;
    }
    return &data_[offset - start_];
  }

 private:
  ox::ByteSource& source_;
  std::vector<uint8_t> data_;
  uint64_t start_ = 0;
};

bool HeaderAt(Window& w, uint64_t at, FrameHeader& h) {
  const uint8_t* p = w.At(at, 4);
  return p && ParseHeader(p, h);
}

uint64_t NextFrameIn(Window& w, uint64_t from, uint64_t end, const FrameHeader* like) {
  for (uint64_t at = from; at + 4 <= end; ++at) {
    FrameHeader h, next;
    if (!HeaderAt(w, at, h) || (like && !SameStream(h, *like))) continue;
    const uint64_t after = at + h.frameBytes;
    // The last frame of a known stream has no successor; a stream's first frame must have one.
    if (after + 4 > end) {
      if (like && after <= end) return at;
      continue;
    }
    if (HeaderAt(w, after, next) && SameStream(h, next)) return at;
  }
  return end;
}

}  // namespace

bool ParseHeader(const uint8_t* p, FrameHeader& h) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  const int versionBits = (p[1] >> 3) & 3, layerBits = (p[1] >> 1) & 3;
  const int rateIndex = p[2] >> 4, srIndex = (p[2] >> 2) & 3;
  if (versionBits == 1 || layerBits == 0 || rateIndex == 0 || rateIndex == 15 || srIndex == 3) return false;
  h.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
  h.layer = 4 - layerBits;
  const bool mpeg1 = h.version == 10;
  h.bitRate = kBitRates[mpeg1 ? 0 : 1][h.layer - 1][rateIndex] * 1000u;
  h.sampleRate = kSampleRates[srIndex] >> (mpeg1 ? 0 : h.version == 20 ? 1 : 2);
  h.padding = p[2] & 2;
  h.crc = !(p[1] & 1);
  h.channels = (p[3] >> 6) == 3 ? 1 : 2;
  if (h.layer == 1) {
    h.samplesPerFrame = 384;
    h.frameBytes = (12 * h.bitRate / h.sampleRate + h.padding) * 4;
  } else if (h.layer == 2 || mpeg1) {
    h.samplesPerFrame = 1152;
    h.frameBytes = 144 * h.bitRate / h.sampleRate + h.padding;
  } else {
    h.samplesPerFrame = 576;
    h.frameBytes = 72 * h.bitRate / h.sampleRate + h.padding;
  }
  h.sideInfoBytes = h.layer != 3 ? 0 : mpeg1 ? (h.channels == 1 ? 17 : 32) : (h.channels == 1 ? 9 : 17);
  return h.frameBytes >= 4 + (h.crc ? 2 : 0) + h.sideInfoBytes;
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

XingInfo ParseXing(const std::vector<uint8_t>& frame, const FrameHeader& header) {
  XingInfo x;
  size_t at = 4 + (header.crc ? 2 : 0) + header.sideInfoBytes;
  auto have = [&](size_t n) { return at + n <= frame.size(); };
  if (!have(8) || (std::memcmp(&frame[at], "Xing", 4) != 0 && std::memcmp(&frame[at], "Info", 4) != 0)) return x;
  x.present = true;
  x.vbr = std::memcmp(&frame[at], "Xing", 4) == 0;
  const uint32_t flags = Be32(&frame[at + 4]);
  at += 8;
  if ((flags & 1) && have(4)) x.frames = Be32(&frame[at]), at += 4;
  if ((flags & 2) && have(4)) x.bytes = Be32(&frame[at]), at += 4;
  if ((flags & 4) && have(100)) {
    std::memcpy(x.toc, &frame[at], 100);
    x.hasToc = true;
    at += 100;
  }
  if (flags & 8) at += 4;
  // The LAME tag: 9 bytes of encoder name, then 12 more bytes, then delay and padding, 12 bits each.
  if (have(24) && std::memcmp(&frame[at], "LAME", 4) == 0) {
    const uint8_t* d = &frame[at + 21];
    x.hasLame = true;
    x.encoderDelay = d[0] << 4 | d[1] >> 4;
    x.encoderPadding = (d[1] & 0x0F) << 8 | d[2];
  }
  return x;
}

uint64_t Stream::MusicSamples() const {
  const uint64_t all = frames * header.samplesPerFrame;
  const uint64_t trimmed = uint64_t{xing.encoderDelay} + xing.encoderPadding;
  return all > trimmed ? all - trimmed : 0;
}

uint32_t Stream::LengthMs() const {
  return header.sampleRate ? static_cast<uint32_t>(MusicSamples() * 1000 / header.sampleRate) : 0;
}

uint32_t Stream::AverageBitRate() const {
  const uint64_t ms = frames * header.samplesPerFrame * 1000 / (header.sampleRate ? header.sampleRate : 1);
  return ms ? static_cast<uint32_t>(Bytes() * 8 * 1000 / ms) : header.bitRate;
}

uint64_t Id3v2Size(ox::ByteSource& source) {
  uint8_t h[10];
  if (source.ReadAt(0, h, 10) != 10 || std::memcmp(h, "ID3", 3) != 0 || h[3] == 0xFF || h[4] == 0xFF) return 0;
  if ((h[6] | h[7] | h[8] | h[9]) & 0x80) return 0;  // not a syncsafe size: no tag
  const uint64_t size = 10 + (uint64_t{h[6]} << 21 | h[7] << 14 | h[8] << 7 | h[9]) + ((h[5] & 0x10) ? 10 : 0);
  return size < source.Size() ? size : source.Size();
}

bool FindStream(ox::ByteSource& source, Stream& s) {
  s = Stream();
  Window w(source);
  s.end = source.Size();
  if (const uint8_t* tail = s.end >= 128 ? w.At(s.end - 128, 3) : nullptr)
    if (std::memcmp(tail, "TAG", 3) == 0) s.end -= 128;
  const uint64_t start = Id3v2Size(source);
  const uint64_t limit = start + kSearchLimit < s.end ? start + kSearchLimit : s.end;
  // A lying ID3v2 size may swallow the stream: then search from the start of the file too.
  uint64_t first = NextFrameIn(w, start, limit, nullptr);
  if (first >= limit && start > 0) first = NextFrameIn(w, 0, limit, nullptr);
  if (first >= limit || !HeaderAt(w, first, s.header)) return false;

  std::vector<uint8_t> frame(s.header.frameBytes);
  frame.resize(source.ReadAt(first, frame.data(), frame.size()));
  s.xing = ParseXing(frame, s.header);
  s.firstFrame = s.xing.present ? first + s.header.frameBytes : first;
  if (s.xing.present && s.xing.frames > 0) {
    s.frames = s.xing.frames;
    return true;
  }
  // No frame count given: walk the headers (re-synchronising over damage).
  for (uint64_t at = s.firstFrame; at < s.end;) {
    FrameHeader h;
    if (HeaderAt(w, at, h) && SameStream(h, s.header) && at + h.frameBytes <= s.end) {
      ++s.frames;
      at += h.frameBytes;
    } else {
      at = NextFrameIn(w, at + 1, s.end, &s.header);
    }
  }
  return s.frames > 0;
}

uint64_t NextFrame(ox::ByteSource& source, uint64_t from, uint64_t end, const FrameHeader& like) {
  Window w(source);
  return NextFrameIn(w, from, end, &like);
}

}  // namespace mpeg
