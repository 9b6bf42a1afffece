#include "launcher/Launcher.h"

#include <windows.h>
#include <objbase.h>

#include <cstdlib>

#include "base/Wide.h"
#include "core/Locations.h"
#include "launcher/OptionsMenu.h"
#include "launcher/SettingsWindow.h"
#include "ui/SiblingWindow.h"

namespace ox {
namespace {

// The hidden window that owns the menu and answers a second start, for the life of the process.
constexpr char kOwnerClass[] = "Orlavox Options Menu";

LRESULT CALLBACK OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::string ignored;
  if (message == WM_COPYDATA && ReadHandOver(lParam, &ignored)) {
    // A second start: the settings window if it is open, else the menu, to the front.
    if (HWND settings = FindWindowW(kSettingsWindowClass, nullptr)) {
      if (IsIconic(settings)) ShowWindow(settings, SW_RESTORE);
      SetForegroundWindow(settings);
    } else {
      SetForegroundWindow(window);
    }
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The page asked for by "/options[:n]"; -1 without it.
int OptionsPage(const std::string& commandLine) {
  const size_t at = commandLine.find("/options");
  if (at == std::string::npos) return -1;
  const char* rest = commandLine.c_str() + at + 8;
  return *rest == ':' ? std::atoi(rest + 1) : 0;
}

}  // namespace

int RunLauncher(const std::string& commandLine) {
  InstallFolder(false);  // beside the player: this program's own folder
  const SingleInstance single(kOwnerClass);
  if (single.AnotherRuns()) return single.HandOver("") ? 0 : 1;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the skin preview's picture loader

  WNDCLASSEXW owner{};
  owner.cbSize = sizeof owner;
  owner.lpfnWndProc = OwnerProcedure;
  owner.hInstance = GetModuleHandleW(nullptr);
  const std::wstring ownerClass = Wide(kOwnerClass);
  owner.lpszClassName = ownerClass.c_str();
  RegisterClassExW(&owner);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, owner.lpszClassName, owner.lpszClassName, WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, owner.hInstance, nullptr);
  int page = OptionsPage(commandLine);
  if (page < 0 && window && RunOptionsMenu(window)) page = 0;
  if (page >= 0) RunSettingsWindow(page);
  if (window) DestroyWindow(window);
  CoUninitialize();
  return 0;
}

}  // namespace ox
