// The play queue as every program of the suite uses it: the queue files, the next-track choice,
// the player commands and the history, on the real per-user files of a scratch installation.
#include "queue/History.h"
#include "queue/NextTrack.h"
#include "queue/PlayerCommands.h"
#include "queue/QueueEditFile.h"
#include "queue/QueueFile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <set>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "base/DataFile.h"
#include "base/UserMessage.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"

namespace ox {
namespace {

using oxtest::PathRecord;

std::vector<QueueRecord> QueueRecords(const std::string& file) { return oxtest::ReadRecords<QueueRecord>(file); }
TrackRecord Slot() { return oxtest::Value<TrackRecord>(block::OxTrackShouldPlay); }
using Paths = std::vector<std::string>;
Paths Queued(const std::string& file) {
  Paths paths;
  for (const QueueRecord& q : QueueRecords(file)) paths.emplace_back(q.track.Path());
  return paths;
}
// What the next-track selection hands out: a path (empty for a failed take), or "none" when it has
// nothing, having cleared the record it was given.
std::string Next() {
  TrackRecord r = PathRecord("C:\\stale.wav");
  return NextTrack(r) ? std::string(r.Path()) : r.HasPath() ? "stale" : "none";
}

class PlayQueueTest : public ::testing::Test {
 protected:
  void SetUp() override { oxtest::ResetQueueState(); }
  void TearDown() override { oxtest::ResetQueueState(); }
  std::string Playlist(const std::string& name, const std::string& text) {
    const std::string path = oxtest::QueueInstallFolder() + name;
    oxtest::WriteWholeFile(path, text);
    return path;
  }
};

TEST_F(PlayQueueTest, ThreeFilesPlayedAtOnce_FirstInTheSlotTheOthersQueuedInOrder) {
  PlayNow("C:\\a.mp3");
  PlayNow("C:\\b.mp3");
  PlayNow("C:\\c.mp3");
  EXPECT_EQ(Slot().Path(), "C:\\a.mp3");
  ASSERT_EQ(Queued(PriorityQueueFile()), (Paths{"C:\\b.mp3", "C:\\c.mp3"}));
  EXPECT_EQ(QueueRecords(PriorityQueueFile())[1].entriesTaken, 0u);
  EXPECT_TRUE(evt::OxPlay.IsSet());

  // The next-track selection takes the slot (and clears it), then the priority queue.
  EXPECT_EQ(Next(), "C:\\a.mp3");
  EXPECT_FALSE(Slot().HasPath());
  EXPECT_EQ(Next(), "C:\\b.mp3");
  EXPECT_TRUE(IsAnythingToPlay());
  EXPECT_EQ(Next(), "C:\\c.mp3");
  EXPECT_EQ(Next(), "none");
  EXPECT_FALSE(IsAnythingToPlay());

  // A path too long for the record is not played; nothing overflows.
  PlayNow(std::string(32767, 'p'));
  EXPECT_FALSE(Slot().HasPath());
}

std::vector<std::string> g_messages;

// Paths the user chose at once (a drop, the open dialog) play in order with their exact UTF-8
// bytes; one that does not fit a record is not cut to another name but named in one message.
TEST_F(PlayQueueTest, ChosenPathsKeepTheirBytesOrAreRefusedWithAMessage) {
  g_messages.clear();
  const UserMessageSink previous =
      SetUserMessageSink([](const char* text, const char*, unsigned) { g_messages.push_back(text); });
  const std::string song = "C:\\\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F \xE5\xA4\x9C\xE6\x9B\xB2 \xC3\xA9.wav";
  const std::string tooLong = "C:\\" + std::string(253, 'x') + "\xC3\xA9.wav";  // 261 bytes, 259 characters
  PlayNowInOrder({song, tooLong, "C:\\b.wav"});
  SetUserMessageSink(previous);
  EXPECT_EQ(Slot().Path(), song);
  EXPECT_EQ(Queued(PriorityQueueFile()), Paths{"C:\\b.wav"});
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0], "The path is too long to play:\n" + tooLong);
}

