#include "Id3Tag.h"

#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

#include "base/Utf8.h"

namespace id3 {

using tags::ApplyLoudnessTag;

namespace {

constexpr uint32_t kMaxTagBytes = 1 << 20;  // text frames sit early; pictures after them are not read

uint32_t Syncsafe(const uint8_t* p) { return p[0] << 21 | p[1] << 14 | p[2] << 7 | p[3]; }

// Undoes unsynchronisation: every 0xFF 0x00 pair loses its 0x00.
std::vector<uint8_t> Resync(const uint8_t* p, size_t n) {
  std::vector<uint8_t> out;
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    out.push_back(p[i]);
    if (p[i] == 0xFF && i + 1 < n && p[i + 1] == 0x00) ++i;
  }
  return out;
}

// The text of a text frame (encoding byte first), up to its first terminator, as UTF-8.
// Encodings: 0 Latin-1, 1 UTF-16 after a byte-order mark (little-endian without one, as written
// by most Windows taggers), 2 UTF-16BE, 3 UTF-8; any other is read as Latin-1. An odd last byte
// of UTF-16 is dropped; lone surrogates and bytes that are not UTF-8 become U+FFFD.
std::string DecodeText(const uint8_t* p, size_t n) {
  if (n == 0) return {};
  const uint8_t encoding = p[0];
  ++p, --n;
  if (encoding == 1 || encoding == 2) {
    bool bigEndian = encoding == 2;
    if (encoding == 1 && n >= 2 && ((p[0] == 0xFE && p[1] == 0xFF) || (p[0] == 0xFF && p[1] == 0xFE))) {
      bigEndian = p[0] == 0xFE;
      p += 2, n -= 2;
    }
    std::u16string wide;
    for (size_t i = 0; i + 1 < n; i += 2) {
      const char16_t c = bigEndian ? static_cast<char16_t>(p[i] << 8 | p[i + 1]) : static_cast<char16_t>(p[i + 1] << 8 | p[i]);
      if (c == 0) break;
      wide += c;
    }
    return ox::Utf8(wide);
  }
  const std::string_view bytes(reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), n));
  return encoding == 3 ? ox::Utf8(ox::Utf16(bytes)) : ox::Latin1ToUtf8(bytes);
}

// A TXXX frame: encoding byte, description up to its terminator (two zero bytes, aligned, in the
// UTF-16 encodings), then the value. A ReplayGain description sets the loudness.
void StoreUserText(Tag& tag, const uint8_t* p, size_t n) {
  if (n < 2) return;
  const size_t width = p[0] == 1 || p[0] == 2 ? 2 : 1;
  size_t end = 1;
  while (end + width <= n && (p[end] != 0 || (width == 2 && p[end + 1] != 0))) end += width;
  if (end + width > n) return;
  std::vector<uint8_t> value(p + end + width, p + n);
  value.insert(value.begin(), p[0]);
  ApplyLoudnessTag(DecodeText(p, end), DecodeText(value.data(), value.size()), tag.loudness);
}

// ID3v1's genre numbers.
constexpr const char* kGenres[] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal",
    "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel",
    "Noise", "Alternative Rock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk",
    "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk",
    "Jungle", "Native American", "Cabaret", "New Wave", "Psychedelic", "Rave", "Showtunes", "Trailer", "Lo-Fi",
    "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock"};

std::string NumberedGenre(std::string_view digits, const std::string& asWritten) {
  if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string_view::npos)
    return asWritten;
  const size_t n = static_cast<size_t>(std::stoi(std::string(digits)));
  return n < std::size(kGenres) ? kGenres[n] : asWritten;
}

void Store(Tag& tag, const char* id, const std::string& text) {
  auto is = [&](const char* a, const char* b) { return std::strcmp(id, a) == 0 || std::strcmp(id, b) == 0; };
  if (is("TPE1", "TP1")) tag.artist = text;
  else if (is("TIT2", "TT2")) tag.title = text;
  else if (is("TALB", "TAL")) tag.album = text;
  else if (is("TCON", "TCO")) tag.genre = GenreName(text);
  else if (is("TPE2", "TP2")) tag.albumArtist = text;
  else if (is("TYER", "TYE") || is("TDRC", "TDRC")) tag.year = tags::LeadingNumber(text);
  else if (is("TRCK", "TRK")) tag.track = tags::LeadingNumber(text);
}

// An ID3v1 field: Latin-1 up to its first zero, trailing spaces dropped.
std::string Latin1(const uint8_t* p, size_t n) {
  size_t length = strnlen(reinterpret_cast<const char*>(p), n);
  while (length > 0 && p[length - 1] == ' ') --length;
  return ox::Latin1ToUtf8(std::string_view(reinterpret_cast<const char*>(p), length));
}

}  // namespace

