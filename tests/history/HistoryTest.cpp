// The previously-played window started beside a running player.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "history/HistoryWindow.h"

namespace ox {
namespace {

TEST(HistoryProgram, ListsTheHistoryPlaysARowNowAndRunsOnce) {
  oxtest::ResetQueueState();
  oxtest::WriteRecords(HistoryFile(), std::vector<TrackRecord>{oxtest::PathRecord("C:\\newest.wav"),
                                                               oxtest::PathRecord("C:\\middle.wav"),
                                                               oxtest::PathRecord("C:\\oldest.wav")});
  const std::string exe = oxtest::QueueInstallFolder() + "History.exe";
  ASSERT_TRUE(CopyFileA((oxtest::ExecutableFolder() + "..\\dist\\History.exe").c_str(), exe.c_str(), FALSE));
  std::string line = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  CloseHandle(process.hThread);
  // A failed check leaves no window running behind the test.
  const std::unique_ptr<void, void (*)(HANDLE)> ending(process.hProcess, [](HANDLE p) {
    TerminateProcess(p, 1);
    CloseHandle(p);
  });
  HWND window = nullptr;
  ASSERT_TRUE(oxtest::WaitFor([&] { return (window = FindWindowA(kHistoryWindowClass, nullptr)) && IsWindowVisible(window); }, 10000));
  HWND list = FindWindowExA(window, nullptr, "SysListView32", nullptr);
  ASSERT_TRUE(oxtest::WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 3; }, 5000));

  // Select the middle row, as a click would, in the window's own process.
  LVITEMW item{};
  item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
  void* remote = VirtualAllocEx(process.hProcess, nullptr, sizeof item, MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(remote, nullptr);
  WriteProcessMemory(process.hProcess, remote, &item, sizeof item, nullptr);
  SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(process.hProcess, remote, 0, MEM_RELEASE);
  SendMessageW(window, WM_COMMAND, kHistoryPlayNowCommand, 0);
  ASSERT_TRUE(oxtest::WaitFor([] { return oxtest::Value<TrackRecord>(block::OxTrackShouldPlay).HasPath(); }, 5000));
  EXPECT_EQ(oxtest::Value<TrackRecord>(block::OxTrackShouldPlay).Path(), "C:\\middle.wav");

  EXPECT_EQ(oxtest::RunAndWait(exe, ""), 0);  // a second start hands over and exits
  EXPECT_EQ(FindWindowExA(nullptr, window, kHistoryWindowClass, nullptr), nullptr);
  EXPECT_EQ(FindWindowA(kHistoryWindowClass, nullptr), window);

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  oxtest::ResetQueueState();
}

}  // namespace
}  // namespace ox
