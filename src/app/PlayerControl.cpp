#include "app/PlayerControl.h"

#include <windows.h>

#include <atomic>

#include "base/Ticks.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "queue/Collection.h"
#include "queue/History.h"
#include "queue/NextTrack.h"

namespace ox {

namespace {

std::atomic<bool> g_refresh{false};

// What a playing track reports back: plays go to the history and the collection, measured levels
// to the collection.
const TrackPlayerHooks kHooks = {
    RecordAsPlayed,
    [](std::string_view path, int16_t volumeBoost) { UpdateCollectionEntry(path, false, volumeBoost); },
};

void ClearPlayingBlocks() {
  TrackRecord playing{};
  if (block::OxTrackPlaying.ReadValue(playing) && playing.HasPath()) {
    const TrackRecord empty{};
    const TrackTime zero{};
    block::OxTrackPlaying.WriteValue(empty);
    block::OxTrackTime.WriteValue(zero);
  }
}

void SaveFlags() {
  WriteNumber(setting::OxPlayDown, evt::OxPlay.IsSet() ? 0 : 1);
  WriteNumber(setting::OxRandomPlay, evt::OxMyMusicRandom.IsSet() ? 0 : 1);
  WriteNumber(setting::OxEQOn, evt::OxEqOn.IsSet() ? 1 : 0);
  EqPositions positions{};
  block::OxEqPositions.ReadValue(positions);
  static_assert(sizeof positions == 88);
  WriteBytes(setting::OxEQSettings, &positions);
}

}  // namespace

bool TakeRefreshFlag() { return g_refresh.exchange(false); }

void SaveState() {
  SaveFlags();
  uint32_t volume = 100, balance = 50;
  block::OxVolume.ReadValue(volume);
  block::OxBalance.ReadValue(balance);
  WriteNumber(setting::OxVolume, volume + 1);
  WriteNumber(setting::OxBalance, balance);
}

void PlayerControl::ClearPlayingTrack() {
  if (!playingPublished_) return;
  ClearPlayingBlocks();
  playingPublished_ = false;
}

PlayerControl::PlayerControl(const SoundOutputHost* outputs) : outputs_(outputs) {
  ClearPlayingTrack();
  if (ReadNumber(setting::OxPlayDown) == 0) evt::OxPlay.Set();
  if (ReadNumber(setting::OxRandomPlay) == 0) evt::OxMyMusicRandom.Set();
  if (ReadNumber(setting::OxEQOn) != 0) evt::OxEqOn.Set();
  EqPositions positions{};
  ReadBytes(setting::OxEQSettings, &positions);
  block::OxEqPositions.WriteValue(positions);
}

PlayerControl::~PlayerControl() {
  SaveFlags();
  current_.reset();
  previous_.reset();
  TrackPlayer::SetLivingPlayers(0);
  playingPublished_ = true;
  ClearPlayingTrack();
}

void PlayerControl::PublishCount() { TrackPlayer::SetLivingPlayers((current_ ? 1 : 0) + (previous_ ? 1 : 0)); }

void PlayerControl::Reap(bool publish) {
  if (current_ && current_->IsFinished()) current_.reset();
  if (previous_ && previous_->IsFinished()) previous_.reset();
  if (!current_) ClearPlayingTrack();
  if (publish) PublishCount();
}

bool PlayerControl::WantsNext() {
  if (!current_) return true;
  if (!previous_ && current_->NextTrackWanted()) return true;  // handed over below
  if (evt::OxSkip.IsSet()) {
    evt::OxSkip.Reset();
    current_.reset();
    previous_.reset();
    return true;
  }
  TrackRecord next{};
  if (!block::OxTrackShouldPlay.ReadValue(next) || !next.HasPath()) return false;
  current_.reset();  // a requested track replaces what plays
  previous_.reset();
  return true;
}

void PlayerControl::Step() {
  if (retrying_) {
    if (!TickReached(Ticks(), retryAt_)) return;
    retrying_ = false;
  }
  Reap(false);
  if (!evt::OxPlay.IsSet()) return;

  if (WantsNext()) {
    TrackRecord track{};
    if (resumePending_) {
      // The point the last run stopped at is used once, and only when nothing else was asked for.
      resumePending_ = false;
      block::OxTrackShouldPlay.ReadValue(track);
      if (!track.HasPath()) {
        const std::string file = ReadText(setting::OxMultiResumeFile);
        if (!file.empty() && CopyBounded(track.path, file)) {
          block::OxTrackShouldPlay.WriteValue(track);
          const uint32_t percent = ReadNumber(setting::OxMultiResumePos);
          block::OxSkipToPos.WriteValue(percent);
        }
      }
      WriteText(setting::OxMultiResumeFile, "");
    }
    NextTrack(track);
    if (track.HasPath()) {
      uint32_t fadeInMs = 0;
      if (current_) {
        if (ReadNumber(setting::CrossFadeOn) != 0) {
          previous_ = std::move(current_);
          previous_->Demote();
          const uint32_t seconds = ReadNumber(setting::CrossFadeLengthSec);
          fadeInMs = seconds ? seconds * 1000 : 5000;
        } else if (ReadNumber(setting::GapLessOn) != 0) {
          previous_ = std::move(current_);
        } else {
          current_.reset();
        }
      }
      block::OxTrackPlaying.WriteValue(track);
      playingPublished_ = true;
      BumpChangeCounter();
      g_refresh = true;
      // Counted before it starts: a gapless player decides at once whether to hold its first block.
      TrackPlayer::SetLivingPlayers(previous_ ? 2 : 1);
      current_ = std::make_unique<TrackPlayer>(outputs_, track, fadeInMs, kHooks);
      PublishCount();
    } else {
      retrying_ = true, retryAt_ = Ticks() + 1000;
    }
  }
  if (!current_ && !previous_) {  // nothing plays and nothing came: stopped
    evt::OxPlay.Reset();
    BumpChangeCounter();
  }
  PublishCount();
}

}  // namespace ox
