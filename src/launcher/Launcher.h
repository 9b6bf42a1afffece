// Launcher.exe, the suite's options program. Without arguments it shows its menu at the mouse
// pointer; with "/options" (optionally "/options:<page>") it opens the settings window at once.
// One copy runs: a second start brings the menu or the window of the first to the front.
#pragma once

#include <string>

namespace ox {

// The whole command line, the program's own path first; the exit code.
int RunLauncher(const std::string& commandLine);

}  // namespace ox
