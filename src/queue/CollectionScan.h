// Finding music files for the collection and reading them into records: the folder walk of "add
// folder" and re-scan, and the track information of every file through its codec plug-in, on
// several worker threads.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/TrackRecord.h"
#include "queue/SideIndex.h"

namespace ox {

class CodecHost;

struct FoundFile {
  std::string path;
  uint64_t size = 0;
  uint64_t modified = 0;  // FILETIME, UTC
};

// Appends every file under folder (and its subfolders) whose extension a codec plug-in announces.
// Folders named "recycler" are skipped, and a folder reached twice (a junction or link looping
// back) is walked once. Stops early when cancel becomes true.
void FindMusicFiles(const std::string& folder, const CodecHost& codecs, std::vector<FoundFile>& out,
                    const std::atomic<bool>& cancel);

// The size and time of one file; false when it is gone or cannot be asked.
bool StatFile(const std::string& path, uint64_t& size, uint64_t& modified);

// One file read into a record (the codec's track information, else the file name) and its side
// entry; the date added is now.
void ReadTrack(const FoundFile& file, TrackRecord& record, SideEntry& side);

// Reads files[i] into records[i] and side[i] on up to `threads` worker threads, counting each
// finished file in done. Stops early when cancel becomes true; the records not reached then have
// an empty path.
void ReadTracks(const std::vector<FoundFile>& files, std::vector<TrackRecord>& records, std::vector<SideEntry>& side,
                std::atomic<uint32_t>& done, const std::atomic<bool>& cancel, int threads = 4);

}  // namespace ox