// A queued playlist hands out its entries one by one, then disappears; skipping back early in an
// entry steps back in it.
TEST_F(PlayQueueTest, QueuedPlaylistHandsOutItsEntriesThenDisappears_SkipBackStepsBackInIt) {
  const std::string folder = oxtest::QueueInstallFolder();
  Enqueue(PathRecord(Playlist("mix.m3u", "#EXTM3U\r\none.wav\r\n#EXTINF:1,x\r\ntwo.wav\r\nthree.wav\r\n")));
  Enqueue(PathRecord("C:\\after.wav"));
  RecordAsPlayed(PathRecord("C:\\older.wav"));
  RecordAsPlayed(PathRecord("C:\\newest.wav"));
  block::OxTrackTime.WriteValue(TrackTime{60000, 5100, 54900});
  SkipBack();  // late in a track: it restarts
  EXPECT_EQ(oxtest::Value<uint32_t>(block::OxSkipToPos), 1u);
  block::OxTrackTime.WriteValue(TrackTime{});
  // From the first entry there is none before it: a history record plays (index 1: the newest is
  // the one playing), and the playlist starts again.
  EXPECT_EQ(Next(), folder + "one.wav");
  SkipBack();
  EXPECT_EQ(QueueRecords(QueueFile())[0].entriesTaken, 0u);
  EXPECT_EQ(Next(), "C:\\older.wav");
  for (const char* entry : {"one.wav", "two.wav"}) EXPECT_EQ(Next(), folder + entry);
  SkipBack();
  EXPECT_TRUE(evt::OxSkip.IsSet());
  for (const char* entry : {"one.wav", "two.wav", "three.wav"}) EXPECT_EQ(Next(), folder + entry);
  EXPECT_EQ(Queued(QueueFile()), Paths{"C:\\after.wav"});
  EXPECT_EQ(Next(), "C:\\after.wav");

  // A missing and an empty playlist are removed at the first take, which yields an empty path.
  Enqueue(PathRecord(folder + "missing.pls"));
  Enqueue(PathRecord(Playlist("empty.m3u", "#EXTM3U\r\n")));
  Enqueue(PathRecord("C:\\later.wav"));
  for (const char* path : {"", "", "C:\\later.wav"}) EXPECT_EQ(Next(), path);

  // A playlist through the play-next slot is queued at the end of the priority queue first.
  PlayNow(Playlist("slot.pls", "[playlist]\r\nFile1=C:\\x.wav\r\n"));
  EXPECT_EQ(Next(), "C:\\x.wav");
  EXPECT_TRUE(QueueRecords(PriorityQueueFile()).empty());
}

TEST_F(PlayQueueTest, HistoryNewestFirstAndNeverMoreThan100_PlayButtonsClearAndCounter) {
  for (int i = 0; i < 101; ++i) RecordAsPlayed(PathRecord("C:\\track" + std::to_string(i) + ".wav"));
  const auto history = oxtest::ReadRecords<TrackRecord>(HistoryFile());
  ASSERT_EQ(history.size(), 100u);
  EXPECT_EQ(oxtest::ReadWholeFile(HistoryFile()).size(), 64800u);
  EXPECT_EQ(history[0].Path(), "C:\\track100.wav");
  EXPECT_EQ(history[99].Path(), "C:\\track1.wav");

  // Play/stop while stopped with nothing queued replays the newest history record.
  PlayStop();
  EXPECT_EQ(Slot().Path(), "C:\\track100.wav");
  EXPECT_TRUE(evt::OxPlay.IsSet());
  PlayStop();
  EXPECT_FALSE(evt::OxPlay.IsSet());

  const uint32_t before = oxtest::Value<uint32_t>(block::OxPlayListChanged);
  Enqueue(PathRecord("C:\\q.wav"));
  PlayNow("C:\\p.wav");
  PlayNow("C:\\p2.wav");
  EXPECT_GE(oxtest::Value<uint32_t>(block::OxPlayListChanged) - before, 3u);  // every change is counted
  ClearQueue();
  EXPECT_FALSE(oxtest::ReadWholeFile(QueueFile()).size() || oxtest::ReadWholeFile(PriorityQueueFile()).size());

  evt::OxPlay.Reset();
  PlayButton();  // stopped: starts
  EXPECT_TRUE(evt::OxPlay.IsSet());
  evt::OxSkip.Reset();
  PlayButton();  // playing: next track
  EXPECT_TRUE(evt::OxSkip.IsSet());
  evt::OxPause.Set();
  PlayButton();  // paused: resumes
  EXPECT_FALSE(evt::OxPause.IsSet());
  EXPECT_TRUE(evt::OxPlay.IsSet());
}

