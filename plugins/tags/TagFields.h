// Tags into the fields of the codec plug-in interface, for the plug-ins that read them through
// AudioTags.h. Texts stay UTF-8 (the player's code page) and are cut after their last whole
// character.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "AudioTags.h"
#include "CodecPlugin.h"
#include "base/Text.h"
#include "base/Utf8.h"

namespace tags {

inline void PutTag(char* field, std::string_view utf8) {
  ox::CopyBounded(field, OX_CODEC_TAG_SIZE, ox::WholeCharacters(utf8, OX_CODEC_TAG_SIZE - 1));
}

inline void PutTags(const Tags& t, char* artist, char* title, char* album, uint32_t* yearAndTrack) {
  PutTag(artist, t.artist);
  PutTag(title, t.title);
  PutTag(album, t.album);
  *yearAndTrack = t.year | uint32_t{t.track} << 16;
}

// Answers GetIDTagElement: the named field ("artist", "title", "album", "genre", "albumartist",
// "year", "track") into value (OX_CODEC_TEXT_SIZE bytes); non-zero when the file has it.
inline int32_t PutTagElement(const Tags& t, const char* element, char* value) {
  if (!element || !value) return 0;
  const std::string_view name(element);
  const struct {
    const char* name;
    const std::string* text;
    uint16_t number;
  } fields[] = {{"artist", &t.artist, 0}, {"title", &t.title, 0}, {"album", &t.album, 0}, {"genre", &t.genre, 0},
                {"albumartist", &t.albumArtist, 0}, {"year", nullptr, t.year}, {"track", nullptr, t.track}};
  for (const auto& f : fields) {
    if (name != f.name) continue;
    const std::string text = f.text ? *f.text : f.number ? std::to_string(f.number) : std::string();
    if (text.empty()) return 0;
    ox::CopyBounded(value, OX_CODEC_TEXT_SIZE, ox::WholeCharacters(text, OX_CODEC_TEXT_SIZE - 1));
    return 1;
  }
  return 0;
}

// Fills a GetLoudnessInfo answer; non-zero when there is a gain.
inline int32_t PutLoudness(const Loudness& l, OxLoudnessInfo* info) {
  if (!info || info->size < sizeof(OxLoudnessInfo)) return 0;
  info->flags = (l.hasTrackGain ? OX_LOUDNESS_TRACK_GAIN : 0u) | (l.hasAlbumGain ? OX_LOUDNESS_ALBUM_GAIN : 0u) |
                (l.hasTrackPeak ? OX_LOUDNESS_TRACK_PEAK : 0u) | (l.hasAlbumPeak ? OX_LOUDNESS_ALBUM_PEAK : 0u);
  info->trackGainDb = l.trackGainDb;
  info->albumGainDb = l.albumGainDb;
  info->trackPeak = l.trackPeak;
  info->albumPeak = l.albumPeak;
  return l.Any() ? 1 : 0;
}

// The PCM format a decoder announces: interleaved integer samples of `bits` bits.
inline WAVEFORMATEX PcmFormat(unsigned channels, uint32_t rate, unsigned bits) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = static_cast<WORD>(channels);
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = static_cast<WORD>(bits);
  f.nBlockAlign = static_cast<WORD>(bits / 8 * channels);
  f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
  return f;
}

// CreateANewDecoderObject's answers for a decoder that opened: no error, PCM for a sound output in
// the decoder's `format`, and the handle, which owns the decoder from here on.
template <typename Decoder>
OxDecoder HandOver(std::unique_ptr<Decoder> owner, int32_t* error, uint8_t* wantsOutput, WAVEFORMATEX** format,
                   uintptr_t* outputHint) {
  *error = 0;
  *wantsOutput = 1;
  *format = &owner->format;
  *outputHint = 0;
  return reinterpret_cast<OxDecoder>(owner.release());
}

// The file size as GetTrackInfo reports it.
inline uint32_t ReportedSize(uint64_t size) { return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size); }

}  // namespace tags
