#include "queue/TrackRows.h"

#include "base/Path.h"
#include "base/Text.h"

namespace ox {

std::string RowTitle(const TrackRecord& record) {
  if (!record.Title().empty()) return std::string(record.Title());
  return FileTitleOf(record.Path());
}

std::string LengthText(uint64_t ms) {
  if (ms == 0) return {};
  const uint64_t seconds = ms / 1000, hours = seconds / 3600, minutes = seconds / 60 % 60, s = seconds % 60;
  const auto two = [](uint64_t v) { return (v < 10 ? "0" : "") + std::to_string(v); };
  if (hours) return std::to_string(hours) + ":" + two(minutes) + ":" + two(s);
  return std::to_string(minutes) + ":" + two(s);
}

std::string TotalText(uint64_t tracks, uint64_t totalMs, uint64_t unknownLengths) {
  std::string text = std::to_string(tracks) + (tracks == 1 ? " track" : " tracks");
  if (totalMs) text += (unknownLengths ? ", at least " : ", ") + LengthText(totalMs);
  return text;
}

bool RowMatches(const TrackRecord& record, std::string_view filter) {
  size_t at = 0;
  while (at < filter.size()) {
    const size_t space = filter.find(' ', at);
    const std::string_view word = filter.substr(at, space == std::string_view::npos ? std::string_view::npos : space - at);
    at = space == std::string_view::npos ? filter.size() : space + 1;
    if (word.empty()) continue;
    if (!ContainsNoCase(record.Title(), word) && !ContainsNoCase(record.Artist(), word) &&
        !ContainsNoCase(record.Album(), word) && !ContainsNoCase(record.Path(), word))
      return false;
  }
  return true;
}

}  // namespace ox
