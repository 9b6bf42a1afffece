// The menu the options program shows at the mouse pointer when started without arguments: the
// player's transport and toggles, the skins, the sibling programs, and the settings window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ox {

// The installed skins (the folders of the skins folder), in the order the folder gives them.
std::vector<std::string> InstalledSkins();

// Makes `name` the active skin: "[SetActive]" written, evtOxNewSkin set.
void ChooseSkin(const std::string& name);

// Shows the menu at the pointer, owned by `owner` (a window of this thread), and does what was
// chosen. True when the settings window was asked for; Escape or a click elsewhere gives false.
bool RunOptionsMenu(HWND owner);

}  // namespace ox
