// The visual output plug-ins of the "Visual Outputs\" folder, shown and hidden by the user's
// "Hide" value per DLL, and fed from one thread of their own: the latest snapshot the playing
// track released, or a snapshot of zeros about every 100 ms while nothing plays. The last snapshot
// rendered is kept for the skin's visualisation areas.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "VisualOutputPlugin.h"
#include "base/Handle.h"
#include "base/NamedEvent.h"
#include "base/WorkerThread.h"

namespace ox {

class VisualOutputHost {
 public:
  // Lists the DLLs of folder without loading them, raises evtOxVisHideShow (so the first check
  // loads every shown one) and starts the visual output thread. clock: milliseconds (the system
  // tick count when null).
  explicit VisualOutputHost(const std::string& folder, uint32_t (*clock)() = nullptr);
  // Stops the thread, which unloads every loaded plug-in, Hide first.
  ~VisualOutputHost();
  VisualOutputHost(const VisualOutputHost&) = delete;
  VisualOutputHost& operator=(const VisualOutputHost&) = delete;

  // The snapshot the playing track released; rendered at the thread's next pass.
  void Post(const OxVisualSnapshot& snapshot);
  // The last snapshot rendered.
  OxVisualSnapshot Display() const;

  // The settings key of a DLL's "Hide" value.
  static std::string HideKey(const std::string& dllPath);

 private:
  struct Plugin {
    std::string path;
    UniqueModule module;
    OxVisShowFn show = nullptr;
    OxVisHideFn hide = nullptr;
    OxVisRenderFn render = nullptr;
  };
  static uint32_t Run(WorkerThread& self);
  void Check();
  void RenderStep();
  static void Unload(Plugin& plugin);
  uint32_t Now() const;

  uint32_t (*clock_)();
  std::vector<Plugin> plugins_;  // on the visual output thread only, once it runs
  mutable std::mutex pendingLock_, displayLock_;
  OxVisualSnapshot pending_{}, display_{};
  bool newData_ = false;
  uint32_t lastRender_ = 0;
  bool zeroShown_ = false;  // the display holds the snapshot of zeros (nothing plays)
  NamedEvent posted_{nullptr};  // a snapshot came: the idle thread wakes for it
  std::unique_ptr<WorkerThread> thread_;
};

// Asks the visual output host of the running player (this process's or another's) to look at
// every plug-in's "Hide" setting again (evtOxVisHideShow).
void RequestVisualOutputCheck();

// Hands a released snapshot to the host that runs in this process, if one does.
void PostVisualSnapshot(const OxVisualSnapshot& snapshot);
// The running host's display copy; zeros when none runs.
OxVisualSnapshot VisualDisplay();

}  // namespace ox
