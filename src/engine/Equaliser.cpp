#include "engine/Equaliser.h"

#include <cmath>
#include <cstring>

#include "engine/RealFft.h"

namespace ox {

namespace {

constexpr int kN = fft::kSize;  // 512
constexpr int kHalfTaps = kEqTaps / 2;  // 127
constexpr double kPi = 3.14159265358979323846;
constexpr double kEdges[kEqBands - 1] = {65.4064,   92.4986,   130.8128,  184.9972,  261.6256,  369.9944,
                                         523.2512,  739.9884,  1046.5023, 1479.9768, 2093.0044, 2959.9536,
                                         4186.0093, 5919.9072, 8372.0186, 11839.8145, 16744.0352};
constexpr int kTwentySliders[kEqBands] = {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 19};
constexpr int kTenSliders[kEqBands] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4, 5, 5, 6, 6, 7, 8, 9};

double Gain(int32_t p) { return p == 0 ? 1.0 : p > 0 ? 1.0 + p / 100.0 : std::pow(10.0, p / 400.0); }

// Kaiser window: beta for 96 dB, and I0 from its series with the factorials 0! to 15!.
double KaiserBeta(double attenuation) {
  if (attenuation <= 21) return 0;
  if (attenuation <= 50) return 0.5842 * std::pow(attenuation - 21, 0.4) + 0.07886 * (attenuation - 21);
  return 0.1102 * (attenuation - 8.7);
}

double I0(double x) {
  double sum = 1, factorial = 1;
  for (int m = 1; m <= 15; ++m) {
    factorial *= m;
    const double term = std::pow(x / 2, m) / factorial;
    sum += term * term;
  }
  return sum;
}

double LowPass(int n, double f, double fs) {
  const double x = 2 * kPi * f * n / fs;
  return 2 * f / fs * (n == 0 ? 1.0 : std::sin(x) / x);
}

template <typename Sample>
struct Codec;  // how one sample is read from and written to a block

struct U8 {};
struct S16 {};
struct S24 {};

template <>
struct Codec<U8> {
  static constexpr int kBytes = 1, kBits = 8;
  static int32_t Get(const uint8_t* p) { return int32_t{p[0]} - 128; }
  static void Put(uint8_t* p, int32_t v) { p[0] = static_cast<uint8_t>(v + 128); }
};
template <>
struct Codec<S16> {
  static constexpr int kBytes = 2, kBits = 16;
  static int32_t Get(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }
  static void Put(uint8_t* p, int32_t v) { p[0] = static_cast<uint8_t>(v), p[1] = static_cast<uint8_t>(v >> 8); }
};
template <>
struct Codec<S24> {
  static constexpr int kBytes = 3, kBits = 24;
  static int32_t Get(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16) << 8) >> 8;
  }
  static void Put(uint8_t* p, int32_t v) {
    p[0] = static_cast<uint8_t>(v), p[1] = static_cast<uint8_t>(v >> 8), p[2] = static_cast<uint8_t>(v >> 16);
  }
};

// Rounds half away from zero into lo..hi, without branches (this runs for every sample). NaN,
// from absurd positions, ends at one of the limits.
inline int32_t RoundClamp(float v, float lo, float hi) {
  v = v == v ? v : lo;  // NaN
  v = v < lo ? lo : v;
  v = v > hi ? hi : v;
  return static_cast<int32_t>(v + (v < 0 ? -0.5f : 0.5f));
}

}  // namespace

void EqBandGains(const EqPositions& p, double gains[kEqBands]) {
  const int* slider = p.layout == 0 ? kTwentySliders : kTenSliders;
  const double preamp = (double(p.preamp) + 100) * 0.01;
  for (int k = 0; k < kEqBands; ++k) gains[k] = Gain(p.sliders[slider[k]]) * preamp;
}

std::vector<double> EqTaps(const double g[kEqBands], uint32_t sampleRate) {
  const double fs = sampleRate, beta = KaiserBeta(96), i0Beta = I0(beta);
  // m: the first band whose upper edge reaches fs / 2 (band 17's edge is fs itself).
  int m = kEqBands - 1;
  for (int k = 0; k < kEqBands - 1; ++k)
    if (kEdges[k] >= fs / 2) {
      m = k;
      break;
    }
  std::vector<double> h(kEqTaps);
  for (int n = -kHalfTaps; n <= kHalfTaps; ++n) {
    double b;
    if (m == 0) {
      b = g[0] * (n == 0 ? 1.0 : 0.0);
    } else {
      b = g[0] * LowPass(n, kEdges[0], fs);
      for (int k = 1; k < m; ++k) b += g[k] * (LowPass(n, kEdges[k], fs) - LowPass(n, kEdges[k - 1], fs));
      b += g[m] * ((n == 0 ? 1.0 : 0.0) - LowPass(n, kEdges[m - 1], fs));
    }
    const double r = 1.0 - 4.0 * n * n / (254.0 * 254.0);
    const double w = I0(beta * std::sqrt(r > 0 ? r : 0)) / i0Beta;
    h[n + kHalfTaps] = w * b;
  }
  return h;
}

