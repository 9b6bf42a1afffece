#include "queue/FolderWatchRules.h"

#include "base/Text.h"

namespace ox {

uint32_t ScheduleMinutes(std::string_view text) {
  uint64_t minutes = 0;
  size_t i = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    minutes = minutes * 10 + static_cast<uint32_t>(text[i] - '0');
    if (minutes > 71582) minutes = 71582;  // more would overflow the milliseconds of a tick count
  }
  return minutes == 0 ? 30 : static_cast<uint32_t>(minutes);
}

bool IsRecyclerFolder(std::string_view name) { return EqualNoCase(name, "recycler"); }

std::string KnownPaths::AsciiUpper(std::string_view path) {
  std::string folded(path);
  for (char& c : folded)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return folded;
}

void KnownPaths::Add(std::string_view path) { paths_.insert(fold_(path)); }

bool KnownPaths::Contains(std::string_view path) const { return paths_.count(fold_(path)) != 0; }

}  // namespace ox
