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
      {"<OpenMusicFile>", nullptr, false, true},
      {"<EqSave>", nullptr, false, true},
      {"<EqLoad>", nullptr, false, true},
      {"<EqReset>", nullptr, false, false},
      {"evtOxPlay", nullptr, true, false},
  };
  for (const auto& c : cases) {
    if (c.tooltip) {
      EXPECT_EQ(DefaultTooltip(c.command), c.tooltip) << c.command;
    }
    EXPECT_EQ(IsEventCommand(c.command), c.event) << c.command;
    EXPECT_EQ(CommandOpensDialog(c.command), c.dialog) << c.command;
  }
}

}  // namespace
}  // namespace ox
