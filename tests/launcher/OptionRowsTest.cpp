#include "launcher/OptionRows.h"

#include <gtest/gtest.h>

#include "RowOf.h"

namespace ox {
namespace {

TEST(OptionRows, TypedTextBecomesAValueInRange_OrIsRefused) {
  const struct {
    const Setting& s;
    const char* typed;
    std::optional<int64_t> value;
    const char* shown;  // as the field shows the value again
  } cases[] = {
      {setting::ReplayGainPreamp, "-1.5", -15, "-1.5"}, {setting::ReplayGainPreamp, " +2 dB", 20, "2.0"},
      {setting::ReplayGainPreamp, ".5", 5, "0.5"},      {setting::ReplayGainPreamp, "-0.3", -3, "-0.3"},
      {setting::ReplayGainPreamp, "99", 150, "15.0"},   {setting::ReplayGainPreamp, "1.25", {}, ""},
      {setting::ReplayGainPreamp, "-", {}, ""},         {setting::ReplayGainPreamp, "1e3", {}, ""},
      {setting::CrossFadeLengthSec, "12", 12, "12"},    {setting::CrossFadeLengthSec, "0", 1, "1"},
      {setting::CrossFadeLengthSec, "-3", {}, ""},      {setting::CrossFadeLengthSec, "", {}, ""},
      {setting::FWScheduleEvery, "45", 45, "45"},       {setting::FWScheduleEvery, "0", 1, "1"},
      {setting::FWScheduleEvery, "9999999999", {}, ""},
  };
  for (const auto& c : cases) {
    const OptionRow& row = RowOf(c.s);
    EXPECT_EQ(ParseRowText(row, c.typed), c.value) << c.s.name << " '" << c.typed << "'";
    if (c.value) {
      EXPECT_EQ(RowText(row, *c.value), c.shown) << c.s.name;
    }
  }
}

TEST(OptionRows, CheckBoxesShowTheirSettingsMeaning_NumbersHeldToTheRange) {
  const struct {
    const Setting& s;
    uint32_t stored;
    int64_t shown;
    uint32_t storedBack;
  } cases[] = {
      {setting::OxPlayDown, 0, 1, 0},  // "play when the player starts" is on while the value is 0
      {setting::OxPlayDown, 7, 0, 1},
      {setting::CrossFadeOn, 5, 1, 1},
      {setting::ReplayGainMode, 9, 3, 3},  // the number rows: the settings table's conversions
  };
  for (const auto& c : cases) {
    const OptionRow& row = RowOf(c.s);
    EXPECT_EQ(ShownValue(row, c.stored), c.shown) << c.s.name;
    EXPECT_EQ(StoredValue(row, c.shown), c.storedBack) << c.s.name;
  }
}

TEST(OptionRows, EveryPageSaysWhenItsChangesApply) {
  for (const OptionPage& page : OptionPages()) {
    const std::string note = TakesNote(page);
    for (const OptionRow& row : page.rows) EXPECT_NE(note.find(row.label), std::string::npos) << row.label;
  }
  EXPECT_EQ(TakesNote(OptionPages()[0]),
            "At once: Active skin.\nThe next time the player uses it: Minutes between random skins.\n"
            "When the player starts next: Random skin.");
}

}  // namespace
}  // namespace ox
