// The settings window: one tab per page, standard controls, keyboard-complete (Tab, Ctrl+Tab,
// Enter for OK, Escape for Cancel). Values are read when the window opens, shown held to their
// ranges, and written on OK or Apply only where the user changed them; the events of the changes
// that apply at once are set then.
#pragma once

#include <windows.h>

namespace ox {

constexpr wchar_t kSettingsWindowClass[] = L"Orlavox Options";

// Opens the window, with page `page` in front, and runs its messages until it closes.
void RunSettingsWindow(int page = 0);

}  // namespace ox
