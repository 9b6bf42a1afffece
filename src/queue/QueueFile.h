// The suite's queue files (the queue and the priority queue): queue records one after another,
// the head taken first. A queued playlist stays at the head while it hands out its entries one by
// one, counting them in its record. Every program of the suite may change these files at any time:
// each operation opens, changes and closes the file.
#pragma once

#include <string>
#include <vector>

#include "core/TrackRecord.h"

namespace ox {

class DataFile;

// Appends a queue record (a count of 0). A partial record left at the end by a writer that died
// is cut off first, so every record stays on its boundary. False, with the file as it was, when
// the file stayed locked too long or could not be cut or written.
bool AppendQueueRecord(const std::string& path, const TrackRecord& track);

// The append of both: to a file the caller opened for writing, each track as a record of count 0,
// after cutting a partial last record. False when it could not be cut or written.
bool AppendQueueRecords(DataFile& file, const std::vector<TrackRecord>& tracks);

// Takes the head of the file: a track, or the next entry of a queued playlist (the playlist's
// record goes once it is missing, empty or handed out). False when the file holds no record.
bool TakeFromQueueFile(const std::string& path, TrackRecord& out);

// Steps a queued playlist at the head back to the entry before the one handed out last. True when
// it stepped; false when the head is no playlist or was at its first entry (which it then stays at).
bool StepBackQueuedPlaylist(const std::string& path);

}  // namespace ox
