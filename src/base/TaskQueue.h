// Work that may wait, run in the order it was posted on a thread of its own: a window posts it and
// goes on, so a file another program holds for a moment (a queue file retried for up to 10 s)
// never freezes a window.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "base/NamedEvent.h"
#include "base/WorkerThread.h"

namespace ox {

class TaskQueue {
 public:
  TaskQueue();
  // Runs what is still waiting, then ends the thread: posted work is never dropped.
  ~TaskQueue();
  TaskQueue(const TaskQueue&) = delete;
  TaskQueue& operator=(const TaskQueue&) = delete;

  // Any thread. Without a thread (none could be started) the task runs here and now.
  void Post(std::function<void()> task);
  // Whether nothing waits or runs (for tests).
  bool IsIdle() const;

 private:
  static uint32_t Run(WorkerThread& self);
  // Takes the next task; false when none waits.
  bool Next(std::function<void()>& task);

  mutable std::mutex lock_;
  std::deque<std::function<void()>> tasks_;  // under lock_
  bool running_ = false;                     // under lock_: a task is out of the queue and running
  NamedEvent posted_{nullptr};
  std::unique_ptr<WorkerThread> thread_;
};

// The process's queue for the file work its windows hand off (dropped files played or queued, a
// track enqueued from a menu); made at first use, it finishes its work when the process exits.
TaskQueue& FileTasks();

}  // namespace ox