// A writer that died half-way leaves a partial record: every whole record is still taken once, and
// writes that cannot cut it off, a history that cannot be written and a queue file that cannot be
// opened change nothing.
TEST_F(PlayQueueTest, DamagedOrRefusedFilesLoseNothingThatWasWhole) {
  const auto halfWritten = [] {
    DataFile file(QueueFile(), FileAccess::Write, FileCreation::OpenAlways);
    file.Write("partial", 7, FileOrigin::End);
  };
  Enqueue(PathRecord("C:\\one.wav"));
  Enqueue(PathRecord("C:\\two.wav"));
  halfWritten();
  const std::vector<uint8_t> queue = oxtest::ReadWholeFile(QueueFile());
  // The list windows show it as far as it goes and never rewrite it.
  std::vector<QueueRecord> seen;
  const FileRead read = ReadQueueRecords(QueueFile(), seen);
  EXPECT_TRUE(read.read);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(read.strayBytes, 7u);
  EXPECT_EQ(EditQueueFile(QueueFile(), seen, {1, 0}, {}), EditResult::Unreadable);
  InjectFileFaults(FileFault::Truncate, 1);  // appending after it would shift every later record
  EXPECT_FALSE(Enqueue(PathRecord("C:\\lost.wav")));
  InjectFileFaults(FileFault::Truncate, 0);
  EXPECT_EQ(oxtest::ReadWholeFile(QueueFile()), queue);
  // Both ways of appending cut it first.
  Enqueue(PathRecord("C:\\three.wav"));
  halfWritten();
  EXPECT_EQ(AppendToQueueFile(QueueFile(), {PathRecord("C:\\four.wav")}), EditResult::Done);
  EXPECT_EQ(oxtest::ReadWholeFile(QueueFile()).size(), 4 * sizeof(QueueRecord));
  for (const char* expected : {"C:\\one.wav", "C:\\two.wav", "C:\\three.wav", "C:\\four.wav"})
    EXPECT_EQ(Next(), expected);
  oxtest::WriteWholeFile(PriorityQueueFile(), std::string(651, 'x'));  // shorter than a record
  EXPECT_EQ(Next(), "none");

  for (const char* path : {"C:\\old.wav", "C:\\newest.wav"}) ASSERT_TRUE(AddToHistory(PathRecord(path)));
  std::vector<uint8_t> history = oxtest::ReadWholeFile(HistoryFile());
  InjectFileFaults(FileFault::Write, 1);
  EXPECT_FALSE(AddToHistory(PathRecord("C:\\lost.wav")));
  InjectFileFaults(FileFault::Write, 0);
  EXPECT_EQ(oxtest::ReadWholeFile(HistoryFile()), history);
  // A history longer than it may be is shown as far as it may go, and never rewritten.
  oxtest::WriteRecords(HistoryFile(), std::vector<TrackRecord>(kHistoryMax + 1, PathRecord("C:\\h.wav")));
  history = oxtest::ReadWholeFile(HistoryFile());
  std::vector<TrackRecord> shown;
  const FileRead historyRead = ReadHistoryRecords(shown);
  EXPECT_TRUE(historyRead.read);
  EXPECT_EQ(shown.size(), kHistoryMax);
  EXPECT_EQ(historyRead.strayBytes, sizeof(TrackRecord));
  EXPECT_EQ(RemoveHistoryRows(shown, {0}), EditResult::Unreadable);
  EXPECT_EQ(oxtest::ReadWholeFile(HistoryFile()), history);

  // Access denied (here: a folder where the file should be) is no passing lock: no 10 s of retries.
  DeleteFileA(QueueFile().c_str());
  ASSERT_TRUE(CreateDirectoryA(QueueFile().c_str(), nullptr));
  const DWORD start = GetTickCount();
  EXPECT_FALSE(Enqueue(PathRecord("C:\\one.wav")));
  EXPECT_LT(GetTickCount() - start, 3000u);
  RemoveDirectoryA(QueueFile().c_str());
}

