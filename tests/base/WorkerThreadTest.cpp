#include "base/WorkerThread.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

namespace ox {
namespace {

// Polls its stop event the way every thread of the player does; counts its passes.
uint32_t PollUntilStopped(WorkerThread& self) {
  auto* passes = reinterpret_cast<std::atomic<int>*>(self.Argument());
  while (!self.StopRequested()) {
    ++*passes;
    Sleep(5);
  }
  return 0;
}

TEST(WorkerThread, StopAndWait_EndsAPollingThread) {
  std::atomic<int> passes{0};
  WorkerThread thread(PollUntilStopped, reinterpret_cast<uintptr_t>(&passes));
  ASSERT_TRUE(thread.IsRunning());
  while (passes < 3) Sleep(1);
  EXPECT_FALSE(thread.IsFinished());
  thread.Stop(true);
  EXPECT_TRUE(thread.IsFinished());
  const int after = passes;
  Sleep(30);
  EXPECT_EQ(passes, after);  // the function really returned
}

TEST(WorkerThread, Suspended_RunsOnlyAfterResume) {
  std::atomic<int> passes{0};
  WorkerThread thread(PollUntilStopped, 0, true);
  thread.SetArgument(reinterpret_cast<uintptr_t>(&passes));  // the owner fills it in before Resume
  Sleep(50);
  EXPECT_EQ(passes, 0);
  thread.Resume();
  thread.SetPriority(THREAD_PRIORITY_ABOVE_NORMAL);
  while (passes == 0) Sleep(1);
  thread.Stop(true);
  EXPECT_TRUE(thread.IsFinished());
}

TEST(WorkerThread, NeverResumed_DestructionStillReturns) {
  std::atomic<int> passes{0};
  {
    WorkerThread thread(PollUntilStopped, reinterpret_cast<uintptr_t>(&passes), true);
  }
  EXPECT_EQ(passes, 0);  // it saw the stop request before its first pass
}

TEST(WorkerThread, NotStarted_StopReturnsAtOnce) {
  WorkerThread thread(nullptr, 0);
  EXPECT_FALSE(thread.IsRunning());
  EXPECT_TRUE(thread.IsFinished());
  thread.Stop(true);
  EXPECT_TRUE(thread.StopRequested());
}

TEST(WorkerThread, FunctionAlreadyReturned_StopReturnsAtOnce) {
  WorkerThread thread([](WorkerThread&) -> uint32_t { return 7; }, 0);
  while (!thread.IsFinished()) Sleep(1);
  const DWORD start = GetTickCount();
  thread.Stop(true);
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST(WorkerThread, Destruction_WaitsForAFunctionThatIgnoresStop) {
  static std::atomic<bool> done;
  done = false;
  {
    WorkerThread thread(
        [](WorkerThread&) -> uint32_t {
          Sleep(200);
          done = true;
          return 0;
        },
        0);
  }
  EXPECT_TRUE(done);
}

}  // namespace
}  // namespace ox
