// Paths compared without regard to case, for every letter the system knows an upper case of (not
// only A-Z): "ПЕСНЯ.mp3" and "песня.MP3" name the same file, as they do for the file system.
#pragma once

#include <string>
#include <string_view>

namespace ox {

// The path in the form two paths share when they differ only in case: upper-cased through the
// system's simple case mapping of its UTF-16 form. ASCII is folded as it always was (a-z to A-Z);
// text that is not UTF-8 keeps its other bytes as they are, so two different ones never meet.
std::string PathKey(std::string_view path);

// The two paths are equal without regard to case (PathKey(a) == PathKey(b)).
bool SamePath(std::string_view a, std::string_view b);

}  // namespace ox
