// Whole playlists for the playlist window: every entry of an M3U or PLS file read in one pass, and
// a list of tracks written as ".m3u8", ".m3u" or ".pls" in UTF-8, with paths relative to the
// playlist where the tracks lie in its folder or below. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteSource.h"
#include "queue/Playlist.h"

namespace ox {

// What reading a whole playlist found: the entries resolved to full paths (UTF-8), and how many
// lines were passed over because they were too long or their path would not fit a track record.
struct PlaylistEntries {
  std::vector<std::string> paths;
  size_t skipped = 0;
};

// Every entry in order: M3U by line, PLS by the number after "File" (in any order in the file).
// Lines are split at CR LF, LF or CR; a line longer than lineLimit bytes is skipped whole. At
// most maxEntries entries are read; the others count as skipped. Encoding as for PlaylistEntry.
PlaylistEntries ReadPlaylistEntries(ByteSource& playlist, std::string_view playlistPath, size_t maxEntries,
                                    AnsiToUtf8 fromAnsi = nullptr, size_t lineLimit = 4096);

// How a track's path is written into a playlist at playlistPath: relative ("sub\song.mp3") when
// the track lies in the playlist's folder or below it (compared without regard to case), else the
// full path.
std::string EntryPathFor(std::string_view playlistPath, std::string_view trackPath);

struct PlaylistTrack {
  std::string path;   // full path
  std::string name;   // shown by players; may be empty
  uint32_t lengthMs;  // 0: unknown
};

// The text of a playlist file, by its extension: ".pls" gives a PLS file ("[playlist]", FileN=,
// TitleN=, LengthN=, NumberOfEntries=, Version=2), anything else an extended M3U. CR LF line ends,
// UTF-8 without a byte-order mark.
std::string PlaylistFileText(std::string_view playlistPath, const std::vector<PlaylistTrack>& tracks);

}  // namespace ox
