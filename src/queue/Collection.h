// The music collection the collection editor owns: the random pick of random play, and handing
// new files to the editor.
#pragma once

#include <cstdint>
#include <string>

#include "queue/TrackRecord.h"

namespace ox {

// A random record of the active collection (drawn from the selective play list when there is one),
// weighted by preference and avoiding the history, at most 50 draws; false when the collection is
// missing or empty.
bool PickFromCollection(TrackRecord& out);

// Appends path (when given) to the editor's add-to-collection file; with notify, tells the editor
// and starts it when it does not run, waiting at most waitMs for it to report running.
void AddFileToCollection(const std::string* path, bool notify, uint32_t waitMs = 10000);

}  // namespace ox
