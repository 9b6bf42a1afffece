#include <gtest/gtest.h>

#include "ui/ButtonCommands.h"

namespace ox {
namespace {

TEST(ButtonCommands, DefaultTooltipsWhatNamesAnEventWhatOpensADialog) {
  EXPECT_EQ(DefaultTooltip("<PrevPlayed>"), "Skip Back [Right Click to Show Previously Played]");
  EXPECT_EQ(DefaultTooltip("<Selective>"), "Selective Play of Specified - Artists / Genres / Preference");
  EXPECT_EQ(DefaultTooltip("evtOxClose"), "Powers off Orlavox");
  EXPECT_EQ(DefaultTooltip("evtoxclose"), "");  // compared with case
  EXPECT_EQ(DefaultTooltip("UEqualiser"), "");
  EXPECT_TRUE(IsEventCommand("UEqualiser"));
  EXPECT_TRUE(IsEventCommand("evtOxMute"));
  EXPECT_FALSE(IsEventCommand("<Menu>"));
  EXPECT_FALSE(IsEventCommand("[x]"));
  EXPECT_FALSE(IsEventCommand(""));
  for (const char* command : {"<OpenMusicFile>", "<EqSave>", "<EqLoad>"}) EXPECT_TRUE(CommandOpensDialog(command));
  for (const char* command : {"<EqReset>", "<Menu>", "evtOxPlay"}) EXPECT_FALSE(CommandOpensDialog(command));
}

}  // namespace
}  // namespace ox