// Four processes play and queue while another takes; then this one edits the queue (each edit
// reorders it and adds a record at its head) while the taker goes on: every record is taken or left
// exactly once.
TEST_F(PlayQueueTest, ManyWritersEditsAndOneTaker_EveryRecordExactlyOnce) {
  const std::string taken = oxtest::QueueInstallFolder() + "taken.txt";
  NamedEvent stop("evtOxTestTakerStop"), go("evtOxTestWritersGo");
  stop.Reset();
  go.Reset();
  std::vector<std::unique_ptr<oxtest::Process>> processes;
  auto start = [&](const std::string& args) {
    processes.push_back(std::make_unique<oxtest::Process>(oxtest::PeerPath(), args));
    ASSERT_TRUE(processes.back()->Started());
  };
  start("queue-taker \"" + taken + "\"");
  for (int writer = 0; writer < 4; ++writer) start("queue-writer " + std::to_string(writer) + " 200");
  // One play-now first takes the play-next slot (two writers could overwrite each other there by
  // design); the writers start together right after it, so all their play-nows are queued.
  PlayNow("C:\\first.wav");
  go.Set();
  for (size_t i = 1; i < processes.size(); ++i) EXPECT_EQ(processes[i]->Wait(120000), 0);

  std::vector<TrackRecord> initial;
  for (int i = 0; i < 1000; ++i) initial.push_back(PathRecord("C:\\q" + std::to_string(i) + ".wav"));
  ASSERT_EQ(AppendToQueueFile(QueueFile(), initial), EditResult::Done);
  for (int round = 0; round < 1000; ++round) {
    std::vector<QueueRecord> seen;
    ASSERT_TRUE(ReadQueueRecords(QueueFile(), seen).read);
    std::vector<int64_t> order = {-1};  // the new record, then the second half, then the first
    for (size_t i = 0; i < seen.size(); ++i) order.push_back(static_cast<int64_t>((i + seen.size() / 2) % seen.size()));
    const std::vector<TrackRecord> added = {PathRecord("C:\\n" + std::to_string(round) + ".wav")};
    ASSERT_EQ(EditQueueFile(QueueFile(), seen, order, added), EditResult::Done) << "round " << round;
  }
  EXPECT_LT(QueueRecords(QueueFile()).size(), 2000u);  // the taker took meanwhile
  stop.Set();
  EXPECT_EQ(processes[0]->Wait(60000), 0);

  const std::vector<std::string> lines = oxtest::ReadLines(taken);
  std::multiset<std::string> seen(lines.begin(), lines.end());
  for (const std::string& file : {PriorityQueueFile(), QueueFile()}) {
    EXPECT_EQ(oxtest::ReadWholeFile(file).size() % sizeof(QueueRecord), 0u);
    for (const QueueRecord& q : QueueRecords(file)) seen.insert(std::string(q.track.Path()));
  }
  EXPECT_EQ(seen.size(), 4u * 200 * 2 + 1000 + 1000);
  EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()).size(), seen.size());  // none lost, none doubled
  EXPECT_EQ(Slot().Path(), "C:\\first.wav");
  stop.Reset();
  go.Reset();
}

}  // namespace
}  // namespace ox
