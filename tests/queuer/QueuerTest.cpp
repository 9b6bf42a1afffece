// The playlist window against real files and processes: its edits while another process takes
// records from the queue, and the program started beside a running player.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "queue/History.h"
#include "queue/QueueEditFile.h"
#include "queue/QueueFile.h"
#include "queuer/QueuerWindow.h"

namespace ox {
namespace {

TrackRecord Named(const std::string& name) { return oxtest::PathRecord("C:\\" + name + ".wav"); }

// Starts a program without waiting for it; the process handle, or null.
HANDLE Start(const std::string& exe, const std::string& arguments = "") {
  std::string line = "\"" + exe + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

TEST(QueueEditFile, EditsWhileAnotherProcessTakesNeitherLoseNorDoubleARecord) {
  oxtest::ResetQueueState();
  std::vector<TrackRecord> initial;
  std::set<std::string> expected, removeAttempts;
  for (int i = 0; i < 1000; ++i) {
    initial.push_back(Named("q" + std::to_string(i)));
    expected.insert(std::string(initial.back().Path()));
  }
  ASSERT_EQ(AppendToQueueFile(QueueFile(), initial), EditResult::Done);
  oxtest::ScratchFolder scratch;
  const std::string taken = scratch / "taken.txt";
  HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, "evtOxTestTakerStop");
  ResetEvent(stop);
  HANDLE taker = Start(oxtest::PeerPath(), "queue-taker \"" + taken + "\"");
  ASSERT_NE(taker, nullptr);
  const std::unique_ptr<void, void (*)(HANDLE)> ending(taker, [](HANDLE p) {
    TerminateProcess(p, 1);  // a taker that a failed check left behind
    CloseHandle(p);
  });

  for (int round = 0; round < 1000; ++round) {
    std::vector<QueueRecord> seen;
    ASSERT_TRUE(ReadQueueRecords(QueueFile(), seen).read);
    std::vector<int64_t> order;
    std::vector<TrackRecord> added;
    for (size_t i = 0; i < seen.size(); ++i) order.push_back(static_cast<int64_t>(i));
    switch (round % 3) {
      case 0:  // reorder: the second half first
        std::rotate(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(order.size() / 2), order.end());
        break;
      case 1:  // remove one from the middle
        if (order.empty()) break;
        removeAttempts.insert(std::string(seen[order.size() / 2].track.Path()));
        order.erase(order.begin() + static_cast<std::ptrdiff_t>(order.size() / 2));
        break;
      default:  // insert at the head
        added.push_back(Named("n" + std::to_string(round)));
        expected.insert(std::string(added.back().Path()));
        order.insert(order.begin(), -1);
        break;
    }
    ASSERT_EQ(EditQueueFile(QueueFile(), seen, order, added), EditResult::Done) << "round " << round;
  }
  SetEvent(stop);
  ASSERT_EQ(WaitForSingleObject(taker, 60000), WAIT_OBJECT_0);
  CloseHandle(stop);

  std::map<std::string, int> takenCount;
  std::ifstream lines(taken);
  for (std::string line; std::getline(lines, line);) ++takenCount[line];
  for (const auto& [path, count] : takenCount) {
    EXPECT_EQ(count, 1) << path << " taken more than once";
    EXPECT_TRUE(expected.count(path)) << path << " was never queued";
  }
  size_t lost = 0;
  for (const std::string& path : expected)
    if (!takenCount.count(path) && !removeAttempts.count(path)) ++lost;
  EXPECT_EQ(lost, 0u) << "records neither taken nor removed";
  EXPECT_GT(takenCount.size(), 500u);  // the taker did take meanwhile
}

TEST(QueueEditFile, FilesNotReadWholeAreShownAsFarAsTheyGoAndNeverRewritten) {
  oxtest::ResetQueueState();
  std::vector<QueueRecord> queued(3);
  for (size_t i = 0; i < queued.size(); ++i) queued[i].track = Named("q" + std::to_string(i));
  std::vector<uint8_t> strayQueue(reinterpret_cast<const uint8_t*>(queued.data()),
                                  reinterpret_cast<const uint8_t*>(queued.data() + queued.size()));
  strayQueue.resize(strayQueue.size() + 100, 0x41);  // a partial record at the end
  std::vector<TrackRecord> history(kHistoryMax + 1, Named("h"));
  std::vector<uint8_t> longHistory(reinterpret_cast<const uint8_t*>(history.data()),
                                   reinterpret_cast<const uint8_t*>(history.data() + history.size()));
  const struct {
    std::string file;
    const std::vector<uint8_t>& bytes;
    size_t shown, stray;
    std::function<EditResult(const std::vector<QueueRecord>&, const std::vector<TrackRecord>&)> edit;
  } cases[] = {
      {QueueFile(), strayQueue, 3, 100,
       [](const std::vector<QueueRecord>& seen, const std::vector<TrackRecord>&) {
         return EditQueueFile(QueueFile(), seen, {1, 0}, {});
       }},
      {HistoryFile(), longHistory, kHistoryMax, sizeof(TrackRecord),
       [](const std::vector<QueueRecord>&, const std::vector<TrackRecord>& seen) { return RemoveHistoryRows(seen, {0}); }},
  };
  for (const auto& c : cases) {
    oxtest::WriteWholeFile(c.file, c.bytes);
    std::vector<QueueRecord> queue;
    std::vector<TrackRecord> tracks;
    const FileRead read = c.file == QueueFile() ? ReadQueueRecords(c.file, queue) : ReadHistoryRecords(tracks);
    EXPECT_TRUE(read.read);
    EXPECT_EQ(queue.size() + tracks.size(), c.shown);
    EXPECT_EQ(read.strayBytes, c.stray);
    EXPECT_EQ(c.edit(queue, tracks), EditResult::Unreadable);
    EXPECT_EQ(oxtest::ReadWholeFile(c.file), c.bytes) << c.file;
  }
  // Adding cuts the partial record first, so the added ones stay on the records' grid.
  oxtest::WriteWholeFile(QueueFile(), strayQueue);
  ASSERT_EQ(AppendToQueueFile(QueueFile(), {Named("added")}), EditResult::Done);
  const auto after = oxtest::ReadRecords<QueueRecord>(QueueFile());
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[3].track.Path(), "C:\\added.wav");
  oxtest::ResetQueueState();
}

// The windows of a class, and the list view of one.
std::vector<HWND> WindowsOf(const char* windowClass) {
  std::vector<HWND> found;
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, windowClass, nullptr));) found.push_back(w);
  return found;
}
HWND ListOf(HWND window) { return FindWindowExA(window, nullptr, "SysListView32", nullptr); }

