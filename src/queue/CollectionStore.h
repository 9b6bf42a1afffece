// The collection editor's files: the collection it loads and saves whole, its side index, the
// selective play list it writes, and the add-to-collection file it empties. The player keeps
// updating single records in place (times played, level correction) while the editor works; a save
// carries those updates over, including one that lands while the new file is being put in place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/TrackRecord.h"
#include "queue/SideIndex.h"

namespace ox {

struct LoadedCollection {
  std::vector<TrackRecord> records;
  std::vector<SideEntry> side;  // one per record
  std::vector<bool> known;      // side[i] came from the index (else rebuild it from the file)
  uint32_t strayBytes = 0;      // bytes after the last whole record: never save such a file
  bool exists = false;
  bool readError = false;  // the file could not be read completely: never save it
};

// Reads a collection file and its side index. A missing file is an empty collection.
LoadedCollection LoadCollection(const std::string& path);

// Writes the collection (and its side index) whole: into a temporary file in the same folder,
// flushed to the disk, then put in the original's place in one step, so that a crash leaves the
// old or the new collection, never a mix. Times played and level correction of every record are
// taken from the file as it is at that moment (matched by path), since only the player changes
// them; records is updated to match. False, with the original untouched, when it fails.
bool SaveCollection(const std::string& path, std::vector<TrackRecord>& records, const std::vector<SideEntry>& side);

// Reads the record of path from the collection file (the player changed it); false when absent.
bool ReadCollectionRecord(const std::string& collection, const std::string& path, TrackRecord& out);

// Writes the selective play list; an empty selection writes a file of 0 bytes.
bool WriteSelectiveList(const std::vector<uint32_t>& numbers);
// The selective play list in force for a collection of recordCount records.
std::vector<uint32_t> ReadSelectiveList(uint64_t recordCount, size_t* pastEnd = nullptr);

// Takes every path waiting in the add-to-collection file under the same exclusive open the player
// appends with, and leaves the file empty. At most limit distinct paths are taken; skipped
// receives how many further records were dropped. False when the file could not be opened or read
// (then nothing is emptied); a missing file holds nothing.
bool TakeFilesToAdd(std::vector<std::string>& paths, size_t* skipped = nullptr, size_t limit = 200000);

}  // namespace ox
