// Input every window of the player answers alike, before anything else in the skin windows' and
// the taskbar window's procedures: the media keys and the keys of the key table.
#pragma once

#include <windows.h>

namespace ox {

// WM_APPCOMMAND (every media key is the player's, the ones it does nothing with too) and the key
// check the hotkeys install. True when the message was taken, with its answer in result.
bool HandlePlayerInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The key check the hotkeys install; true when the message was a key of theirs and was acted on.
using KeyCheck = bool (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetKeyCheck(KeyCheck check);

}  // namespace ox
