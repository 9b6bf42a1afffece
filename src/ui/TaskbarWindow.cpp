#include "ui/TaskbarWindow.h"

#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "ui/PlayerInput.h"

namespace ox {

namespace {

LRESULT CALLBACK TaskbarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;  // the hotkeys are registered on this window; the media keys come here while it is active
  if (HandlePlayerInput(window, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        WriteNumber(setting::Minimized, 1);
        if (ReadNumber(setting::HideWhenMin)) ShowWindow(window, SW_HIDE);
      } else if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
        WriteNumber(setting::Minimized, 0);
      }
      return 0;
    case WM_CLOSE:
      evt::OxClose.Set();  // closing it from the taskbar closes the player, and never just the window
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void TaskbarWindow::Create() {
  if (window_) return;
  const bool neverInTask = ReadNumber(setting::NeverInTask) != 0;
  const DWORD exStyle = neverInTask ? WS_EX_TOPMOST | WS_EX_TOOLWINDOW : 0;
  const WindowClass windowClass{kTaskbarWindowClass, TaskbarProcedure, CS_OWNDC | CS_DBLCLKS, nullptr,
                                LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(101))};
  if (!window_.Create(windowClass, kTaskbarWindowClass, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, exStyle, 100, 100, 0,
                      0))
    return;
  window_.Show(SW_SHOWNOACTIVATE);
  if (ReadNumber(setting::Minimized)) {
    window_.Show(SW_SHOWMINNOACTIVE);
    if (neverInTask) window_.Hide();
  }
}

}  // namespace ox
