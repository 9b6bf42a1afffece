#include <gtest/gtest.h>

#include "ui/ButtonCommands.h"
#include "ui/ButtonPresses.h"

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

// Three buttons' states (0 idle, 1 pressed, 2 mouse-over) through presses, moves and releases.
TEST(ButtonPresses, AClickIsAReleaseOverThePressedButton_TheWatchOrALostCaptureTakesNoClick) {
  ButtonPresses b(3);
  auto states = [&b] { return std::vector<int32_t>{b.State(0), b.State(1), b.State(2)}; };
  b.Press(1);
  b.Pass(2, false);  // the watch leaves a press alone
  EXPECT_EQ(b.ReleaseOver(1).click, 1u);
  EXPECT_EQ(states(), (std::vector<int32_t>{0, 2, 0}));
  b.Press(0);
  b.Move(2, true);  // dragged off it
  EXPECT_EQ(states(), (std::vector<int32_t>{0, 0, 1}));
  EXPECT_FALSE(b.ReleaseOver(0).click);
  b.Press(0);
  b.CaptureLost();
  EXPECT_FALSE(b.ReleaseOver(0).held);
  b.Pass(2, false);
  EXPECT_EQ(states(), (std::vector<int32_t>{0, 0, 2}));
}

}  // namespace
}  // namespace ox
