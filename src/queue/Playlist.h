// M3U and PLS playlists: which entry is number n, and where its path leads. The lookup reads the
// file from its start every time (the suite's other programs may rewrite it at any moment), through
// a buffer. Pure: the file comes as a ByteSource.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ByteSource.h"

namespace ox {

constexpr size_t kPlaylistLineMax = 1000;  // longer lines are read as several lines

// True for ".m3u", ".m3u8" and ".pls" in any case; isPls (optional) tells which.
bool IsPlaylist(std::string_view path, bool* isPls = nullptr);

// An entry's text made a full path: "\x" goes on the playlist's drive, "C:..." and "\\..." stay,
// anything else is taken relative to the playlist's folder.
std::string ResolveEntry(std::string_view entry, std::string_view playlistPath);

// Turns text in the system's ANSI code page into UTF-8.
using AnsiToUtf8 = std::string (*)(std::string_view);

// Entry n (counted from 1) of the playlist, resolved, in UTF-8; "" for n = 0, past the end, or
// when the playlist has fewer entries. M3U: the n-th line that is neither empty nor starts with
// "#". PLS: the value of the first line starting with "File<n>=" (that case). Entries whose
// resolved path would not fit a 260-byte path field are no entries: M3U passes over them, PLS
// treats the key as missing.
// Encoding: a leading UTF-8 byte-order mark is skipped. ".m3u8" and a file with the mark are UTF-8 (bytes that are not
// show as U+FFFD); an ".m3u" or ".pls" whose every byte is valid UTF-8 is read as UTF-8, any other
// through fromAnsi (Latin-1 when none is given).
std::string PlaylistEntry(ByteSource& playlist, std::string_view playlistPath, uint32_t n,
                          AnsiToUtf8 fromAnsi = nullptr);

// Whether the whole source is valid UTF-8, read a chunk at a time.
bool IsUtf8Source(ByteSource& source);

// Reads lines the way the player's file class does, through a buffer: CR LF, LF and a lone CR end
// a line, and a line longer than `max` comes in pieces of `max`.
class LineReader {
 public:
  // skipBom: a UTF-8 byte-order mark at the start of the source is not part of the first line.
  LineReader(ByteSource& source, size_t max, bool skipBom = false);
  bool Next(std::string& line);  // false at the end, when no byte came

 private:
  int Get();  // next byte, or -1 at the end
  ByteSource& source_;
  size_t max_;
  std::vector<uint8_t> buffer_;
  size_t at_ = 0;
  uint64_t offset_ = 0;  // of buffer_[0]
};

struct M3uTrack {
  uint32_t lengthSeconds;
  std::string name;  // shown by players
  std::string path;  // absolute
};

// An extended M3U file with CR LF line ends: "#EXTM3U", then "#EXTINF:<seconds>,<name>" and the
// path for each track. Names and paths are UTF-8 and written as they are, without a byte-order
// mark (which older readers would take for part of the first line); PlaylistEntry reads such a
// file back as UTF-8 whatever its extension.
std::string M3uText(const std::vector<M3uTrack>& tracks);

}  // namespace ox
