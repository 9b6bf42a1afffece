// The track information text of the player's tooltip, built from a track record. Pure: the parts
// that need the system (the type name, the date in the user's format, the codec's own text) come in
// ready made.
#pragma once

#include <string>

#include "core/TrackRecord.h"

namespace ox {

struct TrackInfoParts {
  std::string typeText;    // e.g. "MP3 File", from the registry
  std::string dateText;    // date added, in the user's long date format
  bool hasCodecText = false;
  std::string codecText;   // the codec's GetStringInfo, when it has one
};

// "Not Playing" for a record without a path; else the tab-aligned, CR LF separated text.
std::string TrackInfoText(const TrackRecord& record, const TrackInfoParts& parts);

// The type name when the registry has none: "MP3 File" for ".mp3", "File" for ".".
std::string DefaultTypeText(const std::string& extension);

}  // namespace ox
