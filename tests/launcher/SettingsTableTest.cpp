#include "core/SettingsTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace ox {
namespace {

TEST(SettingsTable, EachValueOnceWithItsDefaultInItsRange) {
  std::set<std::pair<int, std::string>> seen;
  for (const Setting* s : AllSettings()) {
    SCOPED_TRACE(s->name);
    EXPECT_TRUE(seen.insert({static_cast<int>(s->place), s->name}).second) << "named twice";
    if (s->kind == SettingKind::Number || s->kind == SettingKind::SignedNumber) {
      EXPECT_LE(s->min, s->defaultValue);
      EXPECT_LE(s->defaultValue, s->max);
      EXPECT_EQ(ShownNumber(*s, StoredNumber(*s, s->defaultValue)), s->defaultValue);
    } else {
      EXPECT_GT(s->size, 0u);
    }
  }
}

TEST(SettingsTable, StoredNumbersShowInTheirKindHeldToTheRange) {
  const struct {
    const Setting& s;
    uint32_t stored;
    int64_t shown;
  } cases[] = {
      {setting::ReplayGainPreamp, 0xFFFFFFF1u, -15},  // two's complement
      {setting::ReplayGainPreamp, 0xFFFFF000u, -150},
      {setting::ReplayGainPreamp, 400, 150},
      {setting::ReplayGainMode, 9, 3},
      {setting::CrossFadeLengthSec, 0, 1},
      {setting::VisualHide, 0xFFFFFFFFu, 0xFFFFFFFFll},  // unsigned, not -1
      {setting::Key, 0x1427, 0x7FF},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShownNumber(c.s, c.stored), c.shown) << c.s.name << " " << c.stored;
    EXPECT_EQ(ShownNumber(c.s, StoredNumber(c.s, c.shown)), c.shown) << c.s.name;
  }
  EXPECT_EQ(StoredNumber(setting::ReplayGainPreamp, -15), 0xFFFFFFF1u);
}

TEST(SettingsTable, NamesAndKeysOfTheFamilies) {
  EXPECT_EQ(SettingName(setting::Key, "16"), "Key16");
  EXPECT_EQ(SettingKey(setting::Key), "Software\\Quillmarsh\\Orlavox\\Orp-KeyControl");
  EXPECT_EQ(SettingName(setting::SkinExcluded, "Strip"), "Strip");
  EXPECT_EQ(SettingName(setting::VisualShowing, "Vis"), "Vis-Showing");
  EXPECT_EQ(SettingKey(setting::VisualHide, "Spectrum.dll"), "Software\\Quillmarsh\\Orlavox\\Spectrum.dll");
  EXPECT_EQ(SettingKey(setting::UserEvent, "Software\\X"), "Software\\X");
}

// Only the table spells a value's name: no registry helper is called with a quoted name.
TEST(SettingsTable, NoProgramSpellsAValueNameItself) {
  const char* const spelled[] = {"GetNumberSetting(\"", "SetNumberSetting(\"", "GetTextSetting(\"", "SetTextSetting(\"",
                                 "GetBytesSetting(\"",  "SetBytesSetting(\"",  "SettingExists(\"",  "DeleteSetting(\""};
  for (const char* folder : {"src", "plugins"}) {
    for (const auto& file : std::filesystem::recursive_directory_iterator(std::string(OX_SOURCE_DIR) + "/" + folder)) {
      if (!file.is_regular_file()) continue;
      std::ifstream in(file.path());
      std::stringstream text;
      text << in.rdbuf();
      for (const char* call : spelled)
        EXPECT_EQ(text.str().find(call), std::string::npos) << file.path() << " " << call;
    }
  }
}

}  // namespace
}  // namespace ox
