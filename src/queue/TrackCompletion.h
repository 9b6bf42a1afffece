// Filling in a track record that has only its path, as the queue does before a track plays.
#pragma once

#include <string>

#include "core/TrackRecord.h"

namespace ox {

// Fills a record that has neither artist nor title: from the codec's track information, else from
// the file name ("Artist - Title"), with the date added set to now. A complete record stays as it
// is. text (optional) receives the codec's free text.
void CompleteTrackRecord(TrackRecord& record, std::string* text = nullptr);

}  // namespace ox
