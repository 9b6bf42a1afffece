#include "engine/VisualFeed.h"

#include <cmath>
#include <cstring>

#include "engine/RealFft.h"

namespace ox {

VisualFeed::VisualFeed(const VisualFormat& format)
    : format_(format),
      interval_(format.sampleRate * format.bits * format.channels / 8 / 20),
      need_(uint32_t{OX_VIS_FRAMES} * format.bits * format.channels / 8),
      slots_(kSlots) {
  Reset();
}

void VisualFeed::Reset() {
  for (OxVisualSnapshot& slot : slots_) slot.timeMs = kFree;
  carry_ = 0;
}

void VisualFeed::SetEnabled(bool enabled) {
  if (enabled_ && !enabled) Reset();
  enabled_ = enabled;
}

size_t VisualFeed::Pending() const {
  size_t n = 0;
  for (const OxVisualSnapshot& slot : slots_) n += slot.timeMs != kFree;
  return n;
}

void VisualFeed::Feed(const uint8_t* block, size_t bytes, uint32_t positionMs) {
  if (!enabled_ || !block || interval_ == 0 || need_ == 0) return;
  uint64_t p = 0;
  while (true) {
    p += carry_;
    carry_ = interval_;
    if (p >= bytes) {  // the next point lies in a later block: carry the distance to it exactly
      carry_ = p - bytes;
      return;
    }
    if (p + need_ >= bytes) {  // its frames do not fit: the next block starts with a snapshot
      carry_ = 0;
      return;
    }
    const uint32_t offsetMs = format_.bytesPerSecond ? static_cast<uint32_t>(p * 1000 / format_.bytesPerSecond) : 0;
    Take(block + p, positionMs + offsetMs);
  }
}

void VisualFeed::Take(const uint8_t* frames, uint32_t timeMs) {
  OxVisualSnapshot* slot = nullptr;
  for (OxVisualSnapshot& s : slots_)
    if (s.timeMs == kFree) {
      slot = &s;
      break;
    }
  if (!slot) return;  // every slot waits: this point is skipped
  std::memset(slot, 0, sizeof *slot);
  slot->timeMs = timeMs;
  slot->sampleRate = format_.sampleRate;
  if (format_.bits != 8 && format_.bits != 16) return;
  const bool stereo = format_.channels == 2;
  const size_t sampleBytes = format_.bits / 8;
  for (int i = 0; i < OX_VIS_FRAMES; ++i) {
    for (int c = 0; c < 2; ++c) {
      // Two channels: left and right. Any other count: 512 consecutive samples into both.
      const uint8_t* s = frames + (stereo ? size_t(i) * 2 + c : size_t(i)) * sampleBytes;
      slot->waveform[c][i] = format_.bits == 16 ? static_cast<int8_t>(static_cast<int16_t>(s[0] | s[1] << 8) / 256)
                                                : static_cast<int8_t>(s[0] - 128);
    }
  }
}

bool VisualFeed::Step(uint32_t playingMs, OxVisualSnapshot& released) {
  if (!enabled_) return false;
  OxVisualSnapshot* latest = nullptr;
  for (OxVisualSnapshot& slot : slots_) {
    if (slot.timeMs == kFree || slot.timeMs >= playingMs) continue;
    if (!latest || slot.timeMs > latest->timeMs) latest = &slot;
  }
  if (!latest) return false;
  released = *latest;
  for (OxVisualSnapshot& slot : slots_)
    if (slot.timeMs != kFree && slot.timeMs < playingMs) slot.timeMs = kFree;
  ComputeSpectrum(released);
  return true;
}

void ComputeSpectrum(OxVisualSnapshot& snapshot) {
  float x[fft::kSize];
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < fft::kSize; ++i) x[i] = snapshot.waveform[c][i] / 128.0f;
    fft::Forward(x);  // R0, R256, R1, I1, ..., R255, I255
    for (int k = 0; k < OX_VIS_BINS; ++k) {
      const double magnitude = k == 0 ? std::fabs(x[0]) : std::hypot(x[2 * k], x[2 * k + 1]);
      const double level = magnitude > 0 ? 120 * std::log10(magnitude) : 0;
      snapshot.spectrum[c][k] = static_cast<uint8_t>(level <= 0 ? 0 : level >= 255 ? 255 : level);
    }
  }
}

}  // namespace ox
