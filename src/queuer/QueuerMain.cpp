// Queuer.exe: the playlist window of the suite.
#include <windows.h>

#include "core/Locations.h"
#include "queuer/QueuerWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  // The program lies in the installation folder beside the player: its own path names the folder
  // even when no player has run yet to store "InstalledTo".
  ox::InstallFolder(false);
  return ox::RunQueuer(show);
}
