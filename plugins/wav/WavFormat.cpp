#include "WavFormat.h"

#include <cstring>
#include <string_view>

#include "base/Utf8.h"

namespace wav {

namespace {

using ox::Le16;
using ox::Le32;

constexpr int kMaxChunks = 4096;  // a file of empty chunks is not walked to its end
constexpr size_t kMaxTag = 99;        // bytes of a tag text, after conversion
constexpr size_t kMaxTagRead = 1024;  // bytes read of a tag chunk: enough to tell its encoding
constexpr uint16_t kFormatPcm = 1, kFormatExtensible = 0xFFFE;
// KSDATAFORMAT_SUBTYPE_PCM after its first two bytes (the format tag).
constexpr uint8_t kPcmGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool Is(const uint8_t* id, const char* fourcc) { return std::memcmp(id, fourcc, 4) == 0; }

// The leading decimal digits of a tag text ("2004-05-01" gives 2004), at most 65535.
uint16_t LeadingNumber(const std::string& text) {
  uint32_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    n = n * 10 + static_cast<uint32_t>(c - '0');
    if (n > 65535) return 0;
  }
  return static_cast<uint16_t>(n);
}

// INFO texts carry no encoding. Newer writers use UTF-8; older ones the writer's code page, which
// is taken to be Latin-1 (the most common one, and any byte is valid in it) when the text is not
// UTF-8. The result is cut after its last whole character.
std::string TagText(std::string_view raw, bool readCut) {
  if (readCut) {  // the read may have ended inside a character: leave the last one out
    size_t at = raw.size();
    while (at > 0 && raw.size() - at < 3 && (static_cast<uint8_t>(raw[at - 1]) & 0xC0) == 0x80) --at;
    raw = raw.substr(0, at > 0 ? at - 1 : 0);
  }
  const std::string utf8 = ox::IsValidUtf8(raw) ? std::string(raw) : ox::Latin1ToUtf8(raw);
  return std::string(ox::WholeCharacters(utf8, kMaxTag));
}

Error ParseFormat(const uint8_t* f, uint32_t size, Info& info) {
  if (size < 16) return Error::Unsupported;
  uint16_t tag = Le16(f);
  const uint16_t channels = Le16(f + 2);
  const uint32_t rate = Le32(f + 4);
  const uint16_t bits = Le16(f + 14);
  if (tag == kFormatExtensible) {
    if (size < 40 || std::memcmp(f + 26, kPcmGuidTail, sizeof kPcmGuidTail) != 0) return Error::Unsupported;
    tag = Le16(f + 24);
  }
  if (tag != kFormatPcm || channels < 1 || channels > 8 || rate < 1 || rate > 768000) return Error::Unsupported;
  if (bits != 8 && bits != 16 && bits != 24) return Error::Unsupported;
  info.channels = channels;
  info.sampleRate = rate;
  info.bitsPerSample = bits;
  info.blockAlign = static_cast<uint16_t>(channels * bits / 8);
  return Error::None;
}

void ParseInfoList(ox::ByteSource& source, uint64_t start, uint64_t end, Tags& tags) {
  uint8_t head[8];
  for (int i = 0; i < kMaxChunks && start + 8 <= end && source.ReadAt(start, head, 8) == 8; ++i) {
    const uint32_t size = Le32(head + 4);
    std::string* field = Is(head, "IART") ? &tags.artist : Is(head, "INAM") ? &tags.title
                         : Is(head, "IPRD") ? &tags.album : nullptr;
    const bool number = Is(head, "ICRD") || Is(head, "ITRK") || Is(head, "IPRT");
    if (field || number) {
      char text[kMaxTagRead] = {};
      const uint64_t room = end - (start + 8);
      const size_t want = static_cast<size_t>(size < kMaxTagRead ? size : kMaxTagRead);
      source.ReadAt(start + 8, text, want < room ? want : static_cast<size_t>(room));
      const size_t length = strnlen(text, kMaxTagRead);
      const std::string value = TagText(std::string_view(text, length), length == kMaxTagRead);
      if (field) *field = value;
      else if (Is(head, "ICRD")) tags.year = LeadingNumber(value);
      else tags.track = LeadingNumber(value);
    }
    start += 8 + uint64_t{size} + (size & 1);
  }
}

}  // namespace

Error Parse(ox::ByteSource& source, Info& info) {
  info = Info();
  const uint64_t fileSize = source.Size();
  uint8_t head[12];
  if (source.ReadAt(0, head, 12) != 12 || !Is(head, "RIFF") || !Is(head + 8, "WAVE")) return Error::NotWave;

  bool haveFormat = false, haveData = false;
  Error formatError = Error::NoFormat;
  uint64_t at = 12;
  for (int i = 0; i < kMaxChunks && at + 8 <= fileSize; ++i) {
    if (source.ReadAt(at, head, 8) != 8) break;
    const uint32_t size = Le32(head + 4);
    const uint64_t body = at + 8;
    if (Is(head, "fmt ") && !haveFormat) {
      uint8_t f[40] = {};
      const size_t got = source.ReadAt(body, f, size < 40 ? size : 40);
      formatError = ParseFormat(f, static_cast<uint32_t>(got), info);
      haveFormat = formatError == Error::None;
    } else if (Is(head, "data") && !haveData) {
      const uint64_t room = fileSize - body;
      info.dataOffset = body;
      info.dataBytes = size == 0xFFFFFFFFu || size > room ? room : size;
      haveData = true;
    } else if (Is(head, "LIST") && size >= 4) {
      uint8_t type[4];
      const uint64_t end = body + size < fileSize ? body + size : fileSize;
      if (source.ReadAt(body, type, 4) == 4 && Is(type, "INFO")) ParseInfoList(source, body + 4, end, info.tags);
    }
    at = body + size + (size & 1);  // chunks are padded to an even size
  }
  if (!haveFormat) return formatError;
  if (!haveData) return Error::NoData;
  info.dataBytes -= info.dataBytes % info.blockAlign;
  return Error::None;
}

}  // namespace wav
