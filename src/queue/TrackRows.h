// The text of a track's row in the suite's list windows, the status line under a list, and the
// find-as-you-type match. UTF-8. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/TrackRecord.h"

namespace ox {

// The record's title, else its file name without folder and extension.
std::string RowTitle(const TrackRecord& record);

// "m:ss", or "h:mm:ss" from an hour on; "" for 0 (unknown).
std::string LengthText(uint64_t ms);

// "1 track", "3 tracks, 12:05"; unknownLengths tracks without a length make it "at least".
std::string TotalText(uint64_t tracks, uint64_t totalMs, uint64_t unknownLengths);

// Whether every word of filter (separated by spaces) occurs in the title, artist, album or path,
// ignoring the case of A-Z. An empty filter matches everything.
bool RowMatches(const TrackRecord& record, std::string_view filter);

}  // namespace ox
