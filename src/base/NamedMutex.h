// A kernel mutex, named to be shared by the programs of the suite or unnamed for the process.
#pragma once

#include "base/Handle.h"

namespace ox {

class NamedMutex {
 public:
  explicit NamedMutex(const char* name, bool* alreadyExisted = nullptr);
  NamedMutex(NamedMutex&&) = default;
  NamedMutex& operator=(NamedMutex&&) = default;

  // Waits without a time limit. A mutex abandoned by a process that died holding it is still
  // obtained. Both do nothing when creation failed.
  void Lock();
  void Unlock();
  bool IsValid() const { return static_cast<bool>(handle_); }

 private:
  UniqueHandle handle_;
};

// Holds a NamedMutex for one scope.
class ScopedLock {
 public:
  explicit ScopedLock(NamedMutex& m) : m_(m) { m_.Lock(); }
  ~ScopedLock() { m_.Unlock(); }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

 private:
  NamedMutex& m_;
};

}  // namespace ox
