// The choice of the next track: the play-next slot "OxTrackShouldPlay", then the priority queue,
// then the queue, then (with random play on) the music collection.
#pragma once

#include "core/TrackRecord.h"

namespace ox {

// Picks the next track and completes its record. Playlists arriving through the slot or the
// collection are queued and played entry by entry. True when a record came (its path may still be
// empty: a queued playlist that was missing or ran dry, which stops play); false when there is
// nothing to play.
bool NextTrack(TrackRecord& out);

// Whether NextTrack would find something: random play is on, or the slot or a queue holds a record.
bool IsAnythingToPlay();

}  // namespace ox
