#include "engine/Equaliser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace ox {
namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr uint32_t kRate = 44100;

EqPositions Positions(int32_t preamp = 0, std::vector<int32_t> sliders = {}, uint8_t layout = 0) {
  EqPositions p{};
  p.layout = layout;
  p.preamp = preamp;
  for (size_t i = 0; i < sliders.size() && i < 20; ++i) p.sliders[i] = sliders[i];
  return p;
}

// |H(f)| from the taps themselves: a direct sum, no transform.
double TapResponse(const std::vector<double>& h, double f, double fs) {
  std::complex<double> sum = 0;
  for (int n = 0; n < kEqTaps; ++n) sum += h[n] * std::polar(1.0, -2 * kPi * f * (n - 127) / fs);
  return std::abs(sum);
}

double Db(double ratio) { return 20 * std::log10(ratio); }

// 16-bit mono sine through Process in uneven blocks; the gain measured by a least-squares fit over
// the settled part.
double MeasuredGain(Equaliser& eq, double f, double amplitude = 8000, int bits = 16) {
  const int n = 16384, bytes = bits / 8;
  std::vector<uint8_t> block(size_t(n) * bytes);
  std::vector<double> in(n);
  for (int i = 0; i < n; ++i) {
    in[i] = amplitude * std::sin(2 * kPi * f * i / kRate);
    const int32_t v = int32_t(std::lround(in[i]));
    if (bits == 8) block[i] = uint8_t(v + 128);
    for (int b = 0; bits != 8 && b < bytes; ++b) block[size_t(i) * bytes + b] = uint8_t(v >> (8 * b));
  }
  for (size_t at = 0, step = 1; at < block.size(); step = step * 7 % 3001 + 1) {
    const size_t len = std::min(block.size() - at, step * bytes);
    eq.Process(block.data() + at, len);
    at += len;
  }
  // Output lags the input by 255 (block) + 127 (filter centre) samples.
  double ss = 0, sc = 0;
  const int lag = 255 + 127, from = 2000;
  for (int i = from; i < n; ++i) {
    int32_t v;
    if (bits == 8) v = int32_t(block[i]) - 128;
    else if (bits == 16) v = int16_t(block[size_t(i) * 2] | block[size_t(i) * 2 + 1] << 8);
    else v = int32_t(uint32_t(block[size_t(i) * 3] | block[size_t(i) * 3 + 1] << 8 | block[size_t(i) * 3 + 2] << 16) << 8) >> 8;
    const double phase = 2 * kPi * f * (i - lag) / kRate;
    ss += v * std::sin(phase);
    sc += v * std::cos(phase);
  }
  const double count = n - from;
  return std::hypot(ss, sc) * 2 / count / amplitude;
}

TEST(Equaliser, AllPositionsZeroLeaveTheBlockAlone_PreampMinus100IsSilence) {
  std::vector<int16_t> block(20000);
  for (size_t i = 0; i < block.size(); ++i) block[i] = int16_t(10000 * std::sin(i * 0.05));
  const std::vector<int16_t> copy = block;
  Equaliser flat({2, kRate, 16}, true, Positions());
  EXPECT_TRUE(flat.IsFlat());
  flat.Process(reinterpret_cast<uint8_t*>(block.data()), block.size() * 2);
  EXPECT_EQ(block, copy);
  Equaliser silent({2, kRate, 16}, true, Positions(-100));
  silent.Process(reinterpret_cast<uint8_t*>(block.data()), block.size() * 2);
  EXPECT_EQ(block, std::vector<int16_t>(block.size(), 0));
}

TEST(Equaliser, TwentySlidersDriveTheBandsInOrder_7And14DriveNone) {
  std::vector<int> driven;
  for (int slider = 0; slider < 20; ++slider) {
    std::vector<int32_t> sliders(20, 0);
    sliders[slider] = 100;
    double g[kEqBands];
    EqBandGains(Positions(0, sliders), g);
    for (int band = 0; band < kEqBands; ++band)
      if (g[band] != 1.0) driven.push_back(slider * 100 + band);
  }
  std::vector<int> expected;
  for (int slider = 0, band = 0; slider < 20; ++slider)
    if (slider != 7 && slider != 14) expected.push_back(slider * 100 + band++);
  EXPECT_EQ(driven, expected);
}

TEST(Equaliser, SameGainEverywhereIsFlatWithinATenthOfADecibel) {
  for (int32_t p : {-200, -60, 50, 100}) {
    std::vector<int32_t> all(20, p);
    double g[kEqBands];
    EqBandGains(Positions(0, all), g);
    const std::vector<double> h = EqTaps(g, kRate);
    for (double f = 50; f <= 0.45 * kRate; f *= 1.05)
      ASSERT_LT(std::fabs(Db(TapResponse(h, f, kRate) / g[0])), 0.1) << p << " at " << f;
  }
}

