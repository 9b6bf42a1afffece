#include "engine/ReplayGain.h"

#include <xmmintrin.h>

#include <cmath>

namespace ox {

ReplayGainSettings ReplayGainSettingsOf(uint32_t mode, uint32_t preamp, uint32_t clipPrevention) {
  ReplayGainSettings s;
  s.mode = mode <= 3 ? static_cast<ReplayGainMode>(mode) : ReplayGainMode::Off;
  const int32_t tenths = static_cast<int32_t>(preamp);
  s.preampTenthsDb = tenths < -150 ? -150 : tenths > 150 ? 150 : tenths;
  s.clipPrevention = clipPrevention != 0;
  return s;
}

double ReplayGainFactor(const ReplayGainSettings& s, const LoudnessTags& t, bool albumQueue) {
  const bool album = s.mode == ReplayGainMode::Album || (s.mode == ReplayGainMode::AlbumWhenAlbumQueue && albumQueue);
  if (s.mode == ReplayGainMode::Off || !(t.hasTrackGain || t.hasAlbumGain)) return 0;
  const bool useAlbum = album ? t.hasAlbumGain : !t.hasTrackGain;
  const double gainDb = (useAlbum ? t.albumGainDb : t.trackGainDb) + s.preampTenthsDb / 10.0;
  double factor = std::pow(10.0, gainDb / 20.0);
  const bool hasPeak = useAlbum ? t.hasAlbumPeak : t.hasTrackPeak;
  const double peak = useAlbum ? t.albumPeak : t.trackPeak;
  if (s.clipPrevention && hasPeak && peak > 0 && factor * peak > 1.0) factor = 1.0 / peak;
  return factor;
}

void ApplyReplayGain(uint8_t* block, size_t bytes, int bitsPerSample, double factor) {
  const float f = static_cast<float>(factor);
  // Products beyond the sample range are held to it before rounding (SSE's round to nearest).
  auto scaled = [f](float v, float low, float high) {
    const float s = v * f;
    return static_cast<float>(_mm_cvtss_si32(_mm_set_ss(s < low ? low : s > high ? high : s)));
  };
  if (bitsPerSample == 8) {
    for (size_t i = 0; i < bytes; ++i)
      block[i] = static_cast<uint8_t>(scaled(static_cast<float>(block[i]) - 128.0f, -128.0f, 127.0f) + 128.0f);
  } else if (bitsPerSample == 16) {
    for (size_t i = 0; i + 2 <= bytes; i += 2) {
      const auto v = static_cast<int16_t>(block[i] | block[i + 1] << 8);
      const auto s = static_cast<int32_t>(scaled(v, -32768.0f, 32767.0f));
      block[i] = static_cast<uint8_t>(s), block[i + 1] = static_cast<uint8_t>(s >> 8);
    }
  } else if (bitsPerSample == 24) {
    for (size_t i = 0; i + 3 <= bytes; i += 3) {
      const int32_t v =
          static_cast<int32_t>(static_cast<uint32_t>(block[i] | block[i + 1] << 8 | block[i + 2] << 16) << 8) >> 8;
      const auto s = static_cast<int32_t>(scaled(static_cast<float>(v), -8388608.0f, 8388607.0f));
      block[i] = static_cast<uint8_t>(s), block[i + 1] = static_cast<uint8_t>(s >> 8);
      block[i + 2] = static_cast<uint8_t>(s >> 16);
    }
  }
}

}  // namespace ox
