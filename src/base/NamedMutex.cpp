#include "base/NamedMutex.h"

namespace ox {

NamedMutex::NamedMutex(const char* name, bool* alreadyExisted)
    : handle_(CreateMutexA(nullptr, FALSE, name)) {
  if (alreadyExisted) *alreadyExisted = handle_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

void NamedMutex::Lock() {
  // WAIT_ABANDONED also grants ownership: the block's bytes are whole copies either way, since
  // every writer copies the full block under the lock.
  if (handle_) WaitForSingleObject(handle_.Get(), INFINITE);
}

void NamedMutex::Unlock() {
  if (handle_) ReleaseMutex(handle_.Get());
}

}  // namespace ox
