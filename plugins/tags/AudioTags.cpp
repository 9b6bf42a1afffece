#include "AudioTags.h"

#include <cstring>
#include <vector>

namespace tags {

namespace {

constexpr uint32_t kMaxCommentBlock = 1 << 20;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

}  // namespace

uint16_t LeadingNumber(std::string_view text) {
  uint32_t n = 0;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if ((n = n * 10 + static_cast<uint32_t>(text[i] - '0')) > 65535) return 0;
  return static_cast<uint16_t>(n);
}

namespace {

// A second value of the same field (ARTIST twice) joins the first.
void Put(std::string& field, std::string_view value) {
  if (value.empty()) return;
  if (!field.empty()) field += "; ";
  field.append(value.data(), value.size());
}

bool ParseQ78(std::string_view text, int16_t& value) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  if (i == text.size()) return false;
  int32_t n = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    if ((n = n * 10 + (text[i] - '0')) > 32768) return false;
  }
  n = negative ? -n : n;
  if (n > 32767) return false;
  value = static_cast<int16_t>(n);
  return true;
}

}  // namespace

bool ParseDecimal(std::string_view text, float& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double whole = 0, scale = 1;
  bool digits = false, point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (point) scale /= 10;
      if (whole < 1e6)
        whole = whole * 10 + (c - '0');
      else if (!point)
        return false;
    } else {
      break;
    }
  }
  const double v = whole * scale;
  if (!digits || v > 1000) return false;
  value = static_cast<float>(negative ? -v : v);
  return true;
}

bool ApplyLoudnessTag(std::string_view name, std::string_view value, Loudness& l) {
  struct Field {
    const char* name;
    bool Loudness::*has;
    float Loudness::*value;
    bool peak;
  };
  static const Field fields[] = {
      {"REPLAYGAIN_TRACK_GAIN", &Loudness::hasTrackGain, &Loudness::trackGainDb, false},
      {"REPLAYGAIN_ALBUM_GAIN", &Loudness::hasAlbumGain, &Loudness::albumGainDb, false},
      {"REPLAYGAIN_TRACK_PEAK", &Loudness::hasTrackPeak, &Loudness::trackPeak, true},
      {"REPLAYGAIN_ALBUM_PEAK", &Loudness::hasAlbumPeak, &Loudness::albumPeak, true},
  };
  for (const Field& f : fields) {
    if (!SameName(name, f.name)) continue;
    float v;
    // A peak of 0 or less says nothing: the clip guard would divide by it.
    if (!ParseDecimal(value, v) || (f.peak && v <= 0)) return false;
    l.*f.has = true;
    l.*f.value = v;
    return true;
  }
  return false;
}

void ApplyComment(std::string_view entry, Tags& t) {
  const size_t eq = entry.find('=');
  if (eq == std::string_view::npos) return;
  const std::string_view name = entry.substr(0, eq), value = entry.substr(eq + 1);
  if (SameName(name, "ARTIST"))
    Put(t.artist, value);
  else if (SameName(name, "TITLE"))
    Put(t.title, value);
  else if (SameName(name, "ALBUM"))
    Put(t.album, value);
  else if (SameName(name, "GENRE"))
    Put(t.genre, value);
  else if (SameName(name, "ALBUMARTIST") || SameName(name, "ALBUM ARTIST"))
    Put(t.albumArtist, value);
  else if (SameName(name, "DATE") || SameName(name, "YEAR"))
    t.year = t.year ? t.year : LeadingNumber(value);
  else if (SameName(name, "TRACKNUMBER"))
    t.track = t.track ? t.track : LeadingNumber(value);
  else if (SameName(name, "R128_TRACK_GAIN"))
    t.hasR128Track = ParseQ78(value, t.r128Track) || t.hasR128Track;
  else if (SameName(name, "R128_ALBUM_GAIN"))
    t.hasR128Album = ParseQ78(value, t.r128Album) || t.hasR128Album;
  else
    ApplyLoudnessTag(name, value, t.loudness);
}

