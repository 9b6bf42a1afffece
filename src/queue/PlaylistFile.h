// Playlist files on disk: entry lookup and the M3U writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "queue/Playlist.h"

namespace ox {

// Entry n of the playlist file, resolved (see PlaylistEntry); "" when the file cannot be opened.
std::string PlaylistEntryOf(const std::string& playlist, uint32_t n);

// Writes an extended M3U file (see M3uText); false when it cannot be written.
bool WriteM3uFile(const std::string& path, const std::vector<M3uTrack>& tracks);

}  // namespace ox
