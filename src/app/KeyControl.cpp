#include "app/KeyControl.h"

#include <string>

#include "core/NamedObjects.h"
#include "core/Settings.h"

namespace ox {

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
    const std::string number = std::to_string(i);
    keys_[i] = ReadNumber(setting::Key, {number});
    if (!IsHotkey(keys_[i])) continue;
    const ATOM atom = GlobalAddAtomA(SettingName(setting::Key, number).c_str());
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
  RunPlayerAction(static_cast<PlayerAction>(index));
  return true;
}

KeyControl& Keys() {
  static KeyControl keys;
  return keys;
}

}  // namespace ox
