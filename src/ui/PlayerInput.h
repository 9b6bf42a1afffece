// Input every window of the player answers alike: the media keys, and the hotkey check that runs
// before anything else in the skin windows' and the taskbar window's procedures.
#pragma once

#include <windows.h>

namespace ox {

// WM_APPCOMMAND: mute, volume, next, previous, stop, play/pause, media select. True when handled.
bool HandleAppCommand(LPARAM lParam);

// The key check the hotkeys install; true when the message was a key of theirs and was acted on.
using KeyCheck = bool (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetKeyCheck(KeyCheck check);
bool CheckKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ox
