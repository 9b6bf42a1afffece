// Tags into the fields of the codec plug-in interface, for the plug-ins that read them through
// AudioTags.h. Texts stay UTF-8 (the player's code page) and are cut after their last whole
// character.
#pragma once

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

// The file size as GetTrackInfo reports it.
inline uint32_t ReportedSize(uint64_t size) { return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size); }

}  // namespace tags
