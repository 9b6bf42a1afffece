// The play queue of the suite, which lives in files and shared blocks, never in memory: the
// play-next slot "OxTrackShouldPlay", the priority queue and queue files, and the history. Every
// program of the suite may call these; each operation opens, changes and closes what it touches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "queue/TrackRecord.h"

namespace ox {

// Picks the next track: the play-next slot, then the priority queue, then the queue, then (with
// random play on) the music collection. Playlists arriving through the slot or the collection are
// queued and played entry by entry. True when a record came (its path may still be empty: a queued
// playlist that was missing or ran dry, which stops play); false when there is nothing to play.
bool NextTrack(TrackRecord& out);

// Takes the head of one queue file (a track, or the next entry of a queued playlist). False when the
// file holds no record.
bool TakeFromQueueFile(const std::string& file, TrackRecord& out);

// Plays now: within 2000 ms of the previous play-now the record queues at the end of the priority
// queue instead, so several files played at once follow each other in order.
void PlayNow(std::string_view path);
void PlayNow(const TrackRecord& record);

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

// Writes a played track at the front of the history (at most 100 kept) and counts the play in the
// collection. The playback thread runs it on a thread of its own 5 s into a track.
void RecordAsPlayed(const TrackRecord& record);

// Counts a play and/or stores a volume boost (kVolumeBoostAuto: leave it) in the collection record
// of path, and tells the collection editor through "OxRillLiveUpdate".
void UpdateCollectionEntry(std::string_view path, bool countPlay, int16_t volumeBoost);

// Fills a record that has only its path: from the codec's track information, else from the file
// name ("Artist - Title"). text (optional) receives the codec's free text.
void CompleteTrackRecord(TrackRecord& record, std::string* text = nullptr);

bool IsAnythingToPlay();

// Tells the suite's other programs the queue or history changed.
void BumpChangeCounter();

}  // namespace ox
