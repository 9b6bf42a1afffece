#include "base/TaskQueue.h"

#include <windows.h>

namespace ox {

TaskQueue::TaskQueue() {
  thread_ = std::make_unique<WorkerThread>(Run, reinterpret_cast<uintptr_t>(this));
  if (!thread_->IsRunning()) thread_.reset();
}

TaskQueue::~TaskQueue() { thread_.reset(); }  // the thread runs the rest before it ends

void TaskQueue::Post(std::function<void()> task) {
  if (!thread_) {
    task();
    return;
  }
  {
    std::lock_guard<std::mutex> hold(lock_);
    tasks_.push_back(std::move(task));
  }
  posted_.Set();
}

bool TaskQueue::IsIdle() const {
  std::lock_guard<std::mutex> hold(lock_);
  return tasks_.empty() && !running_;
}

bool TaskQueue::Next(std::function<void()>& task) {
  std::lock_guard<std::mutex> hold(lock_);
  running_ = !tasks_.empty();
  if (!running_) return false;
  task = std::move(tasks_.front());
  tasks_.pop_front();
  return true;
}

uint32_t TaskQueue::Run(WorkerThread& self) {
  auto& queue = *reinterpret_cast<TaskQueue*>(self.Argument());
  const HANDLE wake[] = {self.StopHandle(), queue.posted_.Handle()};
  for (;;) {
    queue.posted_.Reset();  // before looking: a post after the look sets it again
    std::function<void()> task;
    while (queue.Next(task)) task();
    if (self.StopRequested()) break;
    if (WaitForMultipleObjects(2, wake, FALSE, INFINITE) == WAIT_FAILED) Sleep(10);
  }
  return 0;
}

TaskQueue& FileTasks() {
  static TaskQueue tasks;
  return tasks;
}

}  // namespace ox
