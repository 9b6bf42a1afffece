#include "queue/CollectionView.h"

#include <algorithm>
#include <cstdio>

#include "base/Text.h"

namespace ox {

namespace {

constexpr const char* kNames[kColumnCount] = {"Artist", "Title",  "Album",        "Genre",       "Year",
                                              "Track",  "Length", "Preference", "Times played", "Date added"};

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void AppendFolded(std::string& out, std::string_view text) {
  for (char c : text) out.push_back(Fold(c) == '\0' || c == '\x01' ? ' ' : Fold(c));
}

uint64_t DateAdded(const TrackRecord& r) { return uint64_t{r.dateAddedHigh} << 32 | r.dateAddedLow; }

// The number a numeric column sorts by.
uint64_t Number(const TrackRecord& r, Column column) {
  switch (column) {
    case Column::Year: return static_cast<uint64_t>(int64_t{r.year} + 0x8000);
    case Column::Track: return r.trackNumber;
    case Column::Length: return r.lengthMs;
    case Column::Preference: return r.preference;
    case Column::TimesPlayed: return r.timesPlayed;
    case Column::DateAdded: return DateAdded(r);
    default: return 0;
  }
}

bool IsText(Column column) { return column <= Column::Genre; }

}  // namespace

const char* ColumnName(Column column) {
  const int i = static_cast<int>(column);
  return i >= 0 && i < kColumnCount ? kNames[i] : "";
}

std::string PreferenceText(uint8_t preference) {
  if (preference == 0) return {};
  std::string text = std::to_string((preference + 1) / 2);
  if ((preference + 1) % 2 == 1) text += ".5";
  return text;
}

std::string DateText(uint64_t fileTime) {
  if (fileTime == 0) return {};
  // Days since 1970-01-01, then the civil date of a proleptic Gregorian calendar.
  const int64_t z = static_cast<int64_t>(fileTime / 864000000000ull) - 134774 + 719468;
  const int64_t era = z / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2);
  char text[32];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld", static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day));
  return text;
}

std::string CellText(const TrackRecord& r, std::string_view genre, Column column) {
  switch (column) {
    case Column::Artist: return std::string(r.Artist());
    case Column::Title: return std::string(r.Title());
    case Column::Album: return std::string(r.Album());
    case Column::Genre: return std::string(genre);
    case Column::Year: return r.year > 0 ? std::to_string(r.year) : std::string();
    case Column::Track: return r.trackNumber > 0 ? std::to_string(r.trackNumber) : std::string();
    case Column::Length: {
      char text[32];
      const uint32_t seconds = r.lengthMs / 1000;
      std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
      return text;
    }
    case Column::Preference: return PreferenceText(r.preference);
    case Column::TimesPlayed: return std::to_string(r.timesPlayed);
    case Column::DateAdded: return DateText(DateAdded(r));
  }
  return {};
}

std::string_view CollectionView::Text(uint32_t record, Column column) const {
  const TrackRecord& r = (*records_)[record];
  switch (column) {
    case Column::Artist: return r.Artist();
    case Column::Title: return r.Title();
    case Column::Album: return r.Album();
    case Column::Genre: return genres_ && record < genres_->size() ? std::string_view((*genres_)[record]) : "";
    default: return {};
  }
}

void CollectionView::Reset(const std::vector<TrackRecord>* records, const std::vector<std::string>* genres) {
  records_ = records;
  genres_ = genres;
  const uint32_t count = records ? static_cast<uint32_t>(records->size()) : 0;
  folded_.clear();
  folded_.reserve(size_t{count} * 48);
  starts_.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    starts_[i] = static_cast<uint32_t>(folded_.size());
    for (Column c : {Column::Artist, Column::Title, Column::Album, Column::Genre}) {
      AppendFolded(folded_, Text(i, c));
      folded_.push_back('\x01');  // a match never runs from one field into the next
    }
    folded_.push_back('\0');
  }
  order_.resize(count);
  for (uint32_t i = 0; i < count; ++i) order_[i] = i;
  Sort();
}

void CollectionView::SortBy(Column column, bool ascending) {
  sort_ = column;
  ascending_ = ascending;
  if (records_) Sort();
}

void CollectionView::SetFilter(std::string_view text) {
  filter_.clear();
  AppendFolded(filter_, text);
  if (records_) Filter();
}

void CollectionView::SetGroup(Column column, std::string_view value) {
  groupColumn_ = column;
  group_ = value;
  if (records_) Filter();
}

void CollectionView::Sort() {
  std::sort(order_.begin(), order_.end());
  const Column column = sort_;
  auto before = [&](uint32_t a, uint32_t b) {
    int order;
    if (IsText(column)) {
      order = CompareNoCase(Text(a, column), Text(b, column));
    } else {
      const uint64_t x = Number((*records_)[a], column), y = Number((*records_)[b], column);
      order = x < y ? -1 : x > y ? 1 : 0;
    }
    if (!ascending_) order = -order;
    return order != 0 ? order < 0 : a < b;
  };
  std::sort(order_.begin(), order_.end(), before);
  Filter();
}

void CollectionView::Filter() {
  std::vector<uint8_t> pass(order_.size(), filter_.empty() ? 1 : 0);
  if (!filter_.empty()) {
    for (size_t at = folded_.find(filter_); at != std::string::npos;) {
      const size_t record = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), at) - starts_.begin()) - 1;
      pass[record] = 1;
      const size_t next = record + 1 < starts_.size() ? starts_[record + 1] : folded_.size();
      at = folded_.find(filter_, next);
    }
  }
  rows_.clear();
  for (uint32_t record : order_)
    if (pass[record] && (group_.empty() || EqualNoCase(Text(record, groupColumn_), group_))) rows_.push_back(record);
}

std::vector<std::pair<std::string, uint32_t>> CollectionView::Groups(Column column) const {
  std::vector<std::pair<std::string, uint32_t>> groups;
  if (!records_ || !IsText(column)) return groups;
  std::vector<uint32_t> byValue(records_->size());
  for (uint32_t i = 0; i < byValue.size(); ++i) byValue[i] = i;
  std::sort(byValue.begin(), byValue.end(), [&](uint32_t a, uint32_t b) {
    const int order = CompareNoCase(Text(a, column), Text(b, column));
    return order != 0 ? order < 0 : a < b;
  });
  for (uint32_t record : byValue) {
    const std::string_view value = Text(record, column);
    if (!groups.empty() && EqualNoCase(groups.back().first, value))
      ++groups.back().second;
    else
      groups.emplace_back(std::string(value), 1);
  }
  return groups;
}

}  // namespace ox
