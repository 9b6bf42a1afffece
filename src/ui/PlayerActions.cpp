#include "ui/PlayerActions.h"

#include <algorithm>

#include "core/NamedObjects.h"
#include "queue/PlayerCommands.h"
#include "ui/ButtonCommands.h"
#include "ui/SkinGeometry.h"

namespace ox {

namespace {

// Every volume change: read the block, apply the rule, write it back.
template <typename Rule>
void ChangeVolume(Rule rule) {
  uint32_t volume = 0;
  block::OxVolume.ReadValue(volume);
  const uint32_t changed = rule(volume);
  if (changed != volume) block::OxVolume.WriteValue(changed);
}

TrackTime CurrentTime() {
  TrackTime time{};
  block::OxTrackTime.ReadValue(time);
  return time;
}

}  // namespace

void RunPlayerAction(PlayerAction action) {
  switch (action) {
    case PlayerAction::Play:
      evt::OxPlay.Set();
      evt::OxPause.Reset();
      break;
    case PlayerAction::PlayButton: PlayButton(); break;
    case PlayerAction::SkipBack: SkipBack(); break;
    case PlayerAction::SeekForward: block::OxSkipToPos.WriteValue(SeekForwardPercent(CurrentTime())); break;
    case PlayerAction::SeekBack: block::OxSkipToPos.WriteValue(SeekBackPercent(CurrentTime())); break;
    case PlayerAction::Pause: evt::OxPause.Toggle(); break;
    case PlayerAction::Stop: evt::OxPlay.Reset(); break;
    case PlayerAction::OpenFiles: evt::ShowOpenMusic.Set(); break;
    case PlayerAction::VolumeUp: ChangeVolume([](uint32_t v) { return VolumeAfterStep(v, true); }); break;
    case PlayerAction::VolumeDown: ChangeVolume([](uint32_t v) { return VolumeAfterStep(v, false); }); break;
    case PlayerAction::Mute: evt::OxMute.Toggle(); break;
    case PlayerAction::MusicCollection: RunButtonCommand("<MyMusicCollection>", 0); break;
    case PlayerAction::CollectionEditor: StartCollectionEditor(); break;
    case PlayerAction::PlaylistWindow: StartPlaylistWindow(); break;
    case PlayerAction::PreviouslyPlayed: StartPreviouslyPlayed(); break;
    case PlayerAction::Close: evt::OxClose.Set(); break;
    case PlayerAction::OptionsMenu: StartOptionsMenu(); break;
    case PlayerAction::PlayPause:
      if (!evt::OxPlay.IsSet()) evt::OxPlay.Set();
      else evt::OxPause.Toggle();
      break;
  }
}

void TurnVolumeWheel(int16_t delta) {
  ChangeVolume([delta](uint32_t v) {
    return static_cast<uint32_t>(VolumeAfterWheel(static_cast<int32_t>(std::min<uint32_t>(v, 100)), delta));
  });
}

}  // namespace ox
