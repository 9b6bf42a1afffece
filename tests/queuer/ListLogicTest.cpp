// The playlist window's list logic: edits against the queue and history files as they are when
// written, whole playlists read and written, and the rows' text.
#include <gtest/gtest.h>

#include <cctype>

#include "queue/PlaylistText.h"
#include "queue/QueueEdit.h"
#include "queue/TrackRows.h"

namespace ox {
namespace {

// One letter per track: "A" is C:\A.mp3; "P2" is the playlist C:\P.m3u with 2 entries handed out.
std::vector<QueueRecord> Queue(const std::string& names) {
  std::vector<QueueRecord> queue;
  for (const char c : names) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      queue.back().entriesTaken = static_cast<uint32_t>(c - '0');
      continue;
    }
    queue.emplace_back();
    CopyBounded(queue.back().track.path, std::string("C:\\") + c + (c == 'P' ? ".m3u" : ".mp3"));
  }
  return queue;
}
std::string Names(const std::vector<QueueRecord>& q) {
  std::string names;
  for (const QueueRecord& r : q) {
    names += r.track.Path().substr(3, 1);
    if (r.entriesTaken) names += std::to_string(r.entriesTaken);
  }
  return names;
}

TEST(QueueEdit, AppliesTheEditToTheFileAsItIsNow_KeepingEveryRecordNotEdited) {
  struct Case {
    const char* seen;
    const char* now;  // the file when the edit is written
    std::vector<int64_t> order;
    const char* added;
    const char* expected;  // nullptr: refused
  };
  const Case cases[] = {
      {"ABC", "ABC", {0, 2}, "", "AC"},             // remove B
      {"ABC", "BC", {0, 2}, "", "C"},               // A taken meanwhile: B still goes
      {"ABC", "BC", {1, 2}, "", "BC"},              // removing the taken A removes nothing else
      {"ABC", "C", {2, 1, 0}, "", "C"},             // reversing what is left of it
      {"AB", "ABX", {1, 0}, "", "BAX"},             // X appended meanwhile stays at the end
      {"AB", "B", {-1, 0, 1}, "N", "NB"},           // insert at the head while A is taken
      {"AB", "", {0, -1, 1}, "N", "N"},             // everything taken: the new record still goes in
      {"P1B", "P2B", {0}, "", "P2"},                // the head playlist counted on: its count is kept
      {"ABAB", "BAB", {0, 1, 3}, "", "BB"},         // repeated tracks: the first A was the one taken
      {"AB", "AB", {0, 0, 1}, "", nullptr},         // a row twice would duplicate a record
      {"AB", "AB", {0, 2}, "", nullptr},            // no such row
      {"AB", "AB", {0, -2}, "N", nullptr},          // no such new record
  };
  for (const Case& c : cases) {
    std::vector<TrackRecord> added;
    for (const QueueRecord& q : Queue(c.added)) added.push_back(q.track);
    std::vector<QueueRecord> out = Queue("Z");
    const bool applied = ApplyQueueEdit(Queue(c.seen), Queue(c.now), c.order, added, out);
    SCOPED_TRACE(std::string(c.seen) + " -> " + c.now);
    EXPECT_EQ(applied, c.expected != nullptr);
    EXPECT_EQ(Names(out), c.expected ? c.expected : "Z");
  }
}

