#include "base/Path.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

TEST(Path, ExtensionOf_DotOnlyInLastComponentCounts) {
  EXPECT_EQ(ExtensionOf("C:\\Music\\song.MP3"), ".MP3");
  EXPECT_EQ(ExtensionOf("C:\\Music\\song.tar.gz"), ".gz");
  EXPECT_EQ(ExtensionOf("song."), ".");
  EXPECT_EQ(ExtensionOf("C:\\Music\\song"), ".");
  EXPECT_EQ(ExtensionOf("C:\\Music.d\\song"), ".");  // dot only in a folder name
  EXPECT_EQ(ExtensionOf(""), ".");
}

TEST(Path, NamesAndFolders_SplitAtLastBackslash) {
  EXPECT_EQ(FileNameOf("C:\\Music\\a b.wav"), "a b.wav");
  EXPECT_EQ(FileNameOf("a.wav"), "a.wav");
  EXPECT_EQ(FileNameOf("C:\\Music\\"), "");
  EXPECT_EQ(FolderOf("C:\\Music\\a.wav"), "C:\\Music\\");
  EXPECT_EQ(FolderOf("a.wav"), "a.wav");  // unchanged without a backslash
  EXPECT_EQ(StripExtension("C:\\Music.d\\song"), "C:\\Music.d\\song");
  EXPECT_EQ(StripExtension("C:\\Music\\song.mp3"), "C:\\Music\\song");
  EXPECT_EQ(FileTitleOf("C:\\Music.d\\song.x.mp3"), "song.x");
  EXPECT_EQ(FileTitleOf("C:\\Music.d\\song"), "song");
}

TEST(Path, EnsureTrailingBackslash_OnlyOnNonEmptyWithoutOne) {
  std::string empty, folder = "C:\\a", done = "C:\\a\\";
  EnsureTrailingBackslash(empty);
  EnsureTrailingBackslash(folder);
  EnsureTrailingBackslash(done);
  EXPECT_EQ(empty, "");
  EXPECT_EQ(folder, "C:\\a\\");
  EXPECT_EQ(done, "C:\\a\\");
}

TEST(Path, FolderChain_SkipsRootsAndShares) {
  using V = std::vector<std::string>;
  EXPECT_EQ(FolderChain("C:\\a\\b\\c\\"), (V{"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}));
  EXPECT_EQ(FolderChain("C:\\a\\\\b"), (V{"C:\\a", "C:\\a\\\\b"}));
  EXPECT_EQ(FolderChain("\\\\server\\share\\x\\y"), (V{"\\\\server\\share\\x", "\\\\server\\share\\x\\y"}));
  EXPECT_EQ(FolderChain("\\\\server\\share"), V{});
  EXPECT_EQ(FolderChain("rel\\dir"), (V{"rel", "rel\\dir"}));
  EXPECT_EQ(FolderChain("\\top\\dir"), (V{"\\top", "\\top\\dir"}));
  EXPECT_EQ(FolderChain("C:\\"), V{});
  EXPECT_EQ(FolderChain("C:a\\b"), (V{"C:a", "C:a\\b"}));  // relative to the drive's current folder
  EXPECT_EQ(FolderChain(""), V{});
}

TEST(Path, VeryLongPaths_AreHandledWhole) {
  const std::string folder = "C:\\" + std::string(32767, 'f');
  const std::string path = folder + "\\song.flac";
  EXPECT_EQ(ExtensionOf(path), ".flac");
  EXPECT_EQ(FolderOf(path), folder + "\\");
  EXPECT_EQ(FileTitleOf(path), "song");
  EXPECT_EQ(FolderChain(path).size(), 2u);
}

}  // namespace
}  // namespace ox
