#include "core/InstallFolderRule.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

// The folder is what comes before the last backslash, without a leading quote; source trees, empty
// and bare paths give the fallback.
TEST(InstallFolderRule, FolderOfTheProgramOrTheFallback) {
  const std::string fallback = kFallbackInstallFolder;
  const std::pair<const char*, std::string> cases[] = {
      {"C:\\APPS\\PLAYER\\RILL.EXE", "C:\\APPS\\PLAYER\\"},
      {"\"C:\\APPS\\RILL.EXE", "C:\\APPS\\"},
      {"\\\\SRV\\SHARE\\RILL.EXE", "\\\\SRV\\SHARE\\"},
      {"C:\\Work\\Source Code\\bin\\rill.exe", fallback},
      {"C:\\SOURCE CODE\\rill.exe", fallback},
      {"", fallback},
      {"rill.exe", fallback},
      {"C:\\SOURCE\\CODE\\RILL.EXE", "C:\\SOURCE\\CODE\\"},  // only the two words together count
  };
  for (const auto& [exe, folder] : cases) EXPECT_EQ(InstallFolderFromExePath(exe), folder) << exe;
}

}  // namespace
}  // namespace ox
