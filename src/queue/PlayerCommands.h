// What the suite's programs ask of the player through the queue and the shared objects: play now,
// enqueue, play/stop, skip back. Every program of the suite may call these; a player that does
// not run is started where playing needs it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/TrackRecord.h"

namespace ox {

// Plays now: within 2000 ms of the previous play-now the record queues at the end of the priority
// queue instead, so several files played at once follow each other in order. A path that does
// not fit a track record is not played.
void PlayNow(std::string_view path);
void PlayNow(const TrackRecord& record);
// Plays the first path now and queues the others right behind it, in order, however long the
// priority queue file takes to open. The paths are ones the user chose: those that do not fit a
// track record are named in one message (ReportPathsTooLong).
void PlayNowInOrder(const std::vector<std::string>& paths);
// Tells the user, in one message, that these paths are too long to play; nothing when empty.
void ReportPathsTooLong(const std::vector<std::string>& paths);

// Appends to the queue file; false when the file stayed locked for too long.
bool Enqueue(const TrackRecord& record);
// Queues the playing track once more.
void EnqueuePlaying();
// Deletes both queue files.
void ClearQueue();

// Starts when stopped (replaying the newest history record when nothing else waits); when
// playing, resumes when paused, else stops.
void PlayStop();
// Starts when stopped, skips to the next track when playing, resumes when paused.
void PlayButton();
// Restarts a track played for more than 5 s; else steps back in a queued playlist, else through
// the history.
void SkipBack();

}  // namespace ox
