// Describing a track to the user: the track information text and the file type name.
#pragma once

#include <string>

#include "core/TrackRecord.h"

namespace ox {

std::string TrackInformation(const TrackRecord& record);

// The type name of the path's extension from HKEY_CLASSES_ROOT ("MP3 File" when it has none).
// The last answer is kept for the next question about the same extension.
std::string TypeText(const std::string& path);

}  // namespace ox
