// Path functions over ANSI text. Pure string work: no file system access, no <windows.h>.
//
// Paths use the backslash as separator. Results are std::string, so no input length can overflow
// anything here; code that stores a path into a fixed 260-byte field checks the length there
// (see CopyBounded in Text.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ox {

constexpr size_t kMaxPath = 260;  // MAX_PATH: the size of every path field, NUL included

// Appends "\" to a non-empty path that does not end in one.
void EnsureTrailingBackslash(std::string& path);

// The part after the last backslash; the whole path when there is none.
std::string FileNameOf(std::string_view path);

// The path up to and including the last backslash; the path unchanged when there is none.
std::string FolderOf(std::string_view path);

// The path without the text from the last "." on, when that dot lies after the last backslash.
std::string StripExtension(std::string_view path);

// StripExtension, then FileNameOf: "C:\a\song.mp3" gives "song".
std::string FileTitleOf(std::string_view path);

// A text as a file name Windows takes: the characters it refuses in a name (controls and
// \ / : * ? " < > |) become '_', and the spaces and dots it would drop from the end go; may be "".
std::string SafeFileName(std::string_view text);

// The text from the last "." on, dot included, when that dot lies after the last backslash;
// otherwise "." (so callers can always compare against ".mp3" and the like).
std::string ExtensionOf(std::string_view path);

// The folders CreateFolders makes, outermost first: every prefix of the path from the first level
// below the root down to the last component. A trailing backslash is dropped first; for a UNC path
// ("\\server\share\...") the server and share are skipped, as is a drive root ("C:\").
std::vector<std::string> FolderChain(std::string_view path);

}  // namespace ox