// Selects one row of another process's list view, as a click would.
void SelectRow(HWND list, int row, HANDLE process) {
  LVITEMW item{};
  item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
  void* remote = VirtualAllocEx(process, nullptr, sizeof item, MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(remote, nullptr);
  WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
}

TEST(QueuerProgram, ListsTheQueuePlaysARowNowAndRunsOnce) {
  oxtest::ResetQueueState();
  for (const char* name : {"one", "two", "three"}) ASSERT_TRUE(AppendToQueueFile(QueueFile(), {Named(name)}) == EditResult::Done);
  // The program as installed: in the installation folder, beside the (stand-in) running player.
  const std::string exe = oxtest::QueueInstallFolder() + "Queuer.exe";
  ASSERT_TRUE(CopyFileA((oxtest::ExecutableFolder() + "..\\dist\\Queuer.exe").c_str(), exe.c_str(), FALSE));
  HANDLE process = Start(exe);
  ASSERT_NE(process, nullptr);
  // A failed check leaves no window running behind the test.
  const std::unique_ptr<void, void (*)(HANDLE)> ending(process, [](HANDLE p) {
    TerminateProcess(p, 1);
    CloseHandle(p);
  });
  HWND window = nullptr;
  ASSERT_TRUE(oxtest::WaitFor([&] { return (window = FindWindowA(kQueuerWindowClass, nullptr)) && IsWindowVisible(window); }, 10000));
  HWND list = ListOf(window);
  ASSERT_TRUE(oxtest::WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 3; }, 5000));

  // The player takes the head: the selection stays on its track, one row up.
  SelectRow(list, 2, process);
  TrackRecord head;
  ASSERT_TRUE(TakeFromQueueFile(QueueFile(), head));
  BumpChangeCounter();
  EXPECT_TRUE(oxtest::WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5000));
  EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);

  SendMessageW(window, WM_COMMAND, kQueuerPlayNowCommand, 0);
  ASSERT_TRUE(oxtest::WaitFor([] { return oxtest::Value<TrackRecord>(block::OxTrackShouldPlay).HasPath(); }, 5000));
  EXPECT_EQ(oxtest::Value<TrackRecord>(block::OxTrackShouldPlay).Path(), "C:\\three.wav");
  EXPECT_TRUE(evt::OxPlay.IsSet());
  // Played now, it leaves the queue.
  EXPECT_TRUE(oxtest::WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }, 5000));

  // A second start hands its files over to the window and exits.
  EXPECT_EQ(oxtest::RunAndWait(exe, "\"C:\\four.wav\""), 0);
  EXPECT_EQ(WindowsOf(kQueuerWindowClass).size(), 1u);
  EXPECT_TRUE(oxtest::WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5000));
  EXPECT_EQ(oxtest::ReadRecords<QueueRecord>(QueueFile()).back().track.Path(), "C:\\four.wav");

  // Closing ends the program; its place is kept beside the player's settings.
  DeleteSetting("Width", HKEY_CURRENT_USER, "Software\\Quillmarsh\\Orlavox\\Queuer");
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(SettingExists("Width", HKEY_CURRENT_USER, "Software\\Quillmarsh\\Orlavox\\Queuer"));
  oxtest::ResetQueueState();
}

}  // namespace
}  // namespace ox
