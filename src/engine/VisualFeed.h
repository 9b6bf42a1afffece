// The visual feed of a playing track: snapshots of 512 sample frames cut from the delivered blocks
// every 50 ms of audio, each released with its spectrum once playback has reached its time. Pure:
// the playback thread feeds it blocks and the playing position, and posts what it releases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "VisualOutputPlugin.h"

namespace ox {

struct VisualFormat {
  uint32_t sampleRate = 0;
  uint16_t channels = 0, bits = 0;
  uint32_t bytesPerSecond = 0;
};

class VisualFeed {
 public:
  static constexpr int kSlots = 120;
  static constexpr uint32_t kFree = 0xFFFFFFFF;

  explicit VisualFeed(const VisualFormat& format);

  uint32_t Interval() const { return interval_; }  // bytes of 50 ms of audio
  uint32_t Need() const { return need_; }          // bytes of 512 frames

  // A block as delivered (after the level stage) and the stream time of its first byte. A snapshot
  // point whose 512 frames do not fit in the block is dropped and the next block starts with one.
  void Feed(const uint8_t* block, size_t bytes, uint32_t positionMs);
  // Turning the feed off frees every slot; while off, Feed and Step do nothing.
  void SetEnabled(bool enabled);
  // Frees every slot whose time is below the playing position, and gives the latest of them with
  // its spectrum; false when there was none.
  bool Step(uint32_t playingMs, OxVisualSnapshot& released);
  // After a seek: every slot is freed; the next block starts with a snapshot.
  void Reset();

  size_t Pending() const;

 private:
  void Take(const uint8_t* frames, uint32_t timeMs);

  VisualFormat format_;
  uint32_t interval_ = 0, need_ = 0;
  uint64_t carry_ = 0;
  bool enabled_ = true;
  std::vector<OxVisualSnapshot> slots_;
};

// Fills both spectra from the waveforms: 120 x log10 |X_k| of the 512-point transform of the
// waveform / 128 for bins 0..255; a zero magnitude and negative levels give 0, levels above 255
// are held at 255.
void ComputeSpectrum(OxVisualSnapshot& snapshot);

}  // namespace ox
