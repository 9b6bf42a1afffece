// What the collection editor's library list shows: the record numbers of the collection that pass
// the find-as-you-type text and the chosen group, in the order of the chosen column, and each
// cell's text. Built for 100,000 records: the search runs over one folded text of all records, a
// sort touches only an index. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/TrackRecord.h"

namespace ox {

enum class Column : uint8_t { Artist, Title, Album, Genre, Year, Track, Length, Preference, TimesPlayed, DateAdded };
constexpr int kColumnCount = 10;

// The column's heading ("Artist", ..., "Date added").
const char* ColumnName(Column column);

// A preference as the player shows it: 1-9 read 1, 1.5, ... 5; 0 (unset) reads "".
std::string PreferenceText(uint8_t preference);
// The date part of a UTC FILETIME as "YYYY-MM-DD"; "" for 0.
std::string DateText(uint64_t fileTime);
// The cell of one record (genre from the side index).
std::string CellText(const TrackRecord& record, std::string_view genre, Column column);

class CollectionView {
 public:
  // records and genres (one per record) are read, not owned: call Reset again whenever they
  // change. Keeps the sort, the filter and the group.
  void Reset(const std::vector<TrackRecord>* records, const std::vector<std::string>* genres);

  // Order by a column; equal cells keep record order.
  void SortBy(Column column, bool ascending);
  // Records whose artist, title, album or genre contain text (A-Z without case); "" shows all.
  void SetFilter(std::string_view text);
  // Only the records whose artist (or album) equals value, without case; an empty value: all.
  void SetGroup(Column column, std::string_view value);

  const std::vector<uint32_t>& Rows() const { return rows_; }
  Column SortColumn() const { return sort_; }
  bool Ascending() const { return ascending_; }

  // The distinct values of a text column with how many records hold each, ordered without case
  // (for the group tree and the selective-play lists).
  std::vector<std::pair<std::string, uint32_t>> Groups(Column column) const;

 private:
  void Sort();
  void Filter();
  std::string_view Text(uint32_t record, Column column) const;
  // A text column's folded text of one record (what sorting and grouping compare).
  std::string_view Folded(uint32_t record, Column column) const;
  // Every record number in the column's order; equal cells in record order.
  std::vector<uint32_t> Ordered(Column column, bool ascending) const;

  const std::vector<TrackRecord>* records_ = nullptr;
  const std::vector<std::string>* genres_ = nullptr;
  std::string folded_;            // every record's searched fields, A-Z folded, '\0' after each record
  std::vector<uint32_t> starts_;  // where each record's text begins in folded_
  std::vector<uint32_t> fields_;  // where each of its four fields begins, and one past the last
  std::vector<uint32_t> order_;   // every record number, sorted
  std::vector<uint32_t> rows_;    // order_ through the filter and group
  Column sort_ = Column::Artist;
  bool ascending_ = true;
  std::string filter_;
  Column groupColumn_ = Column::Artist;
  std::string group_;
};

}  // namespace ox
