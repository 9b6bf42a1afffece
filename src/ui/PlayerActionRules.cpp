#include "ui/PlayerActions.h"

namespace ox {

namespace {

// The WM_APPCOMMAND numbers (winuser.h), here without the header.
enum AppCommand : uint32_t {
  kVolumeMute = 8, kVolumeDown = 9, kVolumeUp = 10, kNextTrack = 11, kPreviousTrack = 12, kStop = 13,
  kPlayPause = 14, kMediaSelect = 16,
};

// Elapsed x 100 / length, or elapsed x 100 when the length is not known; 64 bits, as a record
// from elsewhere may hold any elapsed time.
uint64_t PercentPlayed(const TrackTime& time) {
  const uint64_t hundredfold = uint64_t{time.elapsedMs} * 100;
  return time.lengthMs ? hundredfold / time.lengthMs : hundredfold;
}

}  // namespace

std::optional<PlayerAction> AppCommandAction(uint32_t command) {
  switch (command) {
    case kVolumeMute: return PlayerAction::Mute;
    case kVolumeDown: return PlayerAction::VolumeDown;
    case kVolumeUp: return PlayerAction::VolumeUp;
    case kNextTrack: return PlayerAction::PlayButton;
    case kPreviousTrack: return PlayerAction::SkipBack;
    case kStop: return PlayerAction::Stop;
    case kPlayPause: return PlayerAction::PlayPause;
    case kMediaSelect: return PlayerAction::OpenFiles;
  }
  return std::nullopt;
}

uint32_t VolumeAfterStep(uint32_t volume, bool up) {
  if (up) return volume < 96 ? volume + 5 : volume;
  return volume > 4 ? volume - 5 : volume;
}

uint32_t SeekForwardPercent(const TrackTime& time) {
  const uint64_t percent = PercentPlayed(time) + 5;
  return percent > 100 ? 100 : static_cast<uint32_t>(percent);
}

uint32_t SeekBackPercent(const TrackTime& time) {
  const uint64_t percent = PercentPlayed(time);
  return percent < 6 ? 1 : percent > 105 ? 100 : static_cast<uint32_t>(percent - 5);
}

}  // namespace ox
