// How the installation folder follows from the executable's path. Pure: no <windows.h>.
#pragma once

#include <string>
#include <string_view>

namespace ox {

// Where the suite installs itself when the executable's path tells nothing: a development build
// run from a "source code" tree, or no path at all.
constexpr const char* kFallbackInstallFolder = "c:\\Program files\\Quillmarsh\\Orlavox\\";

// The executable's path (which the caller has put in upper case, in the system's code page) cut
// just after its last backslash, without a leading double quote. A path that is empty, has no
// backslash, or contains "SOURCE CODE" in any case gives the fallback folder.
std::string InstallFolderFromExePath(std::string_view exePath);

}  // namespace ox
