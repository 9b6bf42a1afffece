#include "base/Path.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

// Only the last component's dot counts; names and folders split at the last backslash; a path of
// any length is handled whole.
TEST(Path, PartsOfAPath) {
  using Part = std::string (*)(std::string_view);
  const std::string longFolder = "C:\\" + std::string(32767, 'f');
  const struct {
    Part part;
    std::string path, expected;
  } cases[] = {
      {ExtensionOf, "C:\\Music\\song.MP3", ".MP3"},     {ExtensionOf, "C:\\Music\\song.tar.gz", ".gz"},
      {ExtensionOf, "song.", "."},                      {ExtensionOf, "C:\\Music\\song", "."},
      {ExtensionOf, "C:\\Music.d\\song", "."},          {ExtensionOf, "", "."},
      {FileNameOf, "C:\\Music\\a b.wav", "a b.wav"},    {FileNameOf, "a.wav", "a.wav"},
      {FileNameOf, "C:\\Music\\", ""},                  {FolderOf, "C:\\Music\\a.wav", "C:\\Music\\"},
      {FolderOf, "a.wav", "a.wav"},                     {StripExtension, "C:\\Music.d\\song", "C:\\Music.d\\song"},
      {StripExtension, "C:\\Music\\song.mp3", "C:\\Music\\song"},
      {FileTitleOf, "C:\\Music.d\\song.x.mp3", "song.x"}, {FileTitleOf, "C:\\Music.d\\song", "song"},
      {ExtensionOf, longFolder + "\\song.flac", ".flac"}, {FolderOf, longFolder + "\\song.flac", longFolder + "\\"},
      {FileTitleOf, longFolder + "\\song.flac", "song"},
      {SafeFileName, "AC/DC: \"Live\" <1979>?*|\\\t", "AC_DC_ _Live_ _1979______"}, {SafeFileName, "Intro...  ", "Intro"},
      {SafeFileName, " . ", ""}, {SafeFileName, "Ça ♫", "Ça ♫"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.part(c.path), c.expected) << c.path.substr(0, 40);
  for (const auto& [path, expected] : {std::pair<std::string, std::string>{"", ""}, {"C:\\a", "C:\\a\\"}, {"C:\\a\\", "C:\\a\\"}}) {
    std::string folder = path;
    EnsureTrailingBackslash(folder);  // only on a non-empty path without one
    EXPECT_EQ(folder, expected) << path;
  }
}

TEST(Path, FolderChain_SkipsRootsAndShares) {
  using V = std::vector<std::string>;
  const struct {
    std::string path;
    V chain;
  } cases[] = {
      {"C:\\a\\b\\c\\", {"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}},
      {"C:\\a\\\\b", {"C:\\a", "C:\\a\\\\b"}},
      {"\\\\server\\share\\x\\y", {"\\\\server\\share\\x", "\\\\server\\share\\x\\y"}},
      {"\\\\server\\share", {}},
      {"rel\\dir", {"rel", "rel\\dir"}},
      {"\\top\\dir", {"\\top", "\\top\\dir"}},
      {"C:\\", {}},
      {"C:a\\b", {"C:a", "C:a\\b"}},  // relative to the drive's current folder
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderChain(c.path), c.chain) << c.path;
  EXPECT_EQ(FolderChain("C:\\" + std::string(32767, 'f') + "\\song.flac").size(), 2u);
}

}  // namespace
}  // namespace ox
