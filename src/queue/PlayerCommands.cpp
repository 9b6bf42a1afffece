#include "queue/PlayerCommands.h"

#include <windows.h>

#include <atomic>

#include "base/UserMessage.h"
#include "core/EnsureRunning.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "queue/History.h"
#include "queue/NextTrack.h"
#include "queue/QueueFile.h"

namespace ox {

namespace {

constexpr uint32_t kPlayNowWindowMs = 2000;

// Which history record the next skip back replays: each replay lands at the front of the history
// again, so the one before it is two further down.
std::atomic<int32_t> g_historyStep{1};

void Play() {
  evt::OxPlay.Set();
  evt::OxPause.Reset();
  uint32_t selector = 1;
  block::OxSelectorSwitch.ReadValue(selector);
  const uint32_t zero = 0;
  block::OxSelectorSwitch.WriteValue(zero);
  if (selector == 1) evt::OxSkip.Set();  // the source changes from 1 to 0
  BumpChangeCounter();
  EnsurePlayerRunning();
}

}  // namespace

void PlayNow(std::string_view path) {
  TrackRecord record{};
  if (CopyBounded(record.path, path)) PlayNow(record);
}

namespace {

// The time of a play-now, shared by every program of the suite: the system's tick count.
void PlayNow(const TrackRecord& record, bool next) {
  uint32_t last = 0;
  block::OxMPLastSetTSP.ReadValue(last);
  if (next || GetTickCount() - last <= kPlayNowWindowMs) AppendQueueRecord(PriorityQueueFile(), record);
  else block::OxTrackShouldPlay.WriteValue(record);
  block::OxMPLastSetTSP.WriteValue(static_cast<uint32_t>(GetTickCount()));
  Play();
}

}  // namespace

void PlayNow(const TrackRecord& record) { PlayNow(record, false); }

void PlayNowInOrder(const std::vector<std::string>& paths) {
  bool first = true;
  std::vector<std::string> tooLong;
  for (const std::string& path : paths) {
    TrackRecord record{};
    if (!CopyBounded(record.path, path)) {
      tooLong.push_back(path);
      continue;
    }
    PlayNow(record, !first);
    first = false;
  }
  ReportPathsTooLong(tooLong);
}

void ReportPathsTooLong(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  std::string text = paths.size() == 1 ? "The path is too long to play:" : "These paths are too long to play:";
  for (const std::string& path : paths) text += "\n" + path;
  ShowUserMessage(text.c_str(), "Orlavox", kMessageInformation);
}

bool Enqueue(const TrackRecord& record) {
  const bool done = AppendQueueRecord(QueueFile(), record);
  BumpChangeCounter();
  return done;
}

void EnqueuePlaying() {
  TrackRecord playing{};
  if (block::OxTrackPlaying.ReadValue(playing) && playing.HasPath()) Enqueue(playing);
}

void ClearQueue() {
  DeleteFileA(PriorityQueueFile().c_str());
  DeleteFileA(QueueFile().c_str());
  BumpChangeCounter();
}

void PlayStop() {
  if (!evt::OxPlay.IsSet()) {
    TrackRecord newest{};
    if (!IsAnythingToPlay() && ReadHistoryRecord(0, newest)) PlayNow(newest);
    Play();
  } else if (evt::OxPause.IsSet()) {
    evt::OxPause.Reset();
  } else {
    evt::OxPlay.Reset();
  }
  BumpChangeCounter();
}

void PlayButton() {
  if (!evt::OxPlay.IsSet()) PlayStop();
  else if (!evt::OxPause.IsSet()) evt::OxSkip.Set();
  else evt::OxPause.Reset();
}

void SkipBack() {
  TrackTime time{};
  block::OxTrackTime.ReadValue(time);
  if (time.elapsedMs > 5000) {
    const uint32_t restart = 1;
    block::OxSkipToPos.WriteValue(restart);
    return;
  }
  for (const std::string& path : {PriorityQueueFile(), QueueFile()}) {
    if (!StepBackQueuedPlaylist(path)) continue;
    BumpChangeCounter();
    evt::OxSkip.Set();
    return;
  }
  TrackRecord earlier{};
  const int32_t step = g_historyStep.load();
  if (step >= 0 && ReadHistoryRecord(static_cast<uint64_t>(step), earlier)) {
    block::OxTrackShouldPlay.WriteValue(earlier);
    g_historyStep.store(step + 2);
  } else {
    g_historyStep.store(1);
  }
}

}  // namespace ox
