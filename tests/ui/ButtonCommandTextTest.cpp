#include <gtest/gtest.h>

#include "ui/ButtonCommands.h"

namespace ox {
namespace {

// What a button's command shows as its tooltip, whether it names an event, whether it opens a dialog.
TEST(ButtonCommands, DefaultTooltipsWhatNamesAnEventWhatOpensADialog) {
  const struct {
    const char* command;
    const char* tooltip;
    bool event, dialog;
  } cases[] = {
      {"<PrevPlayed>", "Skip Back [Right Click to Show Previously Played]", false, false},
      {"<Selective>", "Selective Play of Specified - Artists / Genres / Preference", false, false},
      {"evtOxClose", "Powers off Orlavox", true, false},
      {"evtoxclose", "", true, false},  // compared with case
      {"UEqualiser", "", true, false},
      {"evtOxMute", "Mute Audio", true, false},
      {"<Menu>", "Options Menu", false, false},
      {"[x]", "", false, false},
      {"", "", false, false},
      {"<OpenMusicFile>", "Open Music File(s)", false, true},
      {"<EqSave>", "Save Graphic Equalizer Presets", false, true},
      {"<EqLoad>", "Load Graphic Equalizer Presets", false, true},
      {"<EqReset>", "Reset Graphic Equalizer Presets to Zero", false, false},
      {"evtOxPlay", "Play", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DefaultTooltip(c.command), c.tooltip) << c.command;
    EXPECT_EQ(IsEventCommand(c.command), c.event) << c.command;
    EXPECT_EQ(CommandOpensDialog(c.command), c.dialog) << c.command;
  }
}

}  // namespace
}  // namespace ox
