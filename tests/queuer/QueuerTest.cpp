// The list windows' programs started beside a running player (their edits of the queue files are
// tested with the queue's).
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "history/HistoryWindow.h"
#include "queue/QueueEditFile.h"
#include "queue/QueueFile.h"
#include "queuer/QueuerWindow.h"

namespace ox {
namespace {

TrackRecord Named(const std::string& name) { return oxtest::PathRecord("C:\\" + name + ".wav"); }

// No other window of the class comes before or after the window; its list view; its rows.
bool OnlyOne(HWND window, const char* windowClass) {
  return FindWindowA(windowClass, nullptr) == window && !FindWindowExA(nullptr, window, windowClass, nullptr);
}
HWND ListOf(HWND window) { return FindWindowExA(window, nullptr, "SysListView32", nullptr); }
bool ListsRows(HWND window, int rows) {
  return oxtest::WaitFor([&] { return SendMessageW(ListOf(window), LVM_GETITEMCOUNT, 0, 0) == rows; }, 5000);
}

// The program copied into the installation folder, beside the (stand-in) running player; its path.
std::string Installed(const std::string& exe) {
  const std::string path = oxtest::QueueInstallFolder() + exe;
  EXPECT_TRUE(CopyFileA((oxtest::ExecutableFolder() + "..\\dist\\" + exe).c_str(), path.c_str(), FALSE));
  return path;
}

// The program's window once it shows, or null. A first start on a loaded machine can take long.
HWND ShownWindow(const char* windowClass) {
  HWND window = nullptr;
  oxtest::WaitFor([&] { return (window = FindWindowA(windowClass, nullptr)) && IsWindowVisible(window); }, 30000);
  return window;
}

// Selects one row of another process's list view, as a click would.
void SelectRow(HWND window, int row) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
  LVITEMW item{};
  item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
  void* remote = VirtualAllocEx(process, nullptr, sizeof item, MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(remote, nullptr);
  WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
  SendMessageW(ListOf(window), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
}

std::string PlayNext() {
  oxtest::WaitFor([] { return oxtest::Value<TrackRecord>(block::OxTrackShouldPlay).HasPath(); }, 5000);
  return std::string(oxtest::Value<TrackRecord>(block::OxTrackShouldPlay).Path());
}

TEST(QueuerProgram, ListsTheQueuePlaysARowNowAndRunsOnce) {
  oxtest::ResetQueueState();
  for (const char* name : {"one", "two", "three"}) ASSERT_TRUE(AppendToQueueFile(QueueFile(), {Named(name)}) == EditResult::Done);
  const std::string exe = Installed("Queuer.exe");
  oxtest::Process process(exe, "");
  HWND window = ShownWindow(kQueuerWindowClass);
  ASSERT_TRUE(window) << "no window; the program's exit code: " << process.Wait(0);
  ASSERT_TRUE(ListsRows(window, 3)) << SendMessageW(ListOf(window), LVM_GETITEMCOUNT, 0, 0) << " rows";

  // The player takes the head: the selection stays on its track, one row up.
  SelectRow(window, 2);
  TrackRecord head;
  ASSERT_TRUE(TakeFromQueueFile(QueueFile(), head));
  BumpChangeCounter();
  EXPECT_TRUE(ListsRows(window, 2));
  EXPECT_EQ(SendMessageW(ListOf(window), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);

  SendMessageW(window, WM_COMMAND, kQueuerPlayNowCommand, 0);
  EXPECT_EQ(PlayNext(), "C:\\three.wav");
  EXPECT_TRUE(evt::OxPlay.IsSet());
  EXPECT_TRUE(ListsRows(window, 1));  // played now, it leaves the queue

  // A second start hands its files over to the window and exits.
  EXPECT_EQ(oxtest::RunAndWait(exe, "\"C:\\four.wav\""), 0);
  EXPECT_TRUE(OnlyOne(window, kQueuerWindowClass));
  EXPECT_TRUE(ListsRows(window, 2));
  EXPECT_EQ(oxtest::ReadRecords<QueueRecord>(QueueFile()).back().track.Path(), "C:\\four.wav");

  // Closing ends the program; its place is kept beside the player's settings.
  DeleteSetting("Width", HKEY_CURRENT_USER, "Software\\Quillmarsh\\Orlavox\\Queuer");
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.Wait(10000), 0);
  EXPECT_TRUE(SettingExists("Width", HKEY_CURRENT_USER, "Software\\Quillmarsh\\Orlavox\\Queuer"));
  oxtest::ResetQueueState();
}

// The previously-played window, newest first, beside a running player.
TEST(HistoryProgram, ListsTheHistoryPlaysARowNowAndRunsOnce) {
  oxtest::ResetQueueState();
  oxtest::WriteRecords(HistoryFile(), std::vector<TrackRecord>{Named("newest"), Named("middle"), Named("oldest")});
  const std::string exe = Installed("History.exe");
  oxtest::Process process(exe, "");
  HWND window = ShownWindow(kHistoryWindowClass);
  ASSERT_TRUE(window && ListsRows(window, 3));
  SelectRow(window, 1);
  SendMessageW(window, WM_COMMAND, kHistoryPlayNowCommand, 0);
  EXPECT_EQ(PlayNext(), "C:\\middle.wav");

  EXPECT_EQ(oxtest::RunAndWait(exe, ""), 0);  // a second start hands over and exits
  EXPECT_TRUE(OnlyOne(window, kHistoryWindowClass));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.Wait(10000), 0);
  oxtest::ResetQueueState();
}

}  // namespace
}  // namespace ox
