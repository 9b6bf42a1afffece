#include "app/KeyControl.h"

#include <string>

#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "ui/ButtonCommands.h"
#include "queue/PlayerCommands.h"

namespace ox {

const char* const kKeyControlKey = "Software\\Quillmarsh\\Orlavox\\Orp-KeyControl";

namespace {

uint32_t ReadBlock(SharedDataBlock& block) {
  uint32_t value = 0;
  block.ReadValue(value);
  return value;
}

TrackTime CurrentTime() {
  TrackTime time{};
  block::OxTrackTime.ReadValue(time);
  return time;
}

}  // namespace

KeyControl::KeyControl() { evt::ReloadKeyMappings.Set(); }

KeyControl::~KeyControl() {
  std::lock_guard<std::mutex> hold(lock_);
  UnregisterAll();
}

void KeyControl::UnregisterAll() {
  for (ATOM atom : atoms_) {
    UnregisterHotKey(window_, atom);
    GlobalDeleteAtom(atom);
  }
  atoms_.clear();
}

void KeyControl::Load(HWND window) {
  std::lock_guard<std::mutex> hold(lock_);
  UnregisterAll();
  window_ = window;
  for (int i = 0; i < kKeyActions; ++i) {
    const std::string name = "Key" + std::to_string(i);
    keys_[i] = GetNumberSetting(name.c_str(), HKEY_CURRENT_USER, kKeyControlKey);
    if (!IsHotkey(keys_[i])) continue;
    const ATOM atom = GlobalAddAtomA(name.c_str());
    if (!atom) continue;
    RegisterHotKey(window, atom, MOD_ALT | MOD_CONTROL, keys_[i] & 0xFF);
    atoms_.push_back(atom);
  }
}

bool KeyControl::Check(UINT message, WPARAM wParam, LPARAM lParam) {
  int index = -1;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (message == WM_HOTKEY) {
      index = HotkeyAction(keys_, HIWORD(lParam), LOWORD(lParam));
    } else if (message == WM_KEYUP) {
      const auto held = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
      index = KeyUpAction(keys_, static_cast<uint32_t>(wParam), held(VK_SHIFT), held(VK_CONTROL), held(VK_MENU));
    }
  }
  if (index < 0) return false;
  Run(static_cast<KeyAction>(index));
  return true;
}

void KeyControl::Run(KeyAction action) {
  switch (action) {
    case KeyAction::Play:
      evt::OxPlay.Set();
      evt::OxPause.Reset();
      break;
    case KeyAction::PlayButton: PlayButton(); break;
    case KeyAction::SkipBack: SkipBack(); break;
    case KeyAction::SeekForward: block::OxSkipToPos.WriteValue(SeekForwardPercent(CurrentTime())); break;
    case KeyAction::SeekBack: block::OxSkipToPos.WriteValue(SeekBackPercent(CurrentTime())); break;
    case KeyAction::Pause: evt::OxPause.Toggle(); break;
    case KeyAction::Stop: evt::OxPlay.Reset(); break;
    case KeyAction::OpenFiles: evt::ShowOpenMusic.Set(); break;
    case KeyAction::VolumeUp: block::OxVolume.WriteValue(VolumeUpStep(ReadBlock(block::OxVolume))); break;
    case KeyAction::VolumeDown: block::OxVolume.WriteValue(VolumeDownStep(ReadBlock(block::OxVolume))); break;
    case KeyAction::Mute: evt::OxMute.Toggle(); break;
    case KeyAction::MusicCollection: RunButtonCommand("<MyMusicCollection>", 0); break;
    case KeyAction::CollectionEditor: StartCollectionEditor(); break;
    case KeyAction::PlaylistWindow: StartPlaylistWindow(); break;
    case KeyAction::PreviouslyPlayed: StartPreviouslyPlayed(); break;
    case KeyAction::PowerOff: evt::OxClose.Set(); break;
    case KeyAction::OptionsMenu: StartOptionsMenu(); break;
  }
}

KeyControl& Keys() {
  static KeyControl keys;
  return keys;
}

}  // namespace ox