TEST(Equaliser, MeasuredGainEqualsTheTapsResponse_AtEveryBitDepth) {
  const EqPositions shape = Positions(-20, {60, -100, 40, 0, -150, 80, 20, 0, -40, 100, 30, -80, 0, 0, 50, -60, 90, 0, -30, 70});
  double g[kEqBands];
  EqBandGains(shape, g);
  const std::vector<double> h = EqTaps(g, kRate);
  for (double f : {60.0, 150.0, 440.0, 997.0, 2500.0, 6000.0, 9000.0, 13000.0, 18000.0}) {
    Equaliser eq({1, kRate, 16}, true, shape);
    EXPECT_NEAR(Db(MeasuredGain(eq, f)), Db(TapResponse(h, f, kRate)), 0.1) << f;
  }
  for (double f : {200.0, 3000.0, 12000.0}) {  // 8 and 24 bits against 16
    Equaliser e8({1, kRate, 8}, true, shape), e16({1, kRate, 16}, true, shape), e24({1, kRate, 24}, true, shape);
    const double g16 = MeasuredGain(e16, f, 8000, 16);
    EXPECT_NEAR(Db(MeasuredGain(e8, f, 60, 8)), Db(g16), 0.15) << f;  // 8-bit: coarse steps
    EXPECT_NEAR(Db(MeasuredGain(e24, f, 2000000, 24)), Db(g16), 0.02) << f;
  }
}

TEST(Equaliser, WideBandsReachTheirGainAtTheirCentre) {
  // Bands 14 to 17 are several transition widths wide at 44.1 kHz (sliders 16 to 19).
  const double edges[] = {5919.9072, 8372.0186, 11839.8145, 16744.0352, 22050};
  for (int band = 14; band <= 17; ++band) {
    std::vector<int32_t> sliders(20, 0);
    sliders[band + 2] = 100;  // +6 dB in that band only
    double g[kEqBands];
    EqBandGains(Positions(0, sliders), g);
    const double centre = (edges[band - 14] + edges[band - 13]) / 2;
    EXPECT_NEAR(Db(TapResponse(EqTaps(g, kRate), centre, kRate)), Db(2.0), 0.5) << band;
  }
}

TEST(Equaliser, At22050HzTheBandSumStopsAtBand15) {
  std::vector<int32_t> sliders(20, 0);
  double g[kEqBands];
  EqBandGains(Positions(0, sliders), g);
  const std::vector<double> base = EqTaps(g, 22050);
  sliders[18] = sliders[19] = 300;  // bands 16 and 17 lie above 11025 Hz
  EqBandGains(Positions(0, sliders), g);
  EXPECT_EQ(EqTaps(g, 22050), base);
  sliders[17] = 100;  // band 15 covers everything above 8372 Hz
  EqBandGains(Positions(0, sliders), g);
  EXPECT_NEAR(Db(TapResponse(EqTaps(g, 22050), 10000, 22050)), Db(2.0), 0.2);
}

TEST(Equaliser, AnImpulseComesOut255SamplesPlusTheFilterCentreLater) {
  // The same gain in every band makes the taps that gain times a unit impulse at the centre.
  Equaliser eq({1, kRate, 16}, true, Positions(1));  // 1.01 everywhere: not flat
  std::vector<int16_t> block(1000, 0);
  block[0] = 10000;
  eq.Process(reinterpret_cast<uint8_t*>(block.data()), 200);  // 100 samples: none transformed yet
  eq.Process(reinterpret_cast<uint8_t*>(block.data() + 100), (block.size() - 100) * 2);
  for (size_t i = 0; i < block.size(); ++i) ASSERT_NEAR(block[i], i == 255 + 127 ? 10100 : 0, 1) << i;
}

TEST(Equaliser, RedesignMidStreamOnlyChangesTheGain) {
  Equaliser eq({1, kRate, 16}, true, Positions(-50));
  const int n = 20000;
  const double f = 300, amplitude = 6000;
  std::vector<int16_t> block(n);
  for (int i = 0; i < n; ++i) block[i] = int16_t(std::lround(amplitude * std::sin(2 * kPi * f * i / kRate)));
  eq.Process(reinterpret_cast<uint8_t*>(block.data()), 10000 * 2);
  eq.SetPositions(Positions(50));
  eq.Process(reinterpret_cast<uint8_t*>(block.data() + 10000), (n - 10000) * 2);
  // Every output sample is the input (255 + 127 samples earlier) at the old gain, at the new gain,
  // or between the two while the switch passes: nothing else appears at the change.
  const int lag = 255 + 127;
  int oldGain = 0, newGain = 0;
  for (int i = lag; i < n; ++i) {
    const double s = amplitude * std::sin(2 * kPi * f * (i - lag) / kRate);
    const double a = 0.5 * s, b = 1.5 * s;
    ASSERT_GE(block[i], std::min(a, b) - 3) << i;
    ASSERT_LE(block[i], std::max(a, b) + 3) << i;
    if (std::fabs(block[i] - a) <= 3 && std::fabs(s) > 100) ++oldGain;
    if (std::fabs(block[i] - b) <= 3 && std::fabs(s) > 100) ++newGain;
  }
  EXPECT_GT(oldGain, 8000);  // before the switch
  EXPECT_GT(newGain, 8000);  // after it
}

TEST(Equaliser, CurveFollowsTheSlidersAndIsSmoothed) {
  std::vector<int32_t> level(20, 40);
  for (float v : EqCurve(Positions(0, level, 1), 300)) ASSERT_NEAR(v, 40, 1e-3);
  const std::vector<float> step = EqCurve(Positions(0, {0, 0, 0, 0, 0, 900, 900, 900, 900, 900}, 1), 300);
  for (size_t x = 1; x < step.size(); ++x) ASSERT_GE(step[x], step[x - 1] - 1e-3);
  for (float v : step) ASSERT_LE(v, 200.0f);
  EXPECT_EQ(EqCurve(Positions(0, level, 1), 5), std::vector<float>(5, 40.0f));  // fewer points than sliders
  EXPECT_TRUE(EqCurve(Positions(), 0).empty());
}

}  // namespace
}  // namespace ox
