#include "core/InstallFolderRule.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

TEST(InstallFolderRule, CutsAfterLastBackslashAndDropsALeadingQuote) {
  EXPECT_EQ(InstallFolderFromExePath("C:\\APPS\\PLAYER\\RILL.EXE"), "C:\\APPS\\PLAYER\\");
  EXPECT_EQ(InstallFolderFromExePath("\"C:\\APPS\\RILL.EXE"), "C:\\APPS\\");
  EXPECT_EQ(InstallFolderFromExePath("\\\\SRV\\SHARE\\RILL.EXE"), "\\\\SRV\\SHARE\\");
}

TEST(InstallFolderRule, SourceTreesEmptyAndBarePathsGiveTheFallback) {
  EXPECT_EQ(InstallFolderFromExePath("C:\\Work\\Source Code\\bin\\rill.exe"), kFallbackInstallFolder);
  EXPECT_EQ(InstallFolderFromExePath("C:\\SOURCE CODE\\rill.exe"), kFallbackInstallFolder);
  EXPECT_EQ(InstallFolderFromExePath(""), kFallbackInstallFolder);
  EXPECT_EQ(InstallFolderFromExePath("rill.exe"), kFallbackInstallFolder);
  // Only the two words together count.
  EXPECT_EQ(InstallFolderFromExePath("C:\\SOURCE\\CODE\\RILL.EXE"), "C:\\SOURCE\\CODE\\");
}

}  // namespace
}  // namespace ox
