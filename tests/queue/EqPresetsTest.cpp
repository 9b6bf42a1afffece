// Equaliser presets through the real dialogs and files, and the shared positions block.
#include "queue/EqPresets.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <thread>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"

namespace ox {
namespace {

EqPositions Current() { return oxtest::Value<EqPositions>(block::OxEqPositions); }

// A record with every byte set, also those nothing interprets.
EqPositions Shaped() {
  EqPositions p;
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&p);
  for (size_t i = 0; i < sizeof p; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 1);
  return p;
}

bool Same(const EqPositions& a, const EqPositions& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class EqPresetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTextSetting(folder_.Path().c_str(), "LastAccessedFolderEq");
    block::OxEqPositions.WriteValue(Shaped());
    evt::OxEqPosChanged.Reset();
  }
  void TearDown() override { DeleteSetting("LastAccessedFolderEq"); }
  oxtest::ScratchFolder folder_;
};

TEST_F(EqPresetsTest, SavedUnderANameWithoutExtension_LoadedBackWhole) {
  std::thread save(SaveEqPreset);
  EXPECT_TRUE(oxtest::AnswerFileDialog("Save Graphic Equalizer Settings", "Warm"));
  save.join();
  EXPECT_EQ(oxtest::ReadWholeFile(folder_ / "Warm.oeq").size(), sizeof(EqPositions));

  block::OxEqPositions.WriteValue(EqPositions{});
  SetTextSetting("C:\\", "LastAccessedFolderEq");
  std::thread load(LoadEqPreset);
  EXPECT_TRUE(oxtest::AnswerFileDialog("Load Stored Graphic Equalizer Settings", folder_ / "Warm.oeq"));
  load.join();
  EXPECT_TRUE(Same(Current(), Shaped()));
  EXPECT_TRUE(evt::OxEqPosChanged.IsSet());
  EXPECT_EQ(GetTextSetting("LastAccessedFolderEq"), folder_.Path());  // the chosen file's folder

  DeleteSetting("LastAccessedFolderEq");
  EXPECT_EQ(EqPresetFolder(), InstallFolder(false) + "Equalizer-Presets\\");
}

TEST_F(EqPresetsTest, EqfLibrariesGiveTheirLastPreset_ShortFilesChangeNothing) {
  // A one-preset file of 299 bytes (header and name before the 11 bytes) with every value 0, and
  // a library of two whose last preset is all 63.
  std::string one(288, 'h');
  one += std::string(11, '\0');
  oxtest::WriteWholeFile(folder_ / "one.EQF", one);
  ASSERT_TRUE(LoadEqPresetFile(folder_ / "one.EQF"));
  EqPositions p = Current();
  EXPECT_EQ(p.layout, 1);
  EXPECT_EQ(p.preamp, 200);
  EXPECT_EQ(p.sliders[0], 200);
  EXPECT_EQ(p.sliders[9], 200);
  EXPECT_EQ(p.sliders[10], 0);
  EXPECT_EQ(p.unused1[0], 0);
  oxtest::WriteWholeFile(folder_ / "library.eqf", one + std::string(257, 'n') + std::string(11, '\x3F'));
  ASSERT_TRUE(LoadEqPresetFile(folder_ / "library.eqf"));
  EXPECT_EQ(Current().sliders[4], -200);

  block::OxEqPositions.WriteValue(Shaped());
  evt::OxEqPosChanged.Reset();
  oxtest::WriteWholeFile(folder_ / "ten.eqf", std::string(10, '\0'));
  oxtest::WriteWholeFile(folder_ / "short.oeq", std::string(87, '\0'));
  for (const char* name : {"ten.eqf", "short.oeq", "missing.oeq"}) EXPECT_FALSE(LoadEqPresetFile(folder_ / name)) << name;
  EXPECT_TRUE(Same(Current(), Shaped()));
  EXPECT_FALSE(evt::OxEqPosChanged.IsSet());

  ResetEqualiser();
  EqPositions flat{};
  flat.layout = Shaped().layout;
  EXPECT_TRUE(Same(Current(), flat));
  EXPECT_TRUE(evt::OxEqPosChanged.IsSet());
}

TEST_F(EqPresetsTest, ShippedPresetsLoad) {
  const std::string shipped = oxtest::ExecutableFolder() + "..\\dist\\Equalizer-Presets\\";
  for (const char* name : {"Flat", "Bass Boost", "Treble Boost", "Vocal Presence", "Loudness"}) {
    ASSERT_TRUE(LoadEqPresetFile(shipped + name + ".oeq")) << name;
    EXPECT_EQ(Current().layout, 0) << name;
  }
  EXPECT_EQ(Current().preamp, -35);  // Loudness lowers the preamp for its boosts
}

}  // namespace
}  // namespace ox
