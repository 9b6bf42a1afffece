// The core thread's state machine: it turns play, skip and play-next requests into TrackPlayer
// objects, keeping at most two (the current track and the one before it, fading out or playing its
// last blocks), and hands over between them by cross-fade or gaplessly.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/SoundOutputHost.h"
#include "engine/TrackPlayer.h"

namespace ox {

class PlayerControl {
 public:
  // Restores the saved flags and equaliser positions; clears a stale playing track.
  explicit PlayerControl(const SoundOutputHost* outputs);
  // Saves the flags, ends both players, clears the playing track.
  ~PlayerControl();
  PlayerControl(const PlayerControl&) = delete;
  PlayerControl& operator=(const PlayerControl&) = delete;

  // Collects finished players (and publishes the living-player count when asked).
  void Reap(bool publish = true);
  // One step: starts, skips and replaces tracks as the requests say.
  void Step();

 private:
  bool WantsNext();
  void PublishCount();
  void ClearPlayingTrack();

  bool resumePending_ = true;
  const SoundOutputHost* outputs_;
  std::unique_ptr<TrackPlayer> current_, previous_;
  bool retrying_ = false;  // nothing came to play: the next look is at retryAt_
  uint32_t retryAt_ = 0;
  // Only this thread writes "OxTrackPlaying": once cleared it stays clear until a track starts, so
  // an idle player need not read it three times a cycle.
  bool playingPublished_ = true;
};

// Writes the player's state to the settings: play, random and equaliser flags, equaliser
// positions, volume (plus one) and balance.
void SaveState();

// Set at every track start; the skin thread reads and clears it to redraw.
bool TakeRefreshFlag();

}  // namespace ox
