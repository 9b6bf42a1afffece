// Every background thread of the player runs through a WorkerThread: a thread with a stop event
// that its owner sets to ask it to end, and a finished event that the thread sets as its very last
// act. Thread functions are polling loops that test StopRequested between short sleeps; nothing is
// ever terminated by force.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/NamedEvent.h"

namespace ox {

class WorkerThread {
 public:
  // The function runs on the new thread with this WorkerThread; its result is not used.
  using Function = uint32_t (*)(WorkerThread& self);

  // Starts the thread (suspended when asked; Resume starts it). When no thread can be started, or
  // function is null, the finished event is set at once, so Stop(true) still returns.
  WorkerThread(Function function, uintptr_t argument, bool suspended = false);
  // Stop(true): asks the thread to end and waits until its function has returned.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  void Resume();
  void SetPriority(int level);  // THREAD_PRIORITY_* values: -2 lowest ... 2 highest

  // Sets the stop event; with wait, polls the finished event every 25 ms, without a time limit.
  // Never call Stop(true) from the thread itself.
  void Stop(bool wait);
  bool IsFinished() const { return finished_.IsSet(); }
  // Answered from memory: a polling loop asks this every few milliseconds, and the event's state
  // would be a round trip to the system each time.
  bool StopRequested() const { return stopping_.load(); }
  // The stop event itself, for a thread that waits on it (with its messages) instead of polling.
  HANDLE StopHandle() const { return stop_.Handle(); }
  bool IsRunning() const { return thread_ != nullptr; }  // a thread was started

  // One pointer-sized value the owner leaves for the thread function (usually the owner itself).
  uintptr_t Argument() const { return argument_; }
  void SetArgument(uintptr_t argument) { argument_ = argument; }

 private:
  static unsigned __stdcall Entry(void* self);

  std::atomic<bool> stopping_{false};  // Stop was called (the stop event is set just after)
  NamedEvent stop_{nullptr};
  NamedEvent finished_{nullptr};
  Function function_;
  uintptr_t argument_;
  void* thread_ = nullptr;
};

}  // namespace ox
