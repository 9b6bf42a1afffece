// Loads every DLL of a plug-in folder, in the order the file system lists them.
#pragma once

#include <string>
#include <vector>

#include "base/Handle.h"

namespace ox {

struct LoadedDll {
  std::string path;  // full path as the folder walk gave it
  UniqueModule module;
};

// DLLs that do not load (not a DLL, another architecture, a missing dependency) are skipped
// without a message. A missing folder gives none.
std::vector<LoadedDll> LoadPluginFolder(const std::string& folder);

}  // namespace ox
