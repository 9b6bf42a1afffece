#include "base/FileFinder.h"

#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"
#include "base/System.h"

namespace ox {
namespace {

// Never "." or "..": an empty or missing folder gives no entry.
TEST(FileFinder, ListsMatchingEntriesWithFullPaths) {
  oxtest::ScratchFolder dir;
  FileFinder empty(dir.Path(), "*.*"), missing(dir / "nope", "*.*");
  EXPECT_FALSE(empty.Next() || empty.IsDirectory() || missing.Next());
  oxtest::WriteWholeFile(dir / "a.dll", std::string("x"));
  oxtest::WriteWholeFile(dir / "b.DLL", std::string("x"));
  oxtest::WriteWholeFile(dir / "c.txt", std::string("x"));
  ASSERT_TRUE(CreateFolders(dir / "sub.dll"));

  // The folder without its trailing backslash gets one.
  std::string folder = dir.Path();
  folder.pop_back();
  FileFinder finder(folder, "*.dll");
  std::set<std::string> files, folders;
  while (finder.Next()) {
    EXPECT_EQ(finder.FullPath(), dir.Path() + finder.Name());
    (finder.IsDirectory() ? folders : files).insert(finder.Name());
  }
  finder.Close();
  EXPECT_EQ(files, (std::set<std::string>{"a.dll", "b.DLL"}));
  EXPECT_EQ(folders, (std::set<std::string>{"sub.dll"}));
}

TEST(System, CreateFolders_MakesEveryMissingLevel) {
  oxtest::ScratchFolder dir;
  EXPECT_TRUE(CreateFolders(dir / "one\\two\\three\\"));
  EXPECT_TRUE(CreateFolders(dir / "one\\two"));  // existing ones are fine
  oxtest::WriteWholeFile(dir / "file", std::string("x"));
  EXPECT_FALSE(CreateFolders(dir / "file\\below"));
  EXPECT_FALSE(CreateFolders(dir / std::string(300, 'd')));
}

}  // namespace
}  // namespace ox
