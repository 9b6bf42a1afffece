#include "queue/CollectionView.h"

#include <algorithm>
#include <cstdio>

#include "base/Text.h"

namespace ox {

namespace {

constexpr const char* kNames[kColumnCount] = {"Artist", "Title",  "Album",      "Genre",        "Year",
                                              "Track",  "Length", "Preference", "Times played", "Date added"};

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void AppendFolded(std::string& out, std::string_view text) {
  for (char c : text) out.push_back(Fold(c) == '\0' || c == '\x01' ? ' ' : Fold(c));
}

uint64_t DateAdded(const TrackRecord& r) { return uint64_t{r.dateAddedHigh} << 32 | r.dateAddedLow; }

// The number a numeric column sorts by.
uint64_t Number(const TrackRecord& r, Column column) {
  switch (column) {
    case Column::Year:
      return static_cast<uint64_t>(int64_t{r.year} + 0x8000);
    case Column::Track:
      return r.trackNumber;
    case Column::Length:
      return r.lengthMs;
    case Column::Preference:
      return r.preference;
    case Column::TimesPlayed:
      return r.timesPlayed;
    case Column::DateAdded:
      return DateAdded(r);
    default:
      return 0;
  }
}

bool IsText(Column column) { return column <= Column::Genre; }

// The first eight bytes of a text, big-endian, so that comparing keys compares the texts' starts.
uint64_t Prefix(std::string_view text) {
  uint64_t key = 0;
  for (size_t i = 0; i < 8; ++i) key = key << 8 | (i < text.size() ? static_cast<uint8_t>(text[i]) : 0u);
  return key;
}

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
    case Column::Artist:
      return std::string(r.Artist());
    case Column::Title:
      return std::string(r.Title());
    case Column::Album:
      return std::string(r.Album());
    case Column::Genre:
      return std::string(genre);
    case Column::Year:
      return r.year > 0 ? std::to_string(r.year) : std::string();
    case Column::Track:
      return r.trackNumber > 0 ? std::to_string(r.trackNumber) : std::string();
    case Column::Length: {
      char text[32];
      const uint32_t seconds = r.lengthMs / 1000;
      std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
      return text;
    }
    case Column::Preference:
      return PreferenceText(r.preference);
    case Column::TimesPlayed:
      return std::to_string(r.timesPlayed);
    case Column::DateAdded:
      return DateText(DateAdded(r));
  }
  return {};
}

std::string_view CollectionView::Text(uint32_t record, Column column) const {
  const TrackRecord& r = (*records_)[record];
  switch (column) {
    case Column::Artist:
      return r.Artist();
    case Column::Title:
      return r.Title();
    case Column::Album:
      return r.Album();
    case Column::Genre:
      return genres_ && record < genres_->size() ? std::string_view((*genres_)[record]) : "";
    default:
      return {};
  }
}

void CollectionView::Reset(const std::vector<TrackRecord>* records, const std::vector<std::string>* genres) {
  records_ = records;
  genres_ = genres;
  const uint32_t count = records ? static_cast<uint32_t>(records->size()) : 0;
  folded_.clear();
  folded_.reserve(size_t{count} * 48);
  starts_.resize(count);
  fields_.resize(size_t{count} * 4 + 1);
  for (uint32_t i = 0; i < count; ++i) {
    starts_[i] = static_cast<uint32_t>(folded_.size());
    for (Column c : {Column::Artist, Column::Title, Column::Album, Column::Genre}) {
      fields_[size_t{i} * 4 + static_cast<size_t>(c)] = static_cast<uint32_t>(folded_.size());
      AppendFolded(folded_, Text(i, c));
      folded_.push_back('\x01');  // a match never runs from one field into the next
    }
    folded_.push_back('\0');
  }
  fields_.back() = static_cast<uint32_t>(folded_.size());
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

std::string_view CollectionView::Folded(uint32_t record, Column column) const {
  const size_t k = size_t{record} * 4 + static_cast<size_t>(column);
  // Each field ends in '\x01'; the last one's record also in '\0'.
  const size_t end = fields_[k + 1] - 1 - (column == Column::Genre ? 1 : 0);
  return std::string_view(folded_).substr(fields_[k], end - fields_[k]);
}

std::vector<uint32_t> CollectionView::Ordered(Column column, bool ascending) const {
  struct Key {
    uint64_t prefix;
    uint32_t record;
  };
  const uint32_t count = static_cast<uint32_t>(records_->size());
  std::vector<Key> keys(count);
  const bool text = IsText(column);
  for (uint32_t i = 0; i < count; ++i) keys[i] = {text ? Prefix(Folded(i, column)) : Number((*records_)[i], column), i};
  std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
    if (a.prefix != b.prefix) return (a.prefix < b.prefix) == ascending;
    if (text) {
      const int order = Folded(a.record, column).compare(Folded(b.record, column));
      if (order != 0) return (order < 0) == ascending;
    }
    return a.record < b.record;
  });
  std::vector<uint32_t> order(count);
  for (uint32_t i = 0; i < count; ++i) order[i] = keys[i].record;
  return order;
}

void CollectionView::Sort() {
  order_ = Ordered(sort_, ascending_);
  Filter();
}

void CollectionView::Filter() {
  std::vector<uint8_t> pass(order_.size(), filter_.empty() ? 1 : 0);
  if (!filter_.empty()) {
    for (size_t at = folded_.find(filter_); at != std::string::npos;) {
      const size_t record =
          static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), at) - starts_.begin()) - 1;
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
  std::string_view last;
  for (uint32_t record : Ordered(column, true)) {
    const std::string_view folded = Folded(record, column);
    if (!groups.empty() && folded == last) {
      ++groups.back().second;
    } else {
      groups.emplace_back(std::string(Text(record, column)), 1);
      last = folded;
    }
  }
  return groups;
}

}  // namespace ox
