// The collection editor's side index: what a collection record has no field for (genre, album
// artist, the file's size and modification time when it was read, ReplayGain values), kept in a
// file of its own beside the collection so that the collection keeps the suite's format. Entries
// are matched to records by path, so an index written before a reorder still fits. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/TrackRecord.h"

namespace ox {

constexpr int32_t kNoGain = INT32_MIN;

struct SideEntry {
  std::string genre;
  std::string albumArtist;
  uint64_t fileSize = 0;
  uint64_t modified = 0;               // FILETIME, UTC; 0 unknown
  int32_t trackGainCentiDb = kNoGain;  // ReplayGain, hundredths of a dB
  int32_t albumGainCentiDb = kNoGain;
  bool operator==(const SideEntry& o) const {
    return genre == o.genre && albumArtist == o.albumArtist && fileSize == o.fileSize && modified == o.modified &&
           trackGainCentiDb == o.trackGainCentiDb && albumGainCentiDb == o.albumGainCentiDb;
  }
};

// The side index's file name for a collection file: the collection's name with ".oxli" behind it.
std::string SideIndexFileFor(const std::string& collection);

// The file: "OXLIBIDX", version, entry count, the entries (each path, genre and album artist as
// 16-bit length and bytes, then size, modified time and both gains), and an FNV-1a sum of all the
// bytes before it. entries[i] belongs to records[i].
std::vector<uint8_t> EncodeSideIndex(const std::vector<TrackRecord>& records, const std::vector<SideEntry>& entries);

// The entries of an index file, aligned with records; known[i] tells whether records[i] had one.
// False for a file of another version or a damaged one (wrong sum, cut short, lengths past the
// end): then every record counts as unknown, and the caller rebuilds them from the tags.
bool DecodeSideIndex(const uint8_t* bytes, size_t size, const std::vector<TrackRecord>& records,
                     std::vector<SideEntry>& entries, std::vector<bool>& known);

}  // namespace ox
