#include "ui/ButtonCommands.h"

#include "base/DataFile.h"
#include "base/System.h"
#include "base/Ticks.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "queue/PlayerCommands.h"
#include "ui/EqPresets.h"
#include "ui/OpenMusicFiles.h"

namespace ox {

namespace {

void Start(const char* program) { RunProgram(InstallFolder(false) + program); }

}  // namespace

void StartCollectionEditor() { Start("Librarian.exe"); }
void StartSelectivePlay() { RunProgram("\"" + InstallFolder(false) + "Librarian.exe\" <selective>"); }
void StartPlaylistWindow() { Start("Queuer.exe"); }
void StartPreviouslyPlayed() { Start("History.exe"); }
void StartOptionsMenu() { Start("Launcher.exe"); }

std::optional<bool> RunButtonCommand(std::string_view command, int32_t eventMode) {
  if (command == "evtOxPlay") {
    PlayStop();
    if (eventMode == 0) return evt::OxPlay.IsSet();
    return std::nullopt;
  }
  if (IsEventCommand(command)) {
    NamedEvent* event = SkinEvent(command);
    if (!event) return std::nullopt;
    if (eventMode == 0) return event->Toggle();
    if (eventMode == 1) event->Set();
    else if (eventMode == 2) event->Reset();
    return std::nullopt;
  }
  if (command == "<PrevPlayed>") SkipBack();
  else if (command == "<Menu>") StartOptionsMenu();
  else if (command == "<MyMusicCollection>") RemoveSetting(setting::MmcIconic), StartCollectionEditor();
  else if (command == "<Playlist>") StartPlaylistWindow();
  else if (command == "<OpenMusicFile>") OpenMusicFiles(nullptr);
  else if (command == "<EqReset>") ResetEqualiser();
  else if (command == "<EqSave>") SaveEqPreset();
  else if (command == "<EqLoad>") LoadEqPreset();
  else if (command == "<Selective>") StartSelectivePlay();
  return std::nullopt;
}

void RightClickButton(std::string_view command) {
  if (command == "<PrevPlayed>") StartPreviouslyPlayed();
}

bool SelectivePlayListHasRecords(uint32_t now) {
  static bool known = false, has = false;
  static uint32_t readAt = 0;
  if (!known || TicksSince(readAt, now) >= 5000) {
    has = FileSize(SelectivePlayListFile()) / 4 != 0;
    readAt = now, known = true;
  }
  return has;
}

}  // namespace ox
