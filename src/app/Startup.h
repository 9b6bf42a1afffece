// The player process from start to exit: the single-instance test, the hand-over of a second
// start's command line, the long-lived objects, the hidden Core window and the main loop.
#pragma once

#include <windows.h>

#include <string>

namespace ox {

// Everything WinMain does. Returns 0 on every path.
int RunPlayer(HINSTANCE instance, const std::string& commandLine);

// The module instance of the program, for window classes and icons.
HINSTANCE ProgramInstance();

}  // namespace ox
