#include "queue/EqPresetFormat.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

TEST(EqPresetFormat, EqfBandsMapOntoTenSliders_ResetKeepsOnlyTheLayout) {
  EXPECT_EQ(EqfPosition(0), 200);
  EXPECT_EQ(EqfPosition(31), 4);   // 200 - 12400/63 = 200 - 196
  EXPECT_EQ(EqfPosition(32), -3);  // 200 - 203
  EXPECT_EQ(EqfPosition(63), -200);
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

TEST(EqPresetFormat, OeqIsAppendedUnlessTheNameEndsInIt) {
  EXPECT_EQ(PresetFileName("C:\\Presets\\Rock"), "C:\\Presets\\Rock.oeq");
  EXPECT_EQ(PresetFileName("C:\\Presets\\Rock.OEQ"), "C:\\Presets\\Rock.OEQ");
  EXPECT_EQ(PresetFileName("C:\\Presets\\Rock.txt"), "C:\\Presets\\Rock.txt.oeq");
  EXPECT_EQ(PresetFileName("C:\\My.Presets\\Rock"), "C:\\My.Presets\\Rock.oeq");
  EXPECT_TRUE(IsEqfFile("C:\\old\\winamp.EQF"));
  EXPECT_FALSE(IsEqfFile("C:\\old.eqf\\preset"));
}

}  // namespace
}  // namespace ox
