// Tags of the Xiph formats: Vorbis comments (Ogg Vorbis, Opus, FLAC), the FLAC metadata blocks in
// front of the audio, and the loudness (ReplayGain) values all formats carry as named texts. Pure:
// texts come out as UTF-8, as the comments hold them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ByteSource.h"

namespace tags {

// Loudness corrections from the file's tags. Gains in dB towards the ReplayGain reference level;
// peaks linear, 1.0 the full scale of the samples.
struct Loudness {
  bool hasTrackGain = false, hasAlbumGain = false, hasTrackPeak = false, hasAlbumPeak = false;
  float trackGainDb = 0, albumGainDb = 0, trackPeak = 0, albumPeak = 0;
  bool Any() const { return hasTrackGain || hasAlbumGain; }
};

struct Tags {
  std::string artist, title, album, genre, albumArtist;  // UTF-8, uncut; several values joined by "; "
  uint16_t year = 0, track = 0;             // 0 when missing
  Loudness loudness;
  // Opus's R128_TRACK_GAIN / R128_ALBUM_GAIN (Q7.8 dB towards -23 LUFS), kept apart from any
  // REPLAYGAIN_ texts; OpusLoudness folds them in.
  bool hasR128Track = false, hasR128Album = false;
  int16_t r128Track = 0, r128Album = 0;
};

// The number a year or track text starts with, after spaces ("2019-04-01" 2019, "7/12" 7); 0 when
// there is none or it passes 65535.
uint16_t LeadingNumber(std::string_view text);

// A decimal number as the loudness tags write it: optional sign, digits, optional fraction, then
// anything (" dB"). False when no digit starts it or it is out of +-1000.
bool ParseDecimal(std::string_view text, float& value);

// Takes one loudness tag by name (any case: REPLAYGAIN_TRACK_GAIN, _ALBUM_GAIN, _TRACK_PEAK,
// _ALBUM_PEAK) into loudness; false for any other name or a value that is no number.
bool ApplyLoudnessTag(std::string_view name, std::string_view value, Loudness& loudness);

// Takes one "NAME=value" comment (name in any case) into tags. Unknown names and entries without
// "=" are ignored.
void ApplyComment(std::string_view entry, Tags& tags);

// Reads a Vorbis comment list: vendor length and text, count, then each comment's length and
// text, all lengths 32-bit little-endian. Comments up to the first that runs past the data are
// taken; false when not even the count fits.
bool ParseCommentList(const uint8_t* data, size_t size, Tags& tags);

// The loudness an Opus stream plays at: its R128 gains moved to the ReplayGain reference (+5 dB
// from -23 LUFS to -18 LUFS), else any REPLAYGAIN_ texts. The header's output gain is not in it:
// the decoder applies that always.
Loudness OpusLoudness(const Tags& tags);

// What the metadata blocks of a FLAC file say.
struct FlacInfo {
  uint32_t sampleRate = 0;
  uint8_t channels = 0, bitsPerSample = 0;
  uint64_t totalSamples = 0;  // per channel; 0 when the encoder did not know
  uint64_t audioOffset = 0;   // the first frame's byte
  bool hasSeekTable = false;
  Tags tags;
};

// Walks the metadata blocks of a FLAC file (an ID3v2 tag in front is stepped over). Comment
// blocks are read (up to 1 MiB each); pictures and other blocks are stepped over unread. False
// when the file is no FLAC or its STREAMINFO is missing or impossible.
bool ReadFlacInfo(ox::ByteSource& source, FlacInfo& info);

}  // namespace tags

namespace tags {

// For each channel of the WAV order, the channel of the Vorbis order (Ogg Vorbis, Opus mapping 1)
// that feeds it; channels 1 to 8. Null for other counts.
const uint8_t* VorbisToWavOrder(int channels);

}  // namespace tags
