#include "ui/TrayIcon.h"

#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "base/Ticks.h"
#include "ui/PlayerActions.h"

namespace ox {
namespace {

constexpr UINT_PTR kTimer = 1;
constexpr UINT kTickMs = 250;

// Windows XP and its kin (5.1, 5.2) take the 105/106 pair; every other version 103/102.
int IconResource(bool active) {
  const DWORD version = GetVersion();
  const bool fiveDotSomething = LOBYTE(LOWORD(version)) == 5 && HIBYTE(LOWORD(version)) != 0;
  if (fiveDotSomething) return active ? 105 : 106;
  return active ? 103 : 102;
}

}  // namespace

TrayIcon::TrayIcon(std::function<uint32_t()> clock) : clock_(std::move(clock)), hover_(Now()) {
  restartMessage_ = RegisterWindowMessageA("TaskbarCreated");
  if (ReadNumber(setting::NoShowTray) != 0) return;
  const WindowClass windowClass{kTrayWindowClass, Procedure, CS_OWNDC | CS_DBLCLKS,
                                static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))};
  if (!window_.Create(windowClass, kTrayWindowClass, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 100, 100, 0, 0,
                      nullptr, this))
    return;
  ShowIcon(NIM_ADD, false);
  SetTimer(window_.Handle(), kTimer, kTickMs, nullptr);
}

TrayIcon::~TrayIcon() {
  if (!window_) return;
  KillTimer(window_.Handle(), kTimer);
  ShowIcon(NIM_DELETE, false);
  window_.Destroy();
}

uint32_t TrayIcon::Now() const { return clock_ ? clock_() : Ticks(); }

void TrayIcon::ShowIcon(DWORD operation, bool lit) {
  NOTIFYICONDATAW data{};  // no tip; W so that a tip, if one is ever set, takes any character
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;  // the first layout, in its UTF-16 form
  data.hWnd = window_.Handle();
  data.uID = 1;
  data.uFlags = NIF_MESSAGE | NIF_ICON;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = static_cast<HICON>(
      LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(IconResource(lit)), IMAGE_ICON, 16, 16, 0));
  Shell_NotifyIconW(operation, &data);
  if (data.hIcon) DestroyIcon(data.hIcon);
}

void TrayIcon::SetActive(bool active) {
  if (active) evt::OxTrayControl.Set();
  else evt::OxTrayControl.Reset();
  ShowIcon(NIM_MODIFY, active);
}

LRESULT CALLBACK TrayIcon::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    return 0;
  }
  auto* tray = reinterpret_cast<TrayIcon*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (tray && message == tray->restartMessage_) {  // the notification area was made anew
    tray->ShowIcon(NIM_ADD, false);
    return 0;
  }
  if (tray && message == kTrayCallbackMessage) {
    tray->Answer(message, lParam);
    return 0;
  }
  if (tray && message == WM_TIMER && wParam == kTimer) {
    tray->Tick();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void TrayIcon::Answer(UINT, LPARAM lParam) {
  switch (static_cast<UINT>(lParam)) {
    case WM_MOUSEMOVE: {
      POINT cursor{};
      GetCursorPos(&cursor);
      hover_.MouseMove(cursor.x, cursor.y, Now());
      break;
    }
    case WM_LBUTTONUP:
      RunPlayerAction(PlayerAction::PlayButton);
      break;
    case WM_RBUTTONUP:
      evt::OxShowRill.Set();
      if (hover_.RightClick(Now())) SetActive(false);
      break;
  }
}

void TrayIcon::Tick() {
  POINT cursor{};
  GetCursorPos(&cursor);
  switch (hover_.Tick(cursor.x, cursor.y, evt::OxMouseOverTray.IsSet(), Now())) {
    case TrayHover::Change::Activate: SetActive(true); break;
    case TrayHover::Change::Deactivate: SetActive(false); break;
    case TrayHover::Change::None: break;
  }
}

}  // namespace ox
