#include "ui/ButtonCommands.h"

namespace ox {

bool IsEventCommand(std::string_view command) {
  return !command.empty() && command[0] != '<' && command[0] != '[';
}

bool CommandOpensDialog(std::string_view command) {
  return command == "<OpenMusicFile>" || command == "<EqSave>" || command == "<EqLoad>";
}

std::string DefaultTooltip(std::string_view command) {
  static constexpr struct {
    std::string_view command, tooltip;
  } kTooltips[] = {
      {"<PrevPlayed>", "Skip Back [Right Click to Show Previously Played]"},
      {"<Menu>", "Options Menu"},
      {"<MyMusicCollection>", "My Music Collection"},
      {"<Playlist>", "Playlist Editor"},
      {"<OpenMusicFile>", "Open Music File(s)"},
      {"<EqReset>", "Reset Graphic Equalizer Presets to Zero"},
      {"<EqSave>", "Save Graphic Equalizer Presets"},
      {"<EqLoad>", "Load Graphic Equalizer Presets"},
      {"<Selective>", "Selective Play of Specified - Artists / Genres / Preference"},
      {"evtOxShowRill", "Switches to Orlavox"},
      {"evtOxEqOn", "Switches Graphic Equalizer On/Off"},
      {"evtOxPlay", "Play"},
      {"evtOxPause", "Pause"},
      {"evtOxMute", "Mute Audio"},
      {"evtOxSkip", "Skip"},
      {"evtOxMyMusicRandom", "Random Play Music Collection"},
      {"evtOxClose", "Powers off Orlavox"},
  };
  for (const auto& t : kTooltips) {
    if (t.command == command) return std::string(t.tooltip);
  }
  return {};
}

}  // namespace ox