bool ParseCommentList(const uint8_t* data, size_t size, Tags& tags) {
  // Every length is checked against what is left before it is used: a length near 4 GiB must not
  // wrap an offset in 32-bit arithmetic.
  size_t at = 0;
  auto length = [&](uint32_t& n) {
    if (size - at < 4) return false;
    n = ox::Le32(data + at);
    at += 4;
    return true;
  };
  uint32_t vendor, count;
  if (!length(vendor) || vendor > size - at) return false;
  at += vendor;
  if (!length(count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t n;
    if (!length(n) || n > size - at) break;
    ApplyComment(std::string_view(reinterpret_cast<const char*>(data + at), n), tags);
    at += n;
  }
  return true;
}

Loudness OpusLoudness(const Tags& t) {
  Loudness l = t.loudness;
  constexpr float kToReplayGainDb = 5.0f;
  if (t.hasR128Track) l.hasTrackGain = true, l.trackGainDb = t.r128Track / 256.0f + kToReplayGainDb;
  if (t.hasR128Album) l.hasAlbumGain = true, l.albumGainDb = t.r128Album / 256.0f + kToReplayGainDb;
  return l;
}

bool ReadFlacInfo(ox::ByteSource& source, FlacInfo& info) {
  uint64_t at = 0;
  uint8_t h[10];
  if (source.ReadAt(0, h, 10) == 10 && std::memcmp(h, "ID3", 3) == 0)
    at = 10 + (uint64_t{h[6] & 0x7Fu} << 21 | (h[7] & 0x7Fu) << 14 | (h[8] & 0x7Fu) << 7 | (h[9] & 0x7Fu)) +
         ((h[5] & 0x10) ? 10 : 0);
  if (source.ReadAt(at, h, 4) != 4 || std::memcmp(h, "fLaC", 4) != 0) return false;
  at += 4;
  bool streamInfo = false, last = false;
  while (!last) {
    if (source.ReadAt(at, h, 4) != 4) return false;  // the audio never starts
    last = (h[0] & 0x80) != 0;
    const int type = h[0] & 0x7F;
    const uint32_t length = uint32_t{h[1]} << 16 | h[2] << 8 | h[3];
    at += 4;
    if (type == 0) {  // STREAMINFO, first and only once
      uint8_t s[34];
      if (streamInfo || length < 34 || source.ReadAt(at, s, 34) != 34) return false;
      info.sampleRate = uint32_t{s[10]} << 12 | s[11] << 4 | s[12] >> 4;
      info.channels = static_cast<uint8_t>(((s[12] >> 1) & 7) + 1);
      info.bitsPerSample = static_cast<uint8_t>(((s[12] & 1) << 4 | s[13] >> 4) + 1);
      info.totalSamples = uint64_t{s[13] & 0x0Fu} << 32 | ox::Be32(s + 14);
      const uint32_t minBlock = uint32_t{s[0]} << 8 | s[1], maxBlock = uint32_t{s[2]} << 8 | s[3];
      if (info.sampleRate == 0 || info.bitsPerSample < 4 || minBlock < 16 || maxBlock < minBlock) return false;
      streamInfo = true;
    } else if (!streamInfo) {
      return false;
    } else if (type == 3) {
      info.hasSeekTable = true;
    } else if (type == 4 && length <= kMaxCommentBlock) {
      std::vector<uint8_t> block(length);
      if (source.ReadAt(at, block.data(), length) != length) return false;
      ParseCommentList(block.data(), block.size(), info.tags);
    }
    at += length;
  }
  info.audioOffset = at;
  return streamInfo;
}

}  // namespace tags

namespace tags {

const uint8_t* VorbisToWavOrder(int channels) {
  // Vorbis: L C R / FL FR RL RR / FL C FR RL RR / + LFE last / 6.1 and 7.1 with sides; WAV: FL FR C
  // LFE then the back and side pairs.
  static const uint8_t orders[8][8] = {{0},
                                       {0, 1},
                                       {0, 2, 1},
                                       {0, 1, 2, 3},
                                       {0, 2, 1, 3, 4},
                                       {0, 2, 1, 5, 3, 4},
                                       {0, 2, 1, 6, 5, 3, 4},
                                       {0, 2, 1, 7, 5, 6, 3, 4}};
  return channels >= 1 && channels <= 8 ? orders[channels - 1] : nullptr;
}

}  // namespace tags
