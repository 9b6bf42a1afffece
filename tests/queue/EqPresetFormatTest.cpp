#include "queue/EqPresetFormat.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace ox {
namespace {

TEST(EqPresetFormat, EqfBandsMapOntoTenSliders_ResetKeepsOnlyTheLayout) {
  // 31: 200 - 12400/63 = 200 - 196; 32: 200 - 203.
  for (const auto& [eqf, position] : {std::pair{0, 200}, {31, 4}, {32, -3}, {63, -200}})
    EXPECT_EQ(EqfPosition(eqf), position) << eqf;
  uint8_t preset[kEqfPresetBytes];
  for (int i = 0; i < 11; ++i) preset[i] = static_cast<uint8_t>(i * 6);
  const EqPositions p = EqPositionsFromEqf(preset);
  EXPECT_EQ(p.layout, 1);
  for (int band = 0; band < 10; ++band) EXPECT_EQ(p.sliders[band], EqfPosition(preset[band])) << band;
  for (int band = 10; band < 20; ++band) EXPECT_EQ(p.sliders[band], 0) << band;
  EXPECT_EQ(p.preamp, EqfPosition(60));

  EqPositions shaped = p;
  shaped.layout = 7;
  shaped.unused1[1] = 9;
  const EqPositions flat = FlatEqPositions(shaped);
  EXPECT_EQ(flat.layout, 7);
  EXPECT_EQ(flat.unused1[1], 0);
  EXPECT_EQ(flat.preamp, 0);
  EXPECT_EQ(flat.sliders[3], 0);
}

// A loaded record is held to what the sliders show; the bytes nothing interprets stay.
TEST(EqPresetFormat, LoadedPositionsAreClampedToTheSliderRanges) {
  const struct {
    uint8_t layout;
    int32_t preamp, band;
    uint8_t wantLayout;
    int32_t wantPreamp, wantBand;
  } cases[] = {
      {0, 0, 0, 0, 0, 0},
      {1, -100, -200, 1, -100, -200},
      {1, 100, 200, 1, 100, 200},
      {2, 201, 201, 1, 200, 200},
      {255, -201, -201, 1, -200, -200},
      {0, INT32_MAX, INT32_MIN, 0, 200, -200},
      {1, 200, EqfPosition(255), 1, 200, -200},  // an ".eqf" with bytes past 63
  };
  for (const auto& c : cases) {
    EqPositions p{};
    p.layout = c.layout;
    p.unused1[2] = 0xA5;
    p.preamp = c.preamp;
    for (int32_t& band : p.sliders) band = c.band;
    p.sliders[7] = 35;
    const EqPositions in = EqPositionsInRange(p);
    EXPECT_EQ(in.layout, c.wantLayout) << int(c.layout);
    EXPECT_EQ(in.preamp, c.wantPreamp) << c.preamp;
    EXPECT_EQ(in.sliders[0], c.wantBand) << c.band;
    EXPECT_EQ(in.sliders[19], c.wantBand) << c.band;
    EXPECT_EQ(in.sliders[7], 35);
    EXPECT_EQ(in.unused1[2], 0xA5);
  }
}

// The name written is the one the save dialog (default extension "oeq") checked for overwriting.
TEST(EqPresetFormat, OeqIsAppendedToANameWithoutExtension) {
  EXPECT_EQ(PresetFileName("C:\\Presets\\Rock"), "C:\\Presets\\Rock.oeq");
  EXPECT_EQ(PresetFileName("C:\\Presets\\Rock.OEQ"), "C:\\Presets\\Rock.OEQ");
  EXPECT_EQ(PresetFileName("C:\\Presets\\Rock.txt"), "C:\\Presets\\Rock.txt.oeq");
  EXPECT_EQ(PresetFileName("C:\\My.Presets\\Rock"), "C:\\My.Presets\\Rock.oeq");
  EXPECT_TRUE(IsEqfFile("C:\\old\\winamp.EQF"));
  EXPECT_FALSE(IsEqfFile("C:\\old.eqf\\preset"));
}

}  // namespace
}  // namespace ox