Equaliser::Equaliser(const AudioFormat& format, bool enabled, const EqPositions& positions)
    : format_(format), enabled_(enabled), positions_(positions) {
  const int b = format.bitsPerSample;
  usable_ = format.channels >= 1 && format.channels <= 32 && format.sampleRate > 0 && (b == 8 || b == 16 || b == 24);
  for (auto& set : response_)
    for (auto& table : set) table.assign(2 * fft::kBins, 0.0f);
  if (usable_) {
    input_.assign(size_t{format.channels} * kEqTaps, 0);
    output_.assign(size_t{format.channels} * kN, 0.0f);
  }
  Design();
  // The first design is what plays from the start.
  if (pending_) active_ = pending_ - 1, pending_ = 0;
}

void Equaliser::SetPositions(const EqPositions& positions) {
  positions_ = positions;
  Design();
}

void Equaliser::Design() {
  if (format_.sampleRate == 0) return;
  double g[kEqBands];
  EqBandGains(positions_, g);
  flat_ = true;
  for (double gain : g) flat_ = flat_ && gain == 1.0;
  const std::vector<double> h = EqTaps(g, format_.sampleRate);
  const int target = 1 - active_;
  std::vector<float> taps(kN, 0.0f);
  for (int i = 0; i < kEqTaps; ++i) taps[i] = static_cast<float>(h[i]);
  for (std::vector<float>& table : response_[target])  // every channel gets the same gains
    fft::ForwardSplitHalf(taps.data(), table.data(), table.data() + fft::kBins);
  pending_ = target + 1;
}

void Equaliser::Filter(int channel) {
  const float* response = response_[active_][channel == 0 ? 0 : 1].data();
  fft::Filter(input_.data() + static_cast<size_t>(channel) * kEqTaps, response, response + fft::kBins,
              output_.data() + static_cast<size_t>(channel) * kN);
}

template <typename Sample>
void Equaliser::Run(uint8_t* block, size_t frames) {
  using C = Codec<Sample>;
  const int channels = format_.channels;
  const float lo = -float(1 << (C::kBits - 1)), hi = float((1 << (C::kBits - 1)) - 1);
  // Each sample goes into the input store and leaves with the output store's value at its place.
  // Channel by channel, so each store is walked in order and the loop vectorises.
  auto exchange = [&](uint8_t* first, size_t count) {  // count frames from `first`, store slot fill_ on
    const size_t stride = static_cast<size_t>(channels) * C::kBytes;
    for (int c = 0; c < channels; ++c) {
      int32_t* __restrict in = input_.data() + static_cast<size_t>(c) * kEqTaps + fill_;
      const float* __restrict out = output_.data() + static_cast<size_t>(c) * kN + fill_;
      uint8_t* at = first + static_cast<size_t>(c) * C::kBytes;
      for (size_t i = 0; i < count; ++i, at += stride) {
        in[i] = C::Get(at);
        C::Put(at, RoundClamp(out[i], lo, hi));
      }
    }
  };
  while (frames > 0) {
    const size_t room = static_cast<size_t>(kEqTaps - fill_);
    if (frames < room) {
      exchange(block, frames);
      fill_ += static_cast<int>(frames);
      return;
    }
    exchange(block, room);
    block += room * channels * C::kBytes;
    frames -= room;
    for (int c = 0; c < channels; ++c) {
      float* out = output_.data() + static_cast<size_t>(c) * kN;
      std::memmove(out, out + kEqTaps, sizeof(float) * (kN - kEqTaps));
    }
    for (int c = 0; c < channels; ++c) Filter(c);
    fill_ = 0;
  }
}

void Equaliser::Process(uint8_t* block, size_t bytes) {
  if (pending_) active_ = pending_ - 1, pending_ = 0;
  if (!enabled_ || flat_ || !usable_ || !block) return;
  const size_t frameBytes = size_t{format_.channels} * (format_.bitsPerSample / 8);
  const size_t frames = bytes / frameBytes;
  switch (format_.bitsPerSample) {
    case 8: Run<U8>(block, frames); break;
    case 16: Run<S16>(block, frames); break;
    case 24: Run<S24>(block, frames); break;
  }
}

std::vector<float> EqCurve(const EqPositions& positions, int width) {
  if (width <= 0) return {};
  std::vector<float> out(width);
  const bool ten = positions.layout != 0;
  const int segments = ten ? 9 : 19, last = segments - 1;
  const int d = width / segments;
  for (int x = 0; x < width; ++x) {
    int s = segments * x / width;
    if (s > last) s = last;
    int t = x;
    if (d > 0)
      while (t > d) t -= d;
    const float p0 = float(positions.sliders[s]), p1 = float(positions.sliders[s + 1]);
    out[x] = d > 0 ? p0 + (p1 - p0) * t / d : p0;
  }
  // Running mean over h points each side, left to right in place; below 15 points there is no
  // mean, and the straight segments stay.
  const int h = width / 15;
  for (int x = h; h > 0 && x < width; ++x) {
    float sum = 0;
    int terms = 0;
    for (int k = 0; k < h; ++k) {
      sum += out[x - k];
      ++terms;
      if (x + k < width) sum += out[x + k], ++terms;
    }
    float mean = sum / terms;
    out[x] = mean < -200 ? -200 : mean > 200 ? 200 : mean;
  }
  return out;
}

}  // namespace ox
