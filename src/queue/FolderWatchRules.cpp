#include "queue/FolderWatchRules.h"

#include "base/Text.h"

namespace ox {
namespace {

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return folded;
}

}  // namespace

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

void KnownPaths::Add(std::string_view path) { paths_.insert(Folded(path)); }

bool KnownPaths::Contains(std::string_view path) const { return paths_.count(Folded(path)) != 0; }

}  // namespace ox
