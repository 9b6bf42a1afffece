#include "launcher/OptionsMenu.h"

#include "base/FileFinder.h"
#include "base/Path.h"
#include "base/Wide.h"
#include "core/EnsureRunning.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "ui/ButtonCommands.h"
#include "ui/PlayerActions.h"

namespace ox {
namespace {

enum Command : UINT {
  kPlayPause = 1,
  kStop,
  kNext,
  kPrevious,
  kMute,
  kRandom,
  kEqualiser,
  kOpenFiles,
  kPlaylist,
  kPreviouslyPlayed,
  kCollection,
  kSelective,
  kMinimise,
  kClosePlayer,
  kOptions,
  kFirstSkin = 1000,
};

// The menu's header: the playing track's title, else its file name; empty when nothing plays.
std::string PlayingName() {
  TrackRecord playing{};
  if (!block::OxTrackPlaying.ReadValue(playing) || !playing.HasPath()) return {};
  std::string name(playing.Title());
  if (name.empty()) name = FileTitleOf(playing.Path());
  if (!playing.Artist().empty()) name = std::string(playing.Artist()) + " - " + name;
  return name;
}

// A menu item's text: '&' doubled, and a mnemonic on the first letter when asked.
std::wstring ItemText(const std::string& text, bool mnemonic) {
  std::string escaped = mnemonic ? "&" : "";
  for (char c : text) escaped += c == '&' ? std::string("&&") : std::string(1, c);
  return Wide(escaped);
}

void Add(HMENU menu, UINT id, const wchar_t* text, bool checked = false, bool enabled = true) {
  AppendMenuW(menu, MF_STRING | (checked ? MF_CHECKED : 0) | (enabled ? 0 : MF_GRAYED), id, text);
}

void Run(UINT command, const std::vector<std::string>& skins) {
  // The transport needs a player to act on; the toggles and windows do not.
  const auto withPlayer = [](PlayerAction action) {
    EnsurePlayerRunning();
    RunPlayerAction(action);
  };
  switch (command) {
    case kPlayPause:
      withPlayer(PlayerAction::PlayPause);
      break;
    case kStop:
      RunPlayerAction(PlayerAction::Stop);
      break;
    case kNext:
      EnsurePlayerRunning();
      if (evt::OxPlay.IsSet()) evt::OxSkip.Set();
      break;
    case kPrevious:
      withPlayer(PlayerAction::SkipBack);
      break;
    case kMute:
      RunPlayerAction(PlayerAction::Mute);
      break;
    case kRandom:
      evt::OxMyMusicRandom.Toggle();
      break;
    case kEqualiser:
      evt::OxEqOn.Toggle();
      break;
    case kOpenFiles:
      withPlayer(PlayerAction::OpenFiles);
      break;
    case kPlaylist:
      StartPlaylistWindow();
      break;
    case kPreviouslyPlayed:
      StartPreviouslyPlayed();
      break;
    case kCollection:
      RunButtonCommand("<MyMusicCollection>", 0);
      break;
    case kSelective:
      StartSelectivePlay();
      break;
    case kMinimise:
      evt::OxMinimize.Set();
      break;
    case kClosePlayer:
      evt::OxClose.Set();
      break;
    default:
      if (command >= kFirstSkin && command - kFirstSkin < skins.size()) ChooseSkin(skins[command - kFirstSkin]);
  }
}

}  // namespace

std::vector<std::string> InstalledSkins() {
  std::vector<std::string> names;
  FileFinder entries(SkinsFolder(), "*.*");
  while (entries.Next())
    if (entries.IsDirectory()) names.emplace_back(entries.Name());
  return names;
}

void ChooseSkin(const std::string& name) {
  WriteText(setting::ActiveSkin, name);
  evt::OxNewSkin.Set();
}

bool RunOptionsMenu(HWND owner) {
  const std::vector<std::string> skins = InstalledSkins();
  const std::string active = ReadText(setting::ActiveSkin);
  HMENU skinMenu = CreatePopupMenu();
  for (size_t i = 0; i < skins.size(); ++i)
    Add(skinMenu, kFirstSkin + static_cast<UINT>(i), ItemText(skins[i], true).c_str(), skins[i] == active);
  if (skins.empty()) AppendMenuW(skinMenu, MF_STRING | MF_GRAYED, 0, L"(no skins installed)");

  HMENU menu = CreatePopupMenu();
  const std::string playing = PlayingName();
  AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, playing.empty() ? L"Nothing playing" : ItemText(playing, false).c_str());
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  Add(menu, kPlayPause, L"&Play/Pause");
  Add(menu, kStop, L"&Stop");
  Add(menu, kNext, L"&Next");
  Add(menu, kPrevious, L"Pre&vious");
  Add(menu, kMute, L"&Mute", evt::OxMute.IsSet());
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  Add(menu, kRandom, L"&Random play of the collection", evt::OxMyMusicRandom.IsSet());
  Add(menu, kEqualiser, L"E&qualiser on", evt::OxEqOn.IsSet());
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(skinMenu), L"S&kins");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  Add(menu, kOpenFiles, L"&Open files\u2026");
  Add(menu, kPlaylist, L"P&laylist");
  Add(menu, kPreviouslyPlayed, L"Previously pl&ayed");
  Add(menu, kCollection, L"Music &collection");
  Add(menu, kSelective, L"Selective pla&y");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  // Only a running player is minimised or closed: the event would outlive this program in the
  // hands of a sibling and close the next player as it starts.
  const bool running = evt::OxRillRunning.IsSet();
  Add(menu, kMinimise, L"M&inimise player", false, running);
  Add(menu, kClosePlayer, L"Clos&e player", false, running);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  Add(menu, kOptions, L"Op&tions\u2026");
  SetMenuDefaultItem(menu, kOptions, FALSE);

  POINT at{};
  GetCursorPos(&at);
  // The owner must be in front for a click elsewhere to close the menu.
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);  // the skins submenu with it
  if (chosen == kOptions) return true;
  if (chosen) Run(chosen, skins);
  return false;
}

}  // namespace ox
