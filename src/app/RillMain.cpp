// rill.exe: the Orlavox player.
#include <windows.h>

#include "app/Startup.h"
#include "base/Wide.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The whole command line, the program's own path first, as the command-line rules expect it. Taken
  // in UTF-16, so that every name arrives whole even where the system's code page is not UTF-8.
  return ox::RunPlayer(instance, ox::FromWide(GetCommandLineW()));
}
