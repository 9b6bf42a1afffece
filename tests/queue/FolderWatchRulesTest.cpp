#include "queue/FolderWatchRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace ox {
namespace {

TEST(FolderWatchRules, MinutesFolderNamesAndPathsWithoutCase) {
  const struct {
    const char* text;
    uint32_t minutes;
  } cases[] = {{"", 30}, {"0", 30}, {"abc", 30}, {" 5", 30}, {"15", 15}, {"15 minutes", 15}, {"10", 10}, {"05", 5},
                     {"71582", 71582}, {"71583", 71582}, {"99999999999", 71582}};
  for (const auto& c : cases) EXPECT_EQ(ScheduleMinutes(c.text), c.minutes) << c.text;
  EXPECT_TRUE(IsRecyclerFolder("ReCyClEr"));
  EXPECT_FALSE(IsRecyclerFolder("recycler.old"));
  KnownPaths known;
  known.Add("C:\\Music\\Song.MP3");
  EXPECT_TRUE(known.Contains("c:\\music\\song.mp3"));
  EXPECT_FALSE(known.Contains("c:\\music\\song.mp"));
}

// Scans the schedule asks for, ticking every 100 ms for `minutes` from `start`.
std::vector<uint32_t> Triggers(uint32_t start, int minutes, bool schedule2, uint32_t every) {
  WatchSchedule schedule;
  std::vector<uint32_t> at;
  int asked = 0, looked = 0;
  for (uint32_t t = 0; t <= uint32_t(minutes) * 60000; t += 100) {
    if (schedule.Tick(start + t, [&] { return ++looked, schedule2; }, [&] { return ++asked, every; })) at.push_back(t);
  }
  EXPECT_EQ(asked > 0, schedule2);  // the minutes are read only under schedule 2
  EXPECT_EQ(looked, int(uint32_t(minutes) * 60000 / 60100));  // the settings once a minute, not every cycle
  return at;
}

TEST(FolderWatchRules, ScheduleTwoScansEveryNMinutesAfterTheFirstMinute) {
  for (uint32_t start : {5000u, 0xFFFF0000u}) {  // also across the wrap of the tick count
    SCOPED_TRACE(start);
    const std::vector<uint32_t> at = Triggers(start, 100, true, 30);
    ASSERT_EQ(at.size(), 3u);
    // Checks run once a minute (each more than 60 s after the last, so every 60.1 s here): the
    // first starts the count; a scan comes at the first check more than 30 minutes on, the 30th.
    EXPECT_EQ(at[0], 31 * 60100u);
    EXPECT_EQ(at[1] - at[0], 30 * 60100u);
    EXPECT_TRUE(Triggers(start, 100, false, 30).empty());
  }
}

}  // namespace
}  // namespace ox
