// Equaliser presets through the real dialogs and files, and the shared positions block.
#include "ui/EqPresets.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <thread>
#include <vector>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"

namespace ox {
namespace {

EqPositions Current() { return oxtest::Value<EqPositions>(block::OxEqPositions); }

// A record with every byte set, also those nothing interprets; the positions within their ranges.
EqPositions Shaped() {
  EqPositions p;
  uint8_t* bytes = reinterpret_cast<uint8_t*>(&p);
  for (size_t i = 0; i < sizeof p; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 1);
  p.layout = 1;
  p.preamp = -35;
  for (int i = 0; i < 20; ++i) p.sliders[i] = i * 20 - 190;
  return p;
}

// The save dialog's question whether to replace a file: a box of the same title without a name field.
HWND ReplacePrompt(const char* title) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", title); w; w = FindWindowExA(nullptr, w, "#32770", title))
    if (!GetDlgItem(w, 1148) && !GetDlgItem(w, 1152)) return w;
  return nullptr;
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

TEST_F(EqPresetsTest, SavedUnderANameWithoutExtension_AskedBeforeReplacing_LoadedBackWhole) {
  constexpr char kSave[] = "Save Graphic Equalizer Settings";
  auto answerNo = [&] {
    HWND prompt = nullptr;
    EXPECT_TRUE(oxtest::WaitFor([&] { return (prompt = ReplacePrompt(kSave)) != nullptr; }, 5000));
    if (prompt) PostMessageA(prompt, WM_COMMAND, IDNO, 0);
  };
  std::thread save(SaveEqPreset);
  EXPECT_TRUE(oxtest::AnswerFileDialog(kSave, "Warm"));
  save.join();
  const std::vector<uint8_t> saved = oxtest::ReadWholeFile(folder_ / "Warm.oeq");
  EXPECT_EQ(saved.size(), sizeof(EqPositions));

  // The same name again: the dialog asks about "Warm.oeq"; No, then Cancel, keeps the file.
  block::OxEqPositions.WriteValue(EqPositions{});
  std::thread again(SaveEqPreset);
  EXPECT_TRUE(oxtest::AnswerFileDialog(kSave, "Warm"));
  answerNo();
  HWND dialog = nullptr;
  oxtest::WaitFor([&] { return !ReplacePrompt(kSave) && (dialog = FindWindowA("#32770", kSave)) != nullptr; }, 3000);
  if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  again.join();
  EXPECT_EQ(oxtest::ReadWholeFile(folder_ / "Warm.oeq"), saved);
  // A name with another extension gets ".oeq" behind it, and that file is asked about too.
  oxtest::WriteWholeFile(folder_ / "Warm.txt.oeq", "kept");
  std::thread other(SaveEqPreset);
  EXPECT_TRUE(oxtest::AnswerFileDialog(kSave, "Warm.txt"));
  answerNo();
  other.join();
  EXPECT_EQ(oxtest::ReadText(folder_ / "Warm.txt.oeq"), "kept");

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
  ASSERT_TRUE(LoadEqPresetFile(folder_ / "one.EQF"));  // the bands' mapping: the format tests
  EXPECT_EQ(Current().sliders[9], 200);  // from the byte 0
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

  // An ".oeq" made by hand with positions no slider reaches loads clamped.
  EqPositions crafted = Shaped();
  crafted.layout = 9;
  crafted.sliders[3] = -5000;
  oxtest::WriteWholeFile(folder_ / "crafted.oeq", std::string(reinterpret_cast<const char*>(&crafted), sizeof crafted));
  ASSERT_TRUE(LoadEqPresetFile(folder_ / "crafted.oeq"));
  EXPECT_EQ(Current().layout, 1);
  EXPECT_EQ(Current().sliders[3], -200);

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
