// Every way a user drives the player without a skin button goes through one table of actions: the
// 17 keys of the key table (by number), the media keys, the mouse wheel and the tray icon. The
// volume changes by one rule for all of them. The pure part (which action a media key asks for,
// the volume and seek arithmetic) needs no window.
#pragma once

#include <cstdint>
#include <optional>

#include "core/SharedRecords.h"

namespace ox {

enum class PlayerAction : int32_t {
  // The key table's actions, numbered as its entries "Key0".."Key16".
  Play, PlayButton, SkipBack, SeekForward, SeekBack, Pause, Stop, OpenFiles, VolumeUp, VolumeDown,
  Mute, MusicCollection, CollectionEditor, PlaylistWindow, PreviouslyPlayed, Close, OptionsMenu,
  // A media key's play/pause: plays when stopped, else pauses or resumes.
  PlayPause,
};
constexpr int kKeyActions = 17;

// The action of a WM_APPCOMMAND command (bits 16..30 of its lParam); none for the commands the
// player takes but does nothing with.
std::optional<PlayerAction> AppCommandAction(uint32_t command);

// The volume rule of the keys, media keys and tray: +5 below 96, -5 above 4 (a volume near an
// edge stays). The wheel's finer rule is VolumeAfterWheel.
uint32_t VolumeAfterStep(uint32_t volume, bool up);

// The seek request of "forward" (+5 %, at most 100) and "back" (-5 %, 1 below 6 %), from the
// percent played of the track time.
uint32_t SeekForwardPercent(const TrackTime& time);
uint32_t SeekBackPercent(const TrackTime& time);

// Does the action, through the named events and shared blocks every program of the suite uses.
void RunPlayerAction(PlayerAction action);
// The wheel over a player window.
void TurnVolumeWheel(int16_t delta);

}  // namespace ox
