// Launcher.exe: the Orlavox options program.
#include <windows.h>

#include "base/Wide.h"
#include "launcher/Launcher.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return ox::RunLauncher(ox::FromWide(GetCommandLineW())); }
