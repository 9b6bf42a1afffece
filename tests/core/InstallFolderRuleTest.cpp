#include "core/InstallFolderRule.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

TEST(InstallFolderRule, CutsAfterLastBackslashInUpperCase) {
  EXPECT_EQ(InstallFolderFromExePath("C:\\Apps\\Player\\rill.exe"), "C:\\APPS\\PLAYER\\");
  EXPECT_EQ(InstallFolderFromExePath("\"C:\\Apps\\rill.exe"), "C:\\APPS\\");
  EXPECT_EQ(InstallFolderFromExePath("\\\\srv\\share\\rill.exe"), "\\\\SRV\\SHARE\\");
}

TEST(InstallFolderRule, SourceTreesEmptyAndBarePathsGiveTheFallback) {
  EXPECT_EQ(InstallFolderFromExePath("C:\\Work\\Source Code\\bin\\rill.exe"), kFallbackInstallFolder);
  EXPECT_EQ(InstallFolderFromExePath("C:\\SOURCE CODE\\rill.exe"), kFallbackInstallFolder);
  EXPECT_EQ(InstallFolderFromExePath(""), kFallbackInstallFolder);
  EXPECT_EQ(InstallFolderFromExePath("rill.exe"), kFallbackInstallFolder);
  EXPECT_EQ(std::string(kFallbackInstallFolder), "c:\\Program files\\Quillmarsh\\Orlavox\\");
  // Only the two words together count.
  EXPECT_EQ(InstallFolderFromExePath("C:\\Source\\Code\\rill.exe"), "C:\\SOURCE\\CODE\\");
}

}  // namespace
}  // namespace ox
