#include "engine/RealFft.h"

#include "engine/RealFftKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <random>
#include <vector>

namespace ox::fft {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<float> RandomSignal(unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> u(-1, 1);
  std::vector<float> x(kSize);
  for (float& v : x) v = u(gen);
  return x;
}

// The packed forward transform by its definition, in double.
std::vector<double> NaiveForward(const std::vector<float>& x) {
  std::vector<double> out(kSize);
  for (int k = 0; k <= kSize / 2; ++k) {
    double re = 0, im = 0;
    for (int j = 0; j < kSize; ++j) {
      const double a = 2 * kPi * double(j) * k / kSize;
      re += x[j] * std::cos(a);
      im += x[j] * std::sin(a);
    }
    if (k == 0) out[0] = re;
    else if (k == kSize / 2) out[1] = re;
    else out[2 * k] = re, out[2 * k + 1] = im;
  }
  return out;
}

double MaxAbs(const std::vector<double>& v) {
  double m = 0;
  for (double x : v) m = std::max(m, std::fabs(x));
  return m;
}

// Both builds of the kernels: SSE2 everywhere, AVX2 where this CPU has it.
std::vector<const Kernels*> AllKernels() {
  std::vector<const Kernels*> all{&SseKernels()};
  if (CpuHasAvx2()) all.push_back(&Avx2Kernels());
  return all;
}

TEST(RealFft, ForwardMatchesTheDefinition) {
  for (const Kernels* k : AllKernels())
    for (unsigned seed : {1u, 2u, 3u}) {
      std::vector<float> x = RandomSignal(seed), half = x;
      std::fill(half.begin() + kSize / 2, half.end(), 0.0f);
      const std::vector<double> expected = NaiveForward(x), expectedHalf = NaiveForward(half);
      k->forward(x.data());
      std::vector<float> re(kBins), im(kBins);
      k->forwardSplitHalf(half.data(), re.data(), im.data());  // reads only the first half
      double worst = 0, worstHalf = 0;
      for (int i = 0; i < kSize; ++i) worst = std::max(worst, std::fabs(x[i] - expected[i]));
      for (int b = 1; b < kSize / 2; ++b)
        worstHalf = std::max({worstHalf, std::fabs(re[b] - expectedHalf[2 * b]), std::fabs(im[b] - expectedHalf[2 * b + 1])});
      EXPECT_LT(worst / MaxAbs(expected), 1e-5) << seed;
      EXPECT_LT(worstHalf / MaxAbs(expectedHalf), 1e-5) << seed;
    }
  // A single cosine lands in its one bin.
  std::vector<float> c(kSize);
  for (int j = 0; j < kSize; ++j) c[j] = float(std::cos(2 * kPi * 5 * j / kSize));
  Forward(c.data());
  EXPECT_NEAR(c[10], 256.0f, 1e-3);
  EXPECT_NEAR(c[11], 0.0f, 1e-3);
}

TEST(RealFft, BackwardOfForwardIs256Times) {
  const std::vector<float> x = RandomSignal(7);
  for (const Kernels* k : AllKernels()) {
    std::vector<float> y = x;
    k->forward(y.data());
    k->backward(y.data());
    for (int i = 0; i < kSize; ++i) ASSERT_NEAR(y[i], 256 * x[i], 256 * 1e-5) << i;
  }
}

// The equaliser's overlap-add step against a direct convolution, in every build of the kernels.
TEST(RealFft, FilterIsALinearConvolutionAddedIntoTheStore) {
  std::mt19937 gen(5);
  std::uniform_int_distribution<int> sample(-30000, 30000);
  std::vector<int32_t> in(255);
  for (int32_t& v : in) v = sample(gen);
  std::vector<float> taps(kSize, 0.0f);
  for (int i = 0; i < 255; ++i) taps[i] = float(std::sin(i * 0.1) * std::exp(-i / 60.0));
  std::vector<float> hr(kBins), hi(kBins);
  ForwardSplitHalf(taps.data(), hr.data(), hi.data());
  std::vector<double> direct(kSize, 0.0);
  for (int n = 0; n < kSize; ++n)
    for (int k = 0; k < 255; ++k)
      if (n - k >= 0 && n - k < 255) direct[n] += double(taps[k]) * in[n - k];
  for (const Kernels* k : AllKernels()) {
    std::vector<float> out(kSize, 1.0f);  // the first 255 places are added to, the rest set
    k->filter(in.data(), hr.data(), hi.data(), out.data());
    for (int n = 0; n < kSize; ++n) ASSERT_NEAR(out[n], direct[n] + (n < 255 ? 1.0 : 0.0), 0.5) << n;
  }
}

}  // namespace
}  // namespace ox::fft
