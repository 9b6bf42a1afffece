#include "base/WorkerThread.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "TestSupport.h"

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

TEST(WorkerThread, SuspendedRunsOnlyAfterResumeAndStopEndsIt) {
  std::atomic<int> passes{0};
  WorkerThread thread(PollUntilStopped, 0, true);
  thread.SetArgument(reinterpret_cast<uintptr_t>(&passes));  // the owner fills it in before Resume
  EXPECT_FALSE(oxtest::WaitFor([&] { return passes > 0; }, 50));
  thread.Resume();
  ASSERT_TRUE(oxtest::WaitFor([&] { return passes >= 3; }, 5000));
  EXPECT_FALSE(thread.IsFinished());
  thread.Stop(true);
  EXPECT_TRUE(thread.IsFinished());
  const int after = passes;
  EXPECT_FALSE(oxtest::WaitFor([&] { return passes != after; }, 30));  // the function really returned
}

TEST(WorkerThread, NeverResumedOrNotStarted_StopAndDestructionReturn_ARunningOneIsWaitedFor) {
  std::atomic<int> passes{0};
  { WorkerThread thread(PollUntilStopped, reinterpret_cast<uintptr_t>(&passes), true); }
  EXPECT_EQ(passes, 0);  // it saw the stop request before its first pass
  WorkerThread none(nullptr, 0);
  EXPECT_FALSE(none.IsRunning());
  EXPECT_TRUE(none.IsFinished());
  none.Stop(true);
  EXPECT_TRUE(none.StopRequested());

  // Destruction waits for a function that ignores the stop request.
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
