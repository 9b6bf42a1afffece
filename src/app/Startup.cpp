#include "app/Startup.h"

#include <atomic>

#include "base/System.h"
#include "base/WorkerThread.h"
#include "app/CommandLine.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "app/PlayerCore.h"
#include "core/Settings.h"

namespace ox {

namespace {

constexpr const char* kTaskbarClass = "Orlavox Audio Player";
constexpr const char* kCoreClass = "Orlavox Core";

HINSTANCE g_instance = nullptr;

// Console session notifications through "Wtsapi32.dll", loaded on first use (absent on old
// systems: then there are none).
class SessionNotifier {
 public:
  ~SessionNotifier() {
    if (module_) FreeLibrary(module_);
  }
  void Register(HWND window) {
    Load();
    if (register_) register_(window, 0 /* NOTIFY_FOR_THIS_SESSION */);
  }
  void Unregister(HWND window) {
    if (unregister_) unregister_(window);
  }

 private:
  void Load() {
    if (module_) return;
    module_ = LoadLibraryA("Wtsapi32.dll");
    if (!module_) return;
    register_ = reinterpret_cast<BOOL(WINAPI*)(HWND, DWORD)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "WTSRegisterSessionNotification")));
    unregister_ = reinterpret_cast<BOOL(WINAPI*)(HWND)>(
        reinterpret_cast<void*>(GetProcAddress(module_, "WTSUnRegisterSessionNotification")));
  }
  HMODULE module_ = nullptr;
  BOOL(WINAPI* register_)(HWND, DWORD) = nullptr;
  BOOL(WINAPI* unregister_)(HWND) = nullptr;
};

SessionNotifier g_sessions;

LRESULT CALLBACK CoreWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      g_sessions.Register(window);
      return 1;
    case WM_CLOSE:
      g_sessions.Unregister(window);  // the window itself stays
      return 1;
    case WM_QUERYENDSESSION:
      evt::OxClose.Set();
      PostQuitMessage(0);
      return 1;  // the session may end: the main loop closes the player
    case WM_WTSSESSION_CHANGE:
      if (wParam == WTS_CONSOLE_DISCONNECT) evt::OxPause.Set();
      else if (wParam == WTS_CONSOLE_CONNECT) evt::OxPause.Reset();
      return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The hidden Core window: never shown; it hears of Windows shutting down and of console switches.
class CoreWindow {
 public:
  CoreWindow() {
    WNDCLASSA c{};
    c.style = CS_DBLCLKS;
    c.lpfnWndProc = CoreWindowProc;
    c.hInstance = g_instance;
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    c.lpszMenuName = "";
    c.lpszClassName = kCoreClass;
    RegisterClassA(&c);
    window_ = CreateWindowExA(0, kCoreClass, kCoreClass, WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 50, 50,
                              nullptr, nullptr, g_instance, nullptr);
  }
  ~CoreWindow() {
    if (window_) {
      ShowWindow(window_, SW_HIDE);
      DestroyWindow(window_);
    }
    UnregisterClassA(kCoreClass, g_instance);
  }
  CoreWindow(const CoreWindow&) = delete;
  CoreWindow& operator=(const CoreWindow&) = delete;

 private:
  HWND window_ = nullptr;
};

// The small hidden window by whose class the suite finds a running player. It lives on a thread
// of its own until the skin windows, which will own it, arrive.
uint32_t TaskbarWindowThread(WorkerThread& self) {
  WNDCLASSA c{};
  c.lpfnWndProc = DefWindowProcA;
  c.hInstance = g_instance;
  c.lpszClassName = kTaskbarClass;
  RegisterClassA(&c);
  HWND window = CreateWindowExA(0, kTaskbarClass, "Orlavox", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, g_instance, nullptr);
  // Sleeps until a message arrives or the thread is asked to stop: an idle player wakes no thread
  // it need not.
  const HANDLE stop = self.StopHandle();
  while (MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 && !self.StopRequested())
    PumpMessages();
  if (window) DestroyWindow(window);
  UnregisterClassA(kTaskbarClass, g_instance);
  return 0;
}

}  // namespace

HINSTANCE ProgramInstance() { return g_instance; }

int RunPlayer(HINSTANCE instance, const std::string& commandLine) {
  g_instance = instance;
  // The installation folder comes from the executable's own path, in a second start too (whose
  // queue files must be the running player's), before anything asks with the registry flag set.
  InstallFolder(false);
  // A running flag without a player window was left behind (a crashed player): it is stale.
  if (!FindWindowA(kTaskbarClass, nullptr)) evt::OxRillRunning.Reset();
  if (evt::OxRillRunning.IsSet()) {
    // Another player runs: hand it this command line, bring it up, and leave.
    evt::OxShowRill.Set();
    ProcessCommandLine(commandLine);
    return 0;
  }
  evt::OxRillRunning.Set();
  ProcessCommandLine(commandLine);
  evt::OxClose.Reset();  // a close request left from an earlier run is dropped

  SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  SetDefaultSettingsRoot(HKEY_CURRENT_USER, kSettingsKey);
  SetTextSetting(InstallFolder(false).c_str(), "InstalledTo");
  {
    PlayerCore core;
    WorkerThread taskbarWindow(TaskbarWindowThread, 0);  // where the skin manager will stand
    CoreWindow coreWindow;
    while (!evt::OxClose.IsSet()) {
      PumpMessages();
      Sleep(100);
    }
    evt::OxRillRunning.Reset();
    evt::OxEditorRunning.Reset();
  }  // Core window, taskbar window, then PlayerCore (which stops the core thread) go, in that order
  return 0;
}

}  // namespace ox
