// The history of played tracks ("<user>.Previously Played"): track records, newest first, at most
// kHistoryMax of them.
#pragma once

#include <cstdint>
#include <vector>

#include "core/TrackRecord.h"

namespace ox {

constexpr uint32_t kHistoryMax = 100;

// Writes a record at the front, dropping the oldest beyond kHistoryMax. False, with the file as it
// was, when it could not be read or written.
bool AddToHistory(const TrackRecord& record);

// Record `index` (0: the newest); false when there is none.
bool ReadHistoryRecord(uint64_t index, TrackRecord& out);

// Every record, newest first.
std::vector<TrackRecord> ReadHistory();

// What happens once a track counts as played: it goes into the history, the suite hears of the
// change, and the play is counted in the collection. The playback thread has it run on a thread of
// its own 5 s into a track.
void RecordAsPlayed(const TrackRecord& record);

}  // namespace ox
