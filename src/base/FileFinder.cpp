#include "base/FileFinder.h"

#include <cstring>

#include "base/Path.h"

namespace ox {

FileFinder::FileFinder(std::string folder, const std::string& pattern) : folder_(std::move(folder)) {
  EnsureTrailingBackslash(folder_);
  design_ = folder_ + pattern;
}

bool FileFinder::Next() {
  for (;;) {
    entry_ = WIN32_FIND_DATAA{};
    if (!started_) {
      started_ = true;
      HANDLE h = FindFirstFileA(design_.c_str(), &entry_);
      if (h == INVALID_HANDLE_VALUE) return false;
      find_ = h;
    } else if (!find_ || !FindNextFileA(find_, &entry_)) {
      return false;
    }
    if (entry_.cFileName[0] == '\0') return false;
    if (std::strcmp(entry_.cFileName, ".") != 0 && std::strcmp(entry_.cFileName, "..") != 0) return true;
  }
}

void FileFinder::Close() {
  if (find_) FindClose(find_);
  find_ = nullptr;
}

}  // namespace ox