TEST(QueueEdit, OrdersFromMarkedRows) {
  // Rows marked by "x" among six; the orders name rows 0-5 by letter.
  const auto marked = [](std::string_view marks) {
    std::vector<bool> m;
    for (const char c : marks) m.push_back(c == 'x');
    return m;
  };
  const auto letters = [](const std::vector<int64_t>& order) {
    std::string text;
    for (int64_t v : order) text += static_cast<char>('A' + v);
    return text;
  };
  const struct {
    const char* marks;
    const char* without;
    const char* up;
    const char* down;
    const char* beforeB;  // moved before row 1
  } cases[] = {
      {"......", "ABCDEF", "ABCDEF", "ABCDEF", "ABCDEF"},
      {"..x...", "ABDEF", "ACBDEF", "ABDCEF", "ACBDEF"},
      {"x....x", "BCDE", "ABCDFE", "BACDEF", "AFBCDE"},  // at an edge a row stays
      {".xx.x.", "ADF", "BCAEDF", "ADBCFE", "ABCEDF"},   // a block moves as one
      {"xxxxxx", "", "ABCDEF", "ABCDEF", "ABCDEF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.marks);
    EXPECT_EQ(letters(OrderWithout(marked(c.marks))), c.without);
    EXPECT_EQ(letters(OrderStepped(marked(c.marks), -1)), c.up);
    EXPECT_EQ(letters(OrderStepped(marked(c.marks), 1)), c.down);
    EXPECT_EQ(letters(OrderMovedBefore(marked(c.marks), 1)), c.beforeB);
  }
  EXPECT_EQ(letters(OrderMovedBefore(marked("x....."), 9)), "BCDEFA");  // past the end
}

TEST(QueueEdit, HistoryRemovalFollowsRecordsAddedAtTheFront) {
  struct Case {
    const char* seen;
    const char* now;
    std::vector<size_t> removed;
    const char* expected;
  };
  const Case cases[] = {
      {"ABC", "ABC", {1}, "AC"},
      {"ABC", "XABC", {1}, "XAC"},   // X played since
      {"ABC", "XYAB", {2}, "XYAB"},  // C fell off the end meanwhile
      {"ABC", "XYAB", {0}, "XYB"},
      {"ABC", "XYZ", {0}, "XYZ"},    // every seen row gone
  };
  const auto tracks = [](const char* names) {
    std::vector<TrackRecord> t;
    for (const QueueRecord& q : Queue(names)) t.push_back(q.track);
    return t;
  };
  for (const Case& c : cases) {
    std::vector<QueueRecord> out;
    for (const TrackRecord& t : RemoveFromHistory(tracks(c.seen), tracks(c.now), c.removed)) out.push_back({t, 0});
    EXPECT_EQ(Names(out), c.expected) << c.seen << " -> " << c.now;
  }
}

TEST(PlaylistText, WrittenPlaylistsReadBackToTheSamePaths) {
  const std::vector<PlaylistTrack> tracks = {
      {"C:\\Music\\Album\\01 Intro.mp3", "Artist - Intro", 61000},
      {"D:\\Elsewhere\\song.wav", "", 0},
      {"c:\\music\\\xC3\x9C" "bung \xE6\x97\xA5\xE6\x9C\xAC.flac", "\xC3\x9C", 5000},  // another case of the folder
  };
  for (const char* list : {"C:\\Music\\list.m3u8", "C:\\Music\\list.m3u", "C:\\Music\\list.pls"}) {
    const std::string text = PlaylistFileText(list, tracks);
    EXPECT_NE(text.find("Album\\01 Intro.mp3\r\n"), std::string::npos) << text;  // relative below the list
    EXPECT_NE(text.find("D:\\Elsewhere\\song.wav\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Artist - Intro\r\n"), std::string::npos) << text;  // a name goes with its track
    EXPECT_EQ(text.find("Title2="), std::string::npos) << text;  // a track without a name gets no title
    MemorySource source(std::vector<uint8_t>(text.begin(), text.end()));
    const PlaylistEntries read = ReadPlaylistEntries(source, list, 100);
    const std::string third = "C:\\Music\\\xC3\x9C" "bung \xE6\x97\xA5\xE6\x9C\xAC.flac";
    EXPECT_EQ(read.paths, (std::vector<std::string>{tracks[0].path, tracks[1].path, third})) << list;
    EXPECT_EQ(read.skipped, 0u);
  }
}

TEST(PlaylistText, OverlongLinesAndEntriesPastTheLimitAreCountedAsSkipped) {
  // Line ends of every kind: LF, CR LF and a lone CR.
  const std::string text = "a.mp3\n" + std::string(100000, 'x') + "\r\nb.mp3\rc.mp3\r\nd.mp3\n" + std::string(300, 'y') + "\n";
  MemorySource source(std::vector<uint8_t>(text.begin(), text.end()));
  const PlaylistEntries read = ReadPlaylistEntries(source, "C:\\l.m3u", 3);
  EXPECT_EQ(read.paths, (std::vector<std::string>{"C:\\a.mp3", "C:\\b.mp3", "C:\\c.mp3"}));
  EXPECT_EQ(read.skipped, 3u);  // the 100 KB line, d.mp3 past the limit, the path too long for a record
  const std::string pls = "[playlist]\nFile2=b.mp3\nFile1=a.mp3\nFilex=c.mp3\n";
  MemorySource plsSource(std::vector<uint8_t>(pls.begin(), pls.end()));
  EXPECT_EQ(ReadPlaylistEntries(plsSource, "C:\\l.pls", 10).paths, (std::vector<std::string>{"C:\\a.mp3", "C:\\b.mp3"}));
  const std::string ansi = "\xDC" "ber.mp3\n";  // no UTF-8, no converter given: read as Latin-1
  MemorySource ansiSource(std::vector<uint8_t>(ansi.begin(), ansi.end()));
  EXPECT_EQ(ReadPlaylistEntries(ansiSource, "C:\\l.m3u", 10).paths, (std::vector<std::string>{"C:\\\xC3\x9C" "ber.mp3"}));
}

TEST(TrackRows, TextOfARow) {
  const struct {
    uint64_t ms;
    const char* text;
  } lengths[] = {{0, ""}, {999, "0:00"}, {61000, "1:01"}, {3599999, "59:59"}, {3600000, "1:00:00"}, {36061000, "10:01:01"}};
  for (const auto& l : lengths) EXPECT_EQ(LengthText(l.ms), l.text) << l.ms;
  EXPECT_EQ(TotalText(1, 0, 1), "1 track");
  EXPECT_EQ(TotalText(3, 725000, 0), "3 tracks, 12:05");
  EXPECT_EQ(TotalText(3, 725000, 1), "3 tracks, at least 12:05");

  TrackRecord r{};
  CopyBounded(r.path, "C:\\Music\\Band - Song.mp3");
  EXPECT_EQ(RowTitle(r), "Band - Song");
  CopyBounded(r.title, "Real Title");
  CopyBounded(r.artist, "Band");
  EXPECT_EQ(RowTitle(r), "Real Title");
  const struct {
    const char* filter;
    bool matches;
  } filters[] = {{"", true}, {"real", true}, {"band TITLE", true}, {"music", true}, {"band other", false}, {"  ", true}};
  for (const auto& f : filters) EXPECT_EQ(RowMatches(r, f.filter), f.matches) << f.filter;
}

}  // namespace
}  // namespace ox
