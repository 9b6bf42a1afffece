// The collection editor's model: the library list's order, filter and groups, the side index
// file, and the rules of re-scans, hand-over and selective play.
#include <gtest/gtest.h>

#include <cstring>

#include "queue/CollectionRules.h"
#include "queue/CollectionView.h"
#include "queue/SideIndex.h"

namespace ox {
namespace {

TrackRecord Track(const char* artist, const char* title, const char* album, int year, uint32_t lengthMs,
                  uint8_t preference, const char* path = "") {
  TrackRecord r{};
  CopyBounded(r.artist, artist);
  CopyBounded(r.title, title);
  CopyBounded(r.album, album);
  CopyBounded(r.path, *path ? std::string(path) : std::string("C:\\") + title + ".mp3");
  r.year = static_cast<int16_t>(year);
  r.lengthMs = lengthMs;
  r.preference = preference;
  return r;
}

const std::vector<TrackRecord> kRecords = {
    Track("beta", "Song", "Zed", 1999, 200000, 9),      // 0
    Track("Alpha", "other", "alpha", 2001, 100000, 3),  // 1
    Track("alpha", "Third", "Best Of", 0, 300000, 5),   // 2
    Track("Gamma", "songbird", "", 1980, 5000, 0),      // 3
};
const std::vector<std::string> kGenres = {"Jazz", "Rock", "rock", "Folk Song"};

TEST(CollectionViewTest, SortsFiltersAndGroups) {
  const struct {
    Column sort;
    bool ascending;
    const char* filter;
    Column groupColumn;
    const char* group;
    std::vector<uint32_t> rows;
  } cases[] = {
      {Column::Artist, true, "", Column::Artist, "", {1, 2, 0, 3}},  // without case; ties in record order
      {Column::Artist, false, "", Column::Artist, "", {3, 0, 1, 2}},
      {Column::Title, true, "", Column::Artist, "", {1, 0, 3, 2}},
      {Column::Year, true, "", Column::Artist, "", {2, 3, 0, 1}},
      {Column::Length, false, "", Column::Artist, "", {2, 0, 1, 3}},
      {Column::Preference, true, "", Column::Artist, "", {3, 1, 2, 0}},
      {Column::Genre, true, "", Column::Artist, "", {3, 0, 1, 2}},
      {Column::Artist, true, "SONG", Column::Artist, "", {0, 3}},  // title, and the genre of 3
      {Column::Artist, true, "rock", Column::Artist, "", {1, 2}},
      {Column::Artist, true, "zedjazz", Column::Artist, "", {}},  // never across two fields
      {Column::Artist, true, "eta", Column::Artist, "", {0}},
      {Column::Artist, true, "", Column::Artist, "ALPHA", {1, 2}},
      {Column::Title, true, "o", Column::Album, "alpha", {1}},
  };
  CollectionView view;
  view.Reset(&kRecords, &kGenres);
  for (const auto& c : cases) {
    view.SortBy(c.sort, c.ascending);
    view.SetFilter(c.filter);
    view.SetGroup(c.groupColumn, c.group);
    EXPECT_EQ(view.Rows(), c.rows) << ColumnName(c.sort) << " '" << c.filter << "' '" << c.group << "'";
  }
  const std::vector<std::pair<std::string, uint32_t>> artists = {{"Alpha", 2}, {"beta", 1}, {"Gamma", 1}};
  EXPECT_EQ(view.Groups(Column::Artist), artists);
}

TEST(CollectionViewTest, CellTexts) {
  TrackRecord r = kRecords[0];
  r.trackNumber = 7;
  const uint64_t day = 864000000000ull;
  const struct {
    Column column;
    uint64_t dateAdded;
    uint8_t preference;
    const char* text;
  } cases[] = {
      {Column::Length, 0, 9, "3:20"},
      {Column::Year, 0, 9, "1999"},
      {Column::Track, 0, 9, "7"},
      {Column::Genre, 0, 9, "Jazz"},
      {Column::Preference, 0, 0, ""},
      {Column::Preference, 0, 1, "1"},
      {Column::Preference, 0, 2, "1.5"},
      {Column::Preference, 0, 9, "5"},
      {Column::DateAdded, 0, 9, ""},
      {Column::DateAdded, 134774 * day, 9, "1970-01-01"},
      {Column::DateAdded, (134774 + 11016) * day + 5, 9, "2000-02-29"},
      {Column::DateAdded, (134774 + 20793) * day, 9, "2026-12-06"},
  };
  for (const auto& c : cases) {
    r.dateAddedLow = static_cast<uint32_t>(c.dateAdded);
    r.dateAddedHigh = static_cast<uint32_t>(c.dateAdded >> 32);
    r.preference = c.preference;
    EXPECT_EQ(CellText(r, "Jazz", c.column), c.text) << ColumnName(c.column);
  }
}

TEST(SideIndexTest, RoundTripsByPathAndRefusesDamage) {
  std::vector<SideEntry> entries(kRecords.size());
  entries[0] = {"Jazz", "Various", 123456789012ull, 0x01DB000000000001ull, -650, kNoGain};
  entries[3] = {"Folk", "", 1, 2, 3, 4};
  const std::vector<uint8_t> bytes = EncodeSideIndex(kRecords, entries);

  // Read back against the records in another order, one of them new.
  std::vector<TrackRecord> reordered = {kRecords[3], Track("x", "New", "", 0, 0, 0), kRecords[0]};
  std::vector<SideEntry> read;
  std::vector<bool> known;
  ASSERT_TRUE(DecodeSideIndex(bytes.data(), bytes.size(), reordered, read, known));
  EXPECT_EQ(known, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(read[0], entries[3]);
  EXPECT_EQ(read[2], entries[0]);
  ASSERT_TRUE(DecodeSideIndex(bytes.data(), bytes.size(), kRecords, read, known));  // in place
  EXPECT_EQ(read, entries);
  EXPECT_EQ(known, std::vector<bool>(4, true));

  const struct {
    size_t at;
    int change;  // added to the byte; -1000: cut the file there
  } damage[] = {{0, 1}, {8, 1}, {20, 1}, {bytes.size() - 1, 1}, {bytes.size() - 5, -1000}, {10, -1000}, {0, -1000}};
  for (const auto& d : damage) {
    std::vector<uint8_t> bad = bytes;
    if (d.change == -1000)
      bad.resize(d.at);
    else
      bad[d.at] = static_cast<uint8_t>(bad[d.at] + d.change);
    EXPECT_FALSE(DecodeSideIndex(bad.data(), bad.size(), reordered, read, known)) << d.at;
    EXPECT_EQ(known, (std::vector<bool>(3, false)));
  }
}

TEST(CollectionRulesTest, RescanAndShape) {
  const SideEntry known{"", "", 100, 5, kNoGain, kNoGain};
  EXPECT_EQ(CompareFile(known, true, 100, 5), FileChange::Same);
  EXPECT_EQ(CompareFile(known, true, 101, 5), FileChange::Changed);
  EXPECT_EQ(CompareFile(known, true, 100, 6), FileChange::Changed);
  EXPECT_EQ(CompareFile(known, false, 100, 5), FileChange::Missing);
  EXPECT_EQ(ShapeOf(648 * 3 + 10).records, 3u);
  EXPECT_EQ(ShapeOf(648 * 3 + 10).strayBytes, 10u);

  TrackRecord old = kRecords[0], fresh = kRecords[1];
  old.timesPlayed = 12;
  old.volumeBoost = 777;
  old.dateAddedLow = 42;
  KeepUserFields(old, fresh);
  EXPECT_EQ(fresh.Artist(), "Alpha");
  EXPECT_EQ(fresh.preference, 9);
  EXPECT_EQ(fresh.timesPlayed, 12u);
  EXPECT_EQ(fresh.volumeBoost, 777);
  EXPECT_EQ(fresh.dateAddedLow, 42u);
}

TEST(CollectionRulesTest, AddRecordsAreTakenOnceWithinTheLimit) {
  std::vector<uint8_t> bytes(260 * 6 + 100, 0);
  const char* paths[] = {"C:\\a.mp3", "", "c:\\A.MP3", "C:\\b.mp3", "C:\\c.mp3"};
  for (size_t i = 0; i < 5; ++i) std::memcpy(&bytes[i * 260], paths[i], std::strlen(paths[i]));
  std::memset(&bytes[5 * 260], 'x', 260);  // no terminating zero
  std::vector<std::string> out;
  std::unordered_set<std::string> seen;
  EXPECT_EQ(TakeAddRecords(bytes.data(), bytes.size(), out, seen, 2), 2u);  // c.mp3 and the partial record
  EXPECT_EQ(out, (std::vector<std::string>{"C:\\a.mp3", "C:\\b.mp3"}));
}

TEST(CollectionRulesTest, SelectiveLists) {
  const struct {
    std::vector<std::string> artists, genres;
    uint8_t min, max;
    std::vector<uint32_t> numbers;
  } cases[] = {
      {{}, {}, 0, 9, {0, 1, 2, 3}},          {{"ALPHA"}, {}, 0, 9, {1, 2}}, {{"alpha"}, {}, 4, 9, {2}},
      {{"beta"}, {"rock"}, 0, 9, {0, 1, 2}}, {{}, {"Folk"}, 0, 9, {}},      {{}, {}, 1, 9, {0, 1, 2}},
  };
  for (const auto& c : cases) {
    const Selection s{c.artists, c.genres, c.min, c.max};
    const std::vector<uint32_t> numbers = SelectRecords(kRecords, kGenres, s);
    EXPECT_EQ(numbers, c.numbers);
    const std::vector<uint8_t> bytes = EncodeSelectiveList(numbers);
    EXPECT_EQ(bytes.size(), numbers.size() * 4);
    EXPECT_EQ(DecodeSelectiveList(bytes.data(), bytes.size(), kRecords.size()), numbers);
  }
  const uint8_t stored[] = {2, 0, 0, 0, 9, 0, 0, 0, 1, 0, 0, 0, 7};  // 9 lies past the end
  size_t pastEnd = 0;
  EXPECT_EQ(DecodeSelectiveList(stored, sizeof stored, 4, &pastEnd), (std::vector<uint32_t>{2, 1}));
  EXPECT_EQ(pastEnd, 1u);
  EXPECT_TRUE(DecodeSelectiveList(stored, 3, 4).empty());
}

}  // namespace
}  // namespace ox
