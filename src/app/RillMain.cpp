// rill.exe: the Orlavox player.
#include <windows.h>

#include "app/Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The whole command line, the program's own path first, as the command-line rules expect it.
  return ox::RunPlayer(instance, GetCommandLineA());
}
