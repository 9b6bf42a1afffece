// The queue and history files read whole for a window, and the window's edits written back under
// an exclusive open (see QueueEdit.h). Each call may wait up to 10 s for a file another program
// holds: windows call these from a worker thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/TrackRecord.h"

namespace ox {

// What reading found. A file with stray bytes (a partial record at its end, or a history longer
// than kHistoryMax records) is shown as far as it goes and never rewritten.
struct FileRead {
  bool read = false;      // the file was read whole, or is missing (and so empty)
  size_t strayBytes = 0;  // bytes past the last whole record, or past the records shown
};

// Every record of a queue file, read under an exclusive open so that no take or append is caught
// halfway.
FileRead ReadQueueRecords(const std::string& path, std::vector<QueueRecord>& records);
// The newest kHistoryMax records of the history file.
FileRead ReadHistoryRecords(std::vector<TrackRecord>& records);

enum class EditResult {
  Done,
  Changed,     // the file changed in a way the edit cannot follow: reload and show it
  Unreadable,  // the file could not be opened, or holds stray bytes: left as it was
  Failed,      // a write was refused
};

// Applies ApplyQueueEdit to the file as it is now and writes what differs, then bumps the change
// counter.
EditResult EditQueueFile(const std::string& path, const std::vector<QueueRecord>& seen,
                         const std::vector<int64_t>& order, const std::vector<TrackRecord>& added);
// Appends the tracks to a queue file in one write (a partial record at its end is cut first, as
// AppendQueueRecord does); bumps the change counter.
EditResult AppendToQueueFile(const std::string& path, const std::vector<TrackRecord>& tracks);
// Removes the seen rows from the history file (see RemoveFromHistory); bumps the change counter.
EditResult RemoveHistoryRows(const std::vector<TrackRecord>& seen, const std::vector<size_t>& rows);
// Empties the history file; bumps the change counter.
EditResult ClearHistory();

}  // namespace ox
