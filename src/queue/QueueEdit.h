// Edits of the queue and history files made against what a window showed, applied to what the
// file holds at the moment of writing. Meanwhile the player may have taken records from a queue's
// head (and counted on in a queued playlist there), others may have appended to it, and the
// history may have gained records at its front and lost its oldest: an edit keeps every record it
// does not touch, never loses one and never writes one twice. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/TrackRecord.h"

namespace ox {

// How many records were taken from the head of a queue file since `seen` was read from it: the
// smallest d for which the file now starts with seen[d], seen[d + 1], ... (compared by track; the
// count of a queued playlist may have moved on). -1 when the file changed in another way.
int64_t TakenSince(const std::vector<QueueRecord>& seen, const std::vector<QueueRecord>& now);

// The queue after an edit. order lists the edited queue top to bottom as the window meant it:
// a value v >= 0 is the seen row v, a value v < 0 the new record added[-1 - v]. Rows taken since
// are left out, each other row keeps what the file now holds for it, and records appended since
// follow at the end. False, with out untouched, when the file changed in another way (the caller
// reloads and the user sees the new state), or order names a row that does not exist.
bool ApplyQueueEdit(const std::vector<QueueRecord>& seen, const std::vector<QueueRecord>& now,
                    const std::vector<int64_t>& order, const std::vector<TrackRecord>& added,
                    std::vector<QueueRecord>& out);

// Orders for ApplyQueueEdit from the rows a user marked (marked[i] for row i): the queue without
// them; each one place up (step < 0) or down (step > 0), trading places with the unmarked row
// beside it, so that a block of marked rows moves as one and a row at the edge stays; all of them,
// in their order, moved to just before row `before` (to the end when it is past the last).
std::vector<int64_t> OrderWithout(const std::vector<bool>& marked);
std::vector<int64_t> OrderStepped(const std::vector<bool>& marked, int step);
std::vector<int64_t> OrderMovedBefore(const std::vector<bool>& marked, size_t before);

// The history without the seen rows `removed`: the records put at its front since are skipped
// over, and a removed row that has since fallen off the end is gone already. When the seen rows
// are nowhere in the file, nothing is removed.
std::vector<TrackRecord> RemoveFromHistory(const std::vector<TrackRecord>& seen, const std::vector<TrackRecord>& now,
                                           const std::vector<size_t>& removed);

}  // namespace ox
