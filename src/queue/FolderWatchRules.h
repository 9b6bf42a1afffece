// The rules of the folder watch, pure: when the schedule asks for a scan, how the minutes between
// scans are read, which folders a scan skips, and the known paths compared without case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

namespace ox {

// "FWScheduleEvery": whole minutes in decimal; 0, nothing, or text that does not start with a
// digit mean 30.
uint32_t ScheduleMinutes(std::string_view text);

// The schedule as the core thread keeps it: looked at once a minute; with "FWSchedule" 2 a scan
// is due when more than the chosen minutes have passed since the last scheduled one, the first
// that many minutes after the first minute of running.
class WatchSchedule {
 public:
  // One core-thread cycle at `now`; schedule2: whether "FWSchedule" is 2, minutes: "FWScheduleEvery"
  // as minutes, both asked only at the once-a-minute check. True when a scan is due now.
  template <typename Schedule2, typename Minutes>
  bool Tick(uint32_t now, Schedule2 schedule2, Minutes minutes) {
    if (!started_) started_ = true, lastCheck_ = now;
    if (now - lastCheck_ <= 60000) return false;
    lastCheck_ = now;
    if (!scanStarted_) scanStarted_ = true, lastScan_ = now;
    if (!schedule2() || now - lastScan_ <= uint64_t{minutes()} * 60000) return false;
    lastScan_ = now;
    return true;
  }

 private:
  bool started_ = false, scanStarted_ = false;
  uint32_t lastCheck_ = 0, lastScan_ = 0;
};

// A folder a scan never enters: "recycler" in any letter case.
bool IsRecyclerFolder(std::string_view name);

// The collection's paths, compared without regard to case: one lookup per file, however large the
// collection. fold gives the form paths that differ only in case share; the default folds a-z
// alone, the player passes PathKey (base/PathCase.h), which folds every letter.
class KnownPaths {
 public:
  using Fold = std::string (*)(std::string_view);
  explicit KnownPaths(Fold fold = AsciiUpper) : fold_(fold) {}
  void Add(std::string_view path);
  bool Contains(std::string_view path) const;
  size_t Size() const { return paths_.size(); }

 private:
  static std::string AsciiUpper(std::string_view path);
  Fold fold_;
  std::unordered_set<std::string> paths_;  // folded
};

}  // namespace ox
