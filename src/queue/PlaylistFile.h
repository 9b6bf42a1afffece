// Playlist files on disk: entry lookup.
#pragma once

#include <cstdint>
#include <string>

#include "queue/Playlist.h"

namespace ox {

// Entry n of the playlist file, resolved (see PlaylistEntry), in UTF-8: a playlist that is not
// UTF-8 is read in the system's ANSI code page. "" when the file cannot be opened.
std::string PlaylistEntryOf(const std::string& playlist, uint32_t n);

}  // namespace ox
