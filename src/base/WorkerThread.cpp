#include "base/WorkerThread.h"

#include <process.h>
#include <windows.h>

namespace ox {

WorkerThread::WorkerThread(Function function, uintptr_t argument, bool suspended)
    : function_(function), argument_(argument) {
  if (function_)
    thread_ = reinterpret_cast<void*>(_beginthreadex(nullptr, 0, &WorkerThread::Entry, this,
                                                     suspended ? CREATE_SUSPENDED : 0, nullptr));
  if (!thread_) finished_.Set();
}

WorkerThread::~WorkerThread() {
  Stop(true);
  if (thread_) CloseHandle(thread_);
}

unsigned __stdcall WorkerThread::Entry(void* param) {
  auto* self = static_cast<WorkerThread*>(param);
  self->function_(*self);
  self->finished_.Set();  // the last touch of *self: the owner may destroy it from here on
  _endthreadex(0);
  return 0;
}

void WorkerThread::Resume() {
  if (thread_) ResumeThread(thread_);
}

void WorkerThread::SetPriority(int level) {
  if (thread_) SetThreadPriority(thread_, level);
}

void WorkerThread::Stop(bool wait) {
  stopping_ = true;
  stop_.Set();
  if (!wait) return;
  // A thread created suspended and never resumed would never finish.
  if (thread_) ResumeThread(thread_);
  while (!finished_.IsSet()) Sleep(25);
}

}  // namespace ox
