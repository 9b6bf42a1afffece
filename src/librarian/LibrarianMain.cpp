// Librarian.exe, the collection editor. One runs at a time: a second start hands its view request
// (the library, or "<selective>") to the running one and ends. While it runs, "evtOxEditorRunning"
// tells the player that files it hands over will be taken.
#include <windows.h>
#include <objbase.h>

#include "base/Wide.h"
#include "core/NamedObjects.h"
#include "librarian/LibrarianRules.h"
#include "librarian/LibrarianWindow.h"

namespace {

bool HandToRunningEditor(bool selective) {
  for (int attempt = 0; attempt < 100; ++attempt) {  // the first may still be making its window
    if (HWND running = FindWindowW(ox::kLibrarianClass, nullptr)) {
      PostMessageW(running, ox::kShowViewMessage, selective ? 1 : 0, 0);
      SetForegroundWindow(running);
      return true;
    }
    Sleep(50);
  }
  return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const bool selective = ox::AsksForSelective(ox::FromWide(GetCommandLineW()));
  HANDLE instance = CreateMutexW(nullptr, FALSE, L"OxLibrarianSingleInstance");
  if (GetLastError() == ERROR_ALREADY_EXISTS && HandToRunningEditor(selective)) {
    CloseHandle(instance);
    return 0;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the folder dialog
  ox::evt::OxEditorRunning.Set();
  static ox::LibrarianWindow window;
  if (!window.Create(selective)) {
    ox::evt::OxEditorRunning.Reset();
    return 1;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.TranslateKeys(message) || IsDialogMessageW(window.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  ox::evt::OxEditorRunning.Reset();
  CoUninitialize();
  CloseHandle(instance);
  return 0;
}
