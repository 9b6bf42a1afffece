// History.exe: the previously-played window of the suite.
#include <windows.h>

#include "core/Locations.h"
#include "history/HistoryWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  // The program lies in the installation folder beside the player: its own path names the folder
  // even when no player has run yet to store "InstalledTo".
  ox::InstallFolder(false);
  return ox::RunHistory(show);
}
