// The collection editor's rules over records and files, pure: what a re-scan re-reads, what a
// re-read record keeps, which paths an add-to-collection file hands over, and the selective play
// list a selection writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/TrackRecord.h"
#include "queue/SideIndex.h"

namespace ox {

// How a collection file's size divides into records: the whole ones, and stray bytes at the end
// (a file with stray bytes is shown but never rewritten).
struct CollectionShape {
  uint64_t records;
  uint32_t strayBytes;
};
CollectionShape ShapeOf(uint64_t size);

enum class FileChange { Same, Changed, Missing };
// A file the index knew with this size and time, now seen (exists) with these.
FileChange CompareFile(const SideEntry& known, bool exists, uint64_t size, uint64_t modified);

// A record read afresh from its file keeps what the user and the player gave the old one: the
// preference, times played, level correction and date added.
void KeepUserFields(const TrackRecord& old, TrackRecord& fresh);

// The paths of an add-to-collection file's bytes (260-byte records, each a zero-terminated path),
// appended to out in file order, leaving out empty records, paths already in seen (without case of
// A-Z) and, once out holds limit paths, every further record. Returns how many records were left
// out because of the limit (repeats among them counted too); a partial record at the end counts
// as one of those.
size_t TakeAddRecords(const uint8_t* bytes, size_t size, std::vector<std::string>& out,
                      std::unordered_set<std::string>& seen, size_t limit);

// A selection for selective play: records by any chosen artist or any chosen genre (all when
// neither is chosen), with a preference between min and max inclusive.
struct Selection {
  std::vector<std::string> artists;
  std::vector<std::string> genres;
  uint8_t minPreference = 0;
  uint8_t maxPreference = 9;
};
// The record numbers the selection holds, ascending; genres[i] belongs to records[i].
std::vector<uint32_t> SelectRecords(const std::vector<TrackRecord>& records, const std::vector<std::string>& genres,
                                    const Selection& selection);
// The selective play list's bytes: one little-endian 32-bit record number each.
std::vector<uint8_t> EncodeSelectiveList(const std::vector<uint32_t>& numbers);
// The record numbers of a selective play list that lie inside a collection of recordCount
// records; pastEnd (optional) receives how many did not. A list of 3 bytes or less is no
// selection; bytes after the last whole number are ignored.
std::vector<uint32_t> DecodeSelectiveList(const uint8_t* bytes, size_t size, uint64_t recordCount,
                                          size_t* pastEnd = nullptr);

}  // namespace ox
