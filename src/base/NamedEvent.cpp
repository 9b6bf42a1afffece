#include "base/NamedEvent.h"

namespace ox {

NamedEvent::NamedEvent(const char* name, bool* alreadyExisted)
    : handle_(CreateEventA(nullptr, TRUE, FALSE, name)) {
  if (alreadyExisted) *alreadyExisted = handle_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

void NamedEvent::Set() {
  if (handle_) SetEvent(handle_.Get());
}

void NamedEvent::Reset() {
  if (handle_) ResetEvent(handle_.Get());
}

bool NamedEvent::IsSet() const {
  return handle_ && WaitForSingleObject(handle_.Get(), 0) == WAIT_OBJECT_0;
}

bool NamedEvent::Toggle() {
  if (IsSet()) {
    Reset();
    return false;
  }
  Set();
  return true;
}

}  // namespace ox
