#include "queue/NextTrack.h"

#include "base/DataFile.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "queue/Collection.h"
#include "queue/Playlist.h"
#include "queue/QueueFile.h"
#include "queue/TrackCompletion.h"

namespace ox {

bool NextTrack(TrackRecord& out) {
  // Each round consumes something (the slot, a queue record, a playlist entry); the bound only
  // guards against a collection of nothing but playlists.
  for (int round = 0; round < 1000; ++round) {
    out = TrackRecord{};
    bool got = block::OxTrackShouldPlay.ReadValue(out) && out.HasPath();
    if (got) {
      const TrackRecord empty{};
      block::OxTrackShouldPlay.WriteValue(empty);
    } else {
      got = TakeFromQueueFile(PriorityQueueFile(), out) || TakeFromQueueFile(QueueFile(), out);
      if (!got && evt::OxMyMusicRandom.IsSet()) got = PickFromCollection(out);
      if (!got) {
        out = TrackRecord{};
        return false;
      }
    }
    if (out.HasPath() && IsPlaylist(out.Path())) {
      AppendQueueRecord(PriorityQueueFile(), out);
      BumpChangeCounter();
      continue;
    }
    if (out.HasPath()) CompleteTrackRecord(out);
    return true;
  }
  out = TrackRecord{};
  return false;
}

bool IsAnythingToPlay() {
  if (evt::OxMyMusicRandom.IsSet()) return true;
  TrackRecord next{};
  if (block::OxTrackShouldPlay.ReadValue(next) && next.HasPath()) return true;
  return FileSize(PriorityQueueFile()) > 0 || FileSize(QueueFile()) > 0;
}

}  // namespace ox
