#include "engine/VisualOutputHost.h"

#include <atomic>

#include "base/FileFinder.h"
#include "base/Path.h"
#include "base/Ticks.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"

namespace ox {
namespace {

std::atomic<VisualOutputHost*> g_host{nullptr};
std::mutex g_hostLock;  // the running host is not destroyed while a snapshot is handed to it

constexpr uint32_t kHidden = 0xFFFFFFFF;

}  // namespace

VisualOutputHost::VisualOutputHost(const std::string& folder, uint32_t (*clock)()) : clock_(clock) {
  for (FileFinder find(folder, "*.dll"); find.Next();)
    if (!find.IsDirectory()) plugins_.push_back(Plugin{find.FullPath()});
  lastRender_ = Now();
  RequestVisualOutputCheck();  // the first check loads every shown plug-in
  {
    std::lock_guard<std::mutex> hold(g_hostLock);
    g_host = this;
  }
  thread_ = std::make_unique<WorkerThread>(Run, reinterpret_cast<uintptr_t>(this));
}

VisualOutputHost::~VisualOutputHost() {
  {
    std::lock_guard<std::mutex> hold(g_hostLock);
    if (g_host == this) g_host = nullptr;
  }
  thread_.reset();
}

uint32_t VisualOutputHost::Now() const { return clock_ ? clock_() : Ticks(); }

void RequestVisualOutputCheck() { evt::OxVisHideShow.Set(); }

std::string VisualOutputHost::HideKey(const std::string& dllPath) {
  return SettingKey(setting::VisualHide, FileNameOf(dllPath));
}

uint32_t VisualOutputHost::Run(WorkerThread& self) {
  auto& host = *reinterpret_cast<VisualOutputHost*>(self.Argument());
  while (!self.StopRequested()) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {  // the plug-ins' windows live here
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    // Every 25 ms while a plug-in is loaded (its window, its ticks). Without one there is only the
    // display copy to keep: the thread waits for the next snapshot, messages, the show/hide
    // request, or 100 ms until a snapshot of zeros has reached the display; after that nothing
    // changes until one of those comes.
    bool loaded = false;
    for (const Plugin& plugin : host.plugins_) loaded = loaded || plugin.module;
    bool askHideShow = true;
    if (loaded) {
      Sleep(25);
    } else {
      const HANDLE wake[] = {self.StopHandle(), host.posted_.Handle(), evt::OxVisHideShow.Handle()};
      const DWORD timeout = wake[2] && host.zeroShown_ ? INFINITE : 100;
      const DWORD woke = MsgWaitForMultipleObjects(wake[2] ? 3 : 2, wake, FALSE, timeout, QS_ALLINPUT);
      if (woke == WAIT_OBJECT_0 + 1) host.posted_.Reset();
      askHideShow = !wake[2] || woke == WAIT_OBJECT_0 + 2 || woke == WAIT_FAILED;
      if (woke == WAIT_FAILED) Sleep(25);
    }
    if (askHideShow) host.Check();
    host.RenderStep();
  }
  for (Plugin& plugin : host.plugins_) Unload(plugin);
  return 0;
}

void VisualOutputHost::Unload(Plugin& plugin) {
  if (!plugin.module) return;
  if (plugin.hide) plugin.hide();
  plugin = Plugin{plugin.path};  // frees the DLL
}

void VisualOutputHost::Check() {
  if (!evt::OxVisHideShow.IsSet()) return;
  evt::OxVisHideShow.Reset();
  for (Plugin& plugin : plugins_) {
    const bool hidden = ReadNumber(setting::VisualHide, {{}, FileNameOf(plugin.path)}) != 0;
    if (plugin.module && hidden) {
      Unload(plugin);
    } else if (!plugin.module && !hidden) {
      plugin.module = UniqueModule(LoadLibraryA(plugin.path.c_str()));
      if (!plugin.module) continue;
      plugin.module.Lookup("Show", plugin.show);
      plugin.module.Lookup("Hide", plugin.hide);
      plugin.module.Lookup("Render", plugin.render);
      if (plugin.show) plugin.show();
    }
  }
}

void VisualOutputHost::RenderStep() {
  OxVisualSnapshot snapshot{};
  bool fresh = false;
  {
    std::lock_guard<std::mutex> hold(pendingLock_);
    if (newData_) snapshot = pending_, newData_ = false, fresh = true;
  }
  const uint32_t now = Now();
  if (!fresh) {
    if (now - lastRender_ < 101) return;
    snapshot.sampleRate = 44100;  // nothing plays: a snapshot of zeros keeps the plug-ins ticking
  }
  {
    std::lock_guard<std::mutex> hold(displayLock_);
    display_ = snapshot;
  }
  zeroShown_ = !fresh;
  for (Plugin& plugin : plugins_) {
    if (!plugin.module || !plugin.render || plugin.render(&snapshot) == 0) continue;
    WriteNumber(setting::VisualHide, kHidden, {{}, FileNameOf(plugin.path)});
    evt::OxVisHideShow.Set();  // the next check unloads it
  }
  lastRender_ = now;
}

void VisualOutputHost::Post(const OxVisualSnapshot& snapshot) {
  std::lock_guard<std::mutex> hold(pendingLock_);
  pending_ = snapshot;
  newData_ = true;
  posted_.Set();
}

OxVisualSnapshot VisualOutputHost::Display() const {
  std::lock_guard<std::mutex> hold(displayLock_);
  return display_;
}

void PostVisualSnapshot(const OxVisualSnapshot& snapshot) {
  std::lock_guard<std::mutex> hold(g_hostLock);
  if (VisualOutputHost* host = g_host) host->Post(snapshot);
}

OxVisualSnapshot VisualDisplay() {
  std::lock_guard<std::mutex> hold(g_hostLock);
  VisualOutputHost* host = g_host;
  return host ? host->Display() : OxVisualSnapshot{};
}

}  // namespace ox
