// The music collection the collection editor owns: the random pick of random play, the player's
// updates to an entry, and handing new files to the editor.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/TrackRecord.h"

namespace ox {

// A random record of the active collection (drawn from the selective play list when there is one),
// weighted by preference and avoiding the history, at most 50 draws; false when the collection is
// missing or empty.
bool PickFromCollection(TrackRecord& out);

// Counts a play and/or stores a volume boost (kVolumeBoostAuto: leave it) in the collection record
// of path, and tells the collection editor through "OxRillLiveUpdate".
void UpdateCollectionEntry(std::string_view path, bool countPlay, int16_t volumeBoost);

// Appends path (when given and when it fits the 260-byte record) to the editor's add-to-collection
// file; with notify, tells the editor and starts it when it does not run, waiting at most waitMs
// for it to report running.
void AddFileToCollection(const std::string* path, bool notify, uint32_t waitMs = 10000);

}  // namespace ox
