// The 18-band graphic equaliser: the user's slider positions become one 255-tap linear-phase FIR
// filter (ideal band-pass sum on half-octave edges, Kaiser window for 96 dB), run over every block
// by 512-point FFT overlap-add. A new design takes over at the start of the next block, so the
// sound never stops. The output runs 255 samples per channel behind the input. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/SharedRecords.h"

namespace ox {

struct AudioFormat {
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint16_t bitsPerSample = 0;
};

constexpr int kEqBands = 18;
constexpr int kEqTaps = 255;

// Band gains (linear) of a positions record.
void EqBandGains(const EqPositions& positions, double gains[kEqBands]);

// The 255 taps of the design for these gains at this sample rate, n = -127..127 at index n + 127.
std::vector<double> EqTaps(const double gains[kEqBands], uint32_t sampleRate);

class Equaliser {
 public:
  Equaliser(const AudioFormat& format, bool enabled, const EqPositions& positions);

  void SetEnabled(bool enabled) { enabled_ = enabled; }
  // Designs anew for these positions; the new response takes over at the next Process.
  void SetPositions(const EqPositions& positions);
  // Filters a block of interleaved samples in place (8-bit unsigned, 16- or 24-bit signed
  // little-endian) when enabled and not flat. A partial sample frame at the end is left alone.
  void Process(uint8_t* block, size_t bytes);

  bool IsFlat() const { return flat_; }
  bool IsEnabled() const { return enabled_; }

 private:
  void Design();
  void Filter(int channel);
  template <typename Sample>
  void Run(uint8_t* block, size_t frames);

  AudioFormat format_;
  bool enabled_;
  bool flat_ = true;
  bool usable_;  // a format the equaliser can work on
  EqPositions positions_;
  // Response tables, the transform of the taps in split form (real parts, then imaginary parts):
  // [set][0: channel 0, 1: the other channels].
  std::vector<float> response_[2][2];
  int active_ = 0;
  int pending_ = 0;  // set to switch to + 1; 0: none
  std::vector<int32_t> input_;    // 255 samples per channel, channel after channel
  std::vector<float> output_;     // 512 values per channel, channel after channel
  int fill_ = 0;                  // samples per channel in the input store
};

// The equaliser curve the player window draws over its sliders: width points, smoothed.
std::vector<float> EqCurve(const EqPositions& positions, int width);

}  // namespace ox
