#include "engine/PluginFolder.h"

#include "base/FileFinder.h"

namespace ox {

std::vector<LoadedDll> LoadPluginFolder(const std::string& folder) {
  std::vector<LoadedDll> dlls;
  FileFinder finder(folder, "*.dll");
  // A DLL that fails to load must not put up a system error box in front of the user.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  while (finder.Next()) {
    if (finder.IsDirectory()) continue;
    std::string path = finder.FullPath();
    UniqueModule module(LoadLibraryA(path.c_str()));
    if (module) dlls.push_back({std::move(path), std::move(module)});
  }
  SetErrorMode(oldMode);
  return dlls;
}

}  // namespace ox
