// Plays one track on a playback thread of its own: codec -> equaliser -> level -> sound output,
// with the controls that arrive through the suite's named objects, the published track time, and
// the hand-overs to the next track (cross-fade and gapless). The core thread keeps at most two: the
// current one and the one fading out or finishing.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/NamedEvent.h"
#include "base/WorkerThread.h"
#include "engine/CodecHost.h"
#include "engine/Equaliser.h"
#include "engine/SoundOutputHost.h"
#include "engine/VisualFeed.h"
#include "core/TrackRecord.h"

namespace ox {

// What the player's owner wants done at two moments of a track; a null hook is skipped.
struct TrackPlayerHooks {
  // The track counts as played (5 s into it, when it was no resume). Runs on a short-lived thread
  // of its own, which exit waits for.
  void (*played)(const TrackRecord& track) = nullptr;
  // The automatic level correction was measured: the volume boost to keep for the track at path.
  // Runs on the playback thread as it ends.
  void (*levelMeasured)(std::string_view path, int16_t volumeBoost) = nullptr;
};

class TrackPlayer {
 public:
  // Starts playing `track` at once, through `outputs` (not owned, must outlive the player), with a
  // fade-in of fadeInMs (0: none). `codecs` defaults to the process-wide host.
  TrackPlayer(const SoundOutputHost* outputs, const TrackRecord& track, uint32_t fadeInMs,
              const TrackPlayerHooks& hooks = {}, const CodecHost* codecs = nullptr);
  // Stops the thread and waits for it; writes 0 to "OxCurrentBitRate".
  ~TrackPlayer();
  TrackPlayer(const TrackPlayer&) = delete;
  TrackPlayer& operator=(const TrackPlayer&) = delete;

  // Set when the core thread should start the next track (cross-fade or gapless end near).
  bool NextTrackWanted() const { return nextTrack_.IsSet(); }
  bool IsFinished() const { return thread_->IsFinished(); }
  // Makes this the track that fades out: it stops publishing the time and fades by the cross-fade rule.
  void Demote() { isMain_ = false; }

  // Process-wide: how many players are alive (kept by the core thread), and the tick count before
  // which a waiting gapless player must not deliver its first block (0: none).
  static void SetLivingPlayers(int count);
  static int LivingPlayers();
  static uint32_t GaplessDeadline();

 private:
  static uint32_t ThreadMain(WorkerThread& self);
  void Run();
  bool Open();
  void Loop();
  void Teardown(bool loopRan);
  bool ControlPass();  // false: stop playing
  bool PauseHandling();  // false: stop playing
  void SeekHandling();
  void VolumeAndEqualiser();
  void ApplyLevelCorrection(int16_t volumeBoost);
  void TakeReplayGain();
  void RecordCheck();
  bool DeliverBlock(bool& allPlayed);  // false: leave the loop at once
  void GiveBack(void* buffer, uint32_t bytes, bool end);
  void PublishTime();
  void ProcessBlock(uint8_t* block, uint32_t bytes, uint32_t positionMs);
  uint32_t MsOf(uint64_t bytes);
  bool Leaving() const;

  const CodecHost& codecs_;
  const SoundOutputHost* outputs_;
  const TrackPlayerHooks hooks_;
  TrackRecord track_;
  const std::string path_;  // the record's path as text: another program may leave it unterminated
  bool recordedAsPlayed_ = false;
  bool noHistory_ = false;
  int fadePercent_ = 100;
  int boostDivisor_ = 100;
  double replayGain_ = 0;  // linear factor from the track's loudness tags; 0: none, the automatic level rules
  bool autoBoostPending_ = false;
  bool playedEnough_ = false;
  int32_t peak_ = 0;
  bool gapless_ = false;
  bool firstBlock_ = true;
  uint32_t gaplessLatencyMs_ = 80;
  uint32_t deadline_ = 0;  // the last gapless deadline this track set; 0 none
  std::atomic<bool> isMain_{true};
  NamedEvent nextTrack_{nullptr};
  uint32_t crossFadeThresholdMs_ = 0;
  uint32_t crossFadeLengthMs_ = 0;
  bool fadeIn_ = false;
  uint32_t fadeInLengthMs_ = 0;
  int lastLeft_ = -1, lastRight_ = -1;
  TrackTime time_{};
  uint32_t baseMs_ = 0xFFFFFFFFu;
  uint32_t deliveredMs_ = 0;
  bool endOfStream_ = false;

  const CodecPlugin* codec_ = nullptr;
  OxDecoder decoder_ = 0;
  const WAVEFORMATEX* format_ = nullptr;  // the decoder's: read, never written
  uint32_t bytesPerSecond_ = 1;
  const SoundOutputPlugin* output_ = nullptr;
  OxSoundOut outputHandle_ = 0;
  std::unique_ptr<Equaliser> equaliser_;
  std::unique_ptr<VisualFeed> visual_;
  bool selectorOn_ = false;  // "OxSelectorSwitch" non-zero: no snapshots
  // The visual feed of the visualisation plug-ins attaches here: it is handed each processed block
  // and its position, reset on a seek, and fed every pass with isMain.

  std::unique_ptr<WorkerThread> thread_;  // last: started once everything above is set
};

}  // namespace ox
