#include "core/InstallFolderRule.h"

#include "base/Text.h"

namespace ox {

std::string InstallFolderFromExePath(std::string_view exePath) {
  const size_t slash = exePath.rfind('\\');
  if (exePath.empty() || slash == std::string_view::npos || ContainsNoCase(exePath, "SOURCE CODE"))
    return kFallbackInstallFolder;
  std::string folder(exePath.substr(0, slash + 1));
  if (folder[0] == '"') folder.erase(0, 1);
  return folder;
}

}  // namespace ox
