// A manual-reset kernel event, named so that every program of the suite opens the same one, or
// unnamed for flags inside the process. Creating a name that already exists opens that event and
// keeps its state: the initial "not set" only applies to the process that creates it.
#pragma once

#include "base/Handle.h"

namespace ox {

class NamedEvent {
 public:
  // name may be null for an unnamed event. alreadyExisted (optional) receives whether the name
  // was there before. A failed creation leaves the event inert: IsSet gives false, the rest
  // does nothing.
  explicit NamedEvent(const char* name, bool* alreadyExisted = nullptr);
  NamedEvent(NamedEvent&&) = default;
  NamedEvent& operator=(NamedEvent&&) = default;

  void Set();
  void Reset();
  bool IsSet() const;  // never blocks
  bool Toggle();       // returns the new state: true when it was just set
  bool IsValid() const { return static_cast<bool>(handle_); }
  HANDLE Handle() const { return handle_.Get(); }

 private:
  UniqueHandle handle_;
};

}  // namespace ox
