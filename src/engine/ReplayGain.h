// Loudness correction from a track's ReplayGain tags: the user's settings, the gain a track plays
// at, and its application to a block ahead of the equaliser. Pure, apart from reading the
// settings (ReadReplayGainSettings, Windows builds only).
#pragma once

#include <cstddef>
#include <cstdint>

namespace ox {

enum class ReplayGainMode : uint32_t { Off = 0, Track = 1, Album = 2, AlbumWhenAlbumQueue = 3 };

struct ReplayGainSettings {
  ReplayGainMode mode = ReplayGainMode::Off;
  int preampTenthsDb = 0;  // -150..150
  bool clipPrevention = true;
};

// The settings as kept under the player's settings key: DWORDs "ReplayGainMode" (0-3, default
// 0), "ReplayGainPreamp" (tenths of a dB as a signed 32-bit value, held to -150..150, default 0)
// and "ReplayGainClipPrevention" (0/1, default 1). An unknown mode counts as off.
ReplayGainSettings ReadReplayGainSettings();
// The same rules over raw values, for the reader and its tests; a missing value is passed as its
// default.
ReplayGainSettings ReplayGainSettingsOf(uint32_t mode, uint32_t preamp, uint32_t clipPrevention);

// What a track's tags carry (the values of a codec plug-in's GetLoudnessInfo).
struct LoudnessTags {
  bool hasTrackGain = false, hasAlbumGain = false, hasTrackPeak = false, hasAlbumPeak = false;
  float trackGainDb = 0, albumGainDb = 0, trackPeak = 0, albumPeak = 0;
};

// The linear factor the track plays at, or 0 when ReplayGain does not apply to it (off, or the
// tags have no gain): the automatic level then stays in charge. Album modes use the album gain
// and peak when the tags have them, else the track's; AlbumWhenAlbumQueue only when albumQueue.
// The preamp adds to the gain; clip prevention lowers the factor so the peak times it stays at
// most 1.
double ReplayGainFactor(const ReplayGainSettings& settings, const LoudnessTags& tags, bool albumQueue);

// Multiplies every sample of a block (8-bit unsigned, 16- or 24-bit signed little-endian) by
// factor in floating point, rounding to the nearest value and holding it to the sample range.
void ApplyReplayGain(uint8_t* block, size_t bytes, int bitsPerSample, double factor);

}  // namespace ox
