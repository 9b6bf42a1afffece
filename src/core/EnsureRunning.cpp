#include "core/EnsureRunning.h"

#include <string>

#include "base/System.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"

namespace ox {

bool EnsurePlayerRunning(uint32_t waitMs) {
  if (evt::OxRillRunning.IsSet()) return true;
  NamedEvent beingStarted("OxRillBeingStarted");
  if (beingStarted.IsSet()) return false;  // another program launches it
  beingStarted.Set();
  const bool running = StartAndAwait("\"" + InstallFolder(true) + "rill.exe\"", evt::OxRillRunning, waitMs);
  beingStarted.Reset();
  return running;
}

}  // namespace ox
