// One walk over the entries of one folder that match one pattern, in the order the file system
// gives them. "." and ".." are skipped.
#pragma once

#include <windows.h>

#include <string>

namespace ox {

class FileFinder {
 public:
  // folder may end in a backslash or not; pattern is "*.*", "*.dll", a file name, ...
  FileFinder(std::string folder, const std::string& pattern);
  ~FileFinder() { Close(); }
  FileFinder(const FileFinder&) = delete;
  FileFinder& operator=(const FileFinder&) = delete;

  // Moves to the next entry; false at the end (or when the folder cannot be read).
  bool Next();
  const char* Name() const { return entry_.cFileName; }
  std::string FullPath() const { return folder_ + entry_.cFileName; }
  bool IsDirectory() const { return find_ && (entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY); }
  const WIN32_FIND_DATAA& Entry() const { return entry_; }
  void Close();

 private:
  HANDLE find_ = nullptr;
  bool started_ = false;
  WIN32_FIND_DATAA entry_{};
  std::string folder_;  // with a trailing backslash unless empty
  std::string design_;    // folder + pattern
};

}  // namespace ox
