#include "queue/ButtonCommands.h"

#include <mutex>

#include "base/DataFile.h"
#include "base/System.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "queue/EqPresets.h"
#include "queue/PlayerCommands.h"

namespace ox {

namespace {

std::mutex g_hooksLock;
ButtonCommandHooks g_hooks;

void Start(const char* program) { RunProgram(InstallFolder(false) + program, false); }

void Call(std::function<void()> ButtonCommandHooks::*hook) {
  std::function<void()> f;
  {
    std::lock_guard<std::mutex> hold(g_hooksLock);
    f = g_hooks.*hook;
  }
  if (f) f();
}

}  // namespace

void StartCollectionEditor() { Start("Librarian.exe"); }
void StartSelectivePlay() { RunProgram("\"" + InstallFolder(false) + "Librarian.exe\" <selective>", false); }
void StartPlaylistWindow() { Start("Queuer.exe"); }
void StartPreviouslyPlayed() { Start("History.exe"); }
void StartOptionsMenu() { Start("Launcher.exe"); }

void SetButtonCommandHooks(ButtonCommandHooks hooks) {
  std::lock_guard<std::mutex> hold(g_hooksLock);
  g_hooks = std::move(hooks);
}

std::optional<bool> RunButtonCommand(std::string_view command, int32_t eventMode) {
  if (command == "evtOxPlay") {
    PlayStop();
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
  else if (command == "<MyMusicCollection>") DeleteSetting("MMC-Iconic"), StartCollectionEditor();
  else if (command == "<Playlist>") StartPlaylistWindow();
  else if (command == "<OpenMusicFile>") Call(&ButtonCommandHooks::openMusicFiles);
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
  static std::mutex lock;
  static bool known = false, has = false;
  static uint32_t readAt = 0;
  std::lock_guard<std::mutex> hold(lock);
  if (!known || now - readAt >= 5000) {
    has = FileSize(SelectivePlayListFile()) / 4 != 0;
    readAt = now, known = true;
  }
  return has;
}

}  // namespace ox