std::string GenreName(const std::string& text) {
  if (text.size() > 1 && text[0] == '(' && text[1] != '(') {
    const size_t close = text.find(')');
    if (close != std::string::npos) {
      if (close + 1 < text.size()) return text.substr(close + 1);  // the refinement says it better
      return NumberedGenre(std::string_view(text).substr(1, close - 1), text);
    }
  }
  return NumberedGenre(text, text);
}

bool ReadV2(ox::ByteSource& source, Tag& tag) {
  uint8_t h[10];
  if (source.ReadAt(0, h, 10) != 10 || std::memcmp(h, "ID3", 3) != 0) return false;
  const int version = h[3];
  if (version < 2 || version > 4 || ((h[6] | h[7] | h[8] | h[9]) & 0x80)) return false;
  uint32_t size = Syncsafe(h + 6);
  if (size > kMaxTagBytes) size = kMaxTagBytes;
  std::vector<uint8_t> body(size);
  body.resize(source.ReadAt(10, body.data(), size));  // a size that lies is cut at the end of the file
  if (version < 4 && (h[5] & 0x80)) body = Resync(body.data(), body.size());

  size_t at = 0;
  if (h[5] & 0x40 && version >= 3 && body.size() >= 4) {  // extended header
    // Sizes from the file are summed in 64 bits: in 32-bit size_t a size near 4 GiB would wrap
    // round to a small offset.
    const uint64_t extended = version == 4 ? Syncsafe(&body[0]) : 4 + uint64_t{ox::Be32(&body[0])};
    if (extended >= body.size()) return true;  // nothing after the extended header
    at = static_cast<size_t>(extended);
  }
  const size_t idBytes = version == 2 ? 3 : 4, headBytes = version == 2 ? 6 : 10;
  while (headBytes <= body.size() - at && body[at] != 0) {
    char id[5] = {};
    std::memcpy(id, &body[at], idBytes);
    const uint8_t* s = &body[at + idBytes];
    const uint32_t frameSize = version == 2 ? (s[0] << 16 | s[1] << 8 | s[2]) : version == 3 ? ox::Be32(s) : Syncsafe(s);
    const uint8_t formatFlags = version == 2 ? 0 : body[at + 9];
    const size_t data = at + headBytes;
    if (frameSize > body.size() - data) break;
    if (id[0] == 'T') {
      // 2.4 frames may be unsynchronised on their own, and may carry a data length in front.
      const bool lengthPrefix = version == 4 && (formatFlags & 0x01);
      const bool compressedOrEncrypted = version == 4 ? (formatFlags & 0x0C) : version == 3 ? (formatFlags & 0xC0) : 0;
      if (!compressedOrEncrypted) {
        std::vector<uint8_t> bytes(body.begin() + data, body.begin() + data + frameSize);
        if (version == 4 && (formatFlags & 0x02)) bytes = Resync(bytes.data(), bytes.size());
        const size_t skip = (lengthPrefix ? 4 : 0) + (version == 4 && (formatFlags & 0x40) ? 1 : 0);  // + group id
        if (bytes.size() > skip) {
          if (std::strcmp(id, "TXXX") == 0 || std::strcmp(id, "TXX") == 0) StoreUserText(tag, bytes.data() + skip, bytes.size() - skip);
          else Store(tag, id, DecodeText(bytes.data() + skip, bytes.size() - skip));
        }
      }
    }
    at = data + frameSize;
  }
  return true;
}

bool ReadV1(ox::ByteSource& source, Tag& tag) {
  uint8_t t[128];
  if (source.Size() < 128 || source.ReadAt(source.Size() - 128, t, 128) != 128 || std::memcmp(t, "TAG", 3) != 0)
    return false;
  tag.title = Latin1(t + 3, 30);
  tag.artist = Latin1(t + 33, 30);
  tag.album = Latin1(t + 63, 30);
  tag.year = tags::LeadingNumber(Latin1(t + 93, 4));
  tag.track = t[125] == 0 ? t[126] : 0;  // ID3v1.1
  if (t[127] < std::size(kGenres)) tag.genre = kGenres[t[127]];
  return true;
}

Tag Read(ox::ByteSource& source) {
  Tag v2, v1;
  ReadV2(source, v2);
  if (ReadV1(source, v1)) {
    if (v2.artist.empty()) v2.artist = v1.artist;
    if (v2.title.empty()) v2.title = v1.title;
    if (v2.album.empty()) v2.album = v1.album;
    if (!v2.year) v2.year = v1.year;
    if (!v2.track) v2.track = v1.track;
    if (v2.genre.empty()) v2.genre = v1.genre;
  }
  return v2;
}

}  // namespace id3
