// Describing a track to the user: the track information text, the file type name, and the check
// for MPEG audio in files no codec claims.
#pragma once

#include <string>

#include "queue/TrackRecord.h"

namespace ox {

std::string TrackInformation(const TrackRecord& record);

// The type name of the path's extension from HKEY_CLASSES_ROOT ("MP3 File" when it has none).
// The last answer is kept for the next question about the same extension.
std::string TypeText(const std::string& path);

// True when chained MPEG audio frames follow the middle of the file.
bool MpegAudioCheck(const std::string& path);

}  // namespace ox
