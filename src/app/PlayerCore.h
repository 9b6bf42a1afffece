// The player's core: the sound output plug-ins and the core thread that runs PlayerControl, saves
// the state every 15 minutes and at exit, and calls the folder watch. WinMain owns it for the
// life of the main loop.
#pragma once

#include <memory>

#include "base/WorkerThread.h"
#include "engine/SoundOutputHost.h"

namespace ox {

class PlayerCore {
 public:
  // Publishes the saved volume and balance, starts the core thread, starts the sibling programs
  // the settings ask for, and triggers the folder watch when "FWSchedule" is 1.
  PlayerCore();
  // Stops the core thread and waits for it (it saves the state on its way out).
  ~PlayerCore();
  PlayerCore(const PlayerCore&) = delete;
  PlayerCore& operator=(const PlayerCore&) = delete;

 private:
  static uint32_t CoreThread(WorkerThread& self);

  std::unique_ptr<WorkerThread> thread_;
  std::unique_ptr<SoundOutputHost> outputs_;
};

}  // namespace ox
