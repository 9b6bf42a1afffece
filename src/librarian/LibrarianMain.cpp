// Librarian.exe, the collection editor. One runs at a time: a second start hands its view request
// (the library, or "<selective>") to the running one and ends. While it runs, "evtOxEditorRunning"
// tells the player that files it hands over will be taken.
#include <windows.h>


#include "base/Wide.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "librarian/LibrarianRules.h"
#include "librarian/LibrarianWindow.h"
#include "ui/SiblingWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  const bool selective = ox::AsksForSelective(ox::FromWide(GetCommandLineW()));
  ox::SingleInstance instance(ox::kLibrarianClass);
  if (instance.AnotherRuns() && instance.HandOver(selective ? "<selective>" : "")) return 0;
  // Where the player said it is installed; beside this program when no player has said so yet.
  if (ox::InstallFolder(true).empty()) ox::InstallFolder(false);
  ox::evt::OxEditorRunning.Set();
  // Started with the player ("MMC-Start") it may be asked to wait minimised; the player's button
  // clears that wish before it starts the editor.
  if (ox::ReadNumber(ox::setting::MmcIconic) != 0 && !selective) show = SW_SHOWMINNOACTIVE;
  static ox::LibrarianWindow window;
  const bool made = window.Create(selective, show);
  MSG message;
  while (made && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.TranslateKeys(message) || IsDialogMessageW(window.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  ox::evt::OxEditorRunning.Reset();
  return made ? 0 : 1;
}
