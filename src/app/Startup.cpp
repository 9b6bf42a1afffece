#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/KeyControl.h"
#include "app/PlayerControl.h"
#include "app/PlayerCore.h"
#include "base/Handle.h"
#include "base/System.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "engine/VisualOutputHost.h"
#include "ui/OpenMusicFiles.h"
#include "ui/PlayerInput.h"
#include "ui/SkinManager.h"
#include "ui/TaskbarWindow.h"
#include "ui/TrayIcon.h"
#include "ui/Window.h"

namespace ox {

namespace {

constexpr const char* kCoreClass = "Orlavox Core";

HINSTANCE g_instance = nullptr;

// Console session notifications through "Wtsapi32.dll", loaded on first use (absent on old
// systems: then there are none).
class SessionNotifier {
 public:
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
    module_ = UniqueModule(LoadLibraryA("Wtsapi32.dll"));
    module_.Lookup("WTSRegisterSessionNotification", register_);
    module_.Lookup("WTSUnRegisterSessionNotification", unregister_);
  }
  UniqueModule module_;
  BOOL(WINAPI* register_)(HWND, DWORD) = nullptr;
  BOOL(WINAPI* unregister_)(HWND) = nullptr;
};

SessionNotifier g_sessions;

// What the skin thread does for the rest of the player.
SkinHooks PlayerSkinHooks() {
  SkinHooks hooks;
  hooks.takeRefresh = TakeRefreshFlag;
  hooks.showOpenMusic = OpenMusicFiles;
  hooks.reloadKeyMappings = [](HWND taskbar) { Keys().Load(taskbar); };
  return hooks;
}

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
    const WindowClass windowClass{kCoreClass, CoreWindowProc, CS_DBLCLKS,
                                  static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), nullptr, ""};
    window_.Create(windowClass, kCoreClass, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 100, 100, 50, 50);
  }

 private:
  Window window_;  // hidden, destroyed and its class unregistered with the object
};

}  // namespace

HINSTANCE ProgramInstance() { return g_instance; }

int RunPlayer(HINSTANCE instance, const std::string& commandLine) {
  g_instance = instance;
  // The installation folder comes from the executable's own path, in a second start too (whose
  // queue files must be the running player's), before anything asks with the registry flag set.
  InstallFolder(false);
  // The key table and the visual output host come first, in a second start too: each asks the
  // player that runs to read its settings again (the keys, which visual plug-ins show), which is
  // how a second start applies what the options program changed.
  Keys();
  RequestVisualOutputCheck();
  // A running flag without a player window was left behind (a crashed player): it is stale.
  if (!FindWindowA(kTaskbarWindowClass, nullptr)) evt::OxRillRunning.Reset();
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
  WriteText(setting::InstalledTo, InstallFolder(false));
  SetKeyCheck([](HWND, UINT message, WPARAM wParam, LPARAM lParam) { return Keys().Check(message, wParam, lParam); });
  {
    VisualOutputHost visuals(VisualOutputFolder());  // before the players that feed it, gone after them
    PlayerCore core;
    TrayIcon tray;  // on this thread, before the skin manager
    SkinManager skins(SkinManagerOptions{SkinsFolder(), PlayerSkinHooks()});
    CoreWindow coreWindow;
    while (!evt::OxClose.IsSet()) {
      PumpMessages();
      Sleep(100);
    }
    evt::OxRillRunning.Reset();
    evt::OxEditorRunning.Reset();
  }  // the Core window, the skin manager, the tray, PlayerCore (which stops the core thread), then the
     // visual output host go, in that order
  return 0;
}

}  // namespace ox
