#include "core/EnsureRunning.h"

#include <windows.h>

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
  const std::string command = "\"" + InstallFolder(true) + "rill.exe\"";
  if (RunProgram(command, false)) {
    const DWORD start = GetTickCount();
    while (!evt::OxRillRunning.IsSet() && GetTickCount() - start < waitMs) Sleep(100);
  }
  beingStarted.Reset();
  return evt::OxRillRunning.IsSet();
}

}  // namespace ox
