// The folder watch: one folder ("FWFolderToWatch", its subfolders too under "FWRecurse") scanned
// for music files the collection does not hold yet, each handed to the collection editor. A scan
// runs on a lowest-priority thread of its own when evtOxTriggerFolderWatch is set: at start-up
// under "FWSchedule" 1, every "FWScheduleEvery" minutes under "FWSchedule" 2, or by any program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "queue/FolderWatchRules.h"

namespace ox {

class CodecHost;

// Called by the core thread once per cycle (about every 100 ms) with the tick count.
void FolderWatchTick(uint32_t now);

// Ends the scans still running (at exit): each stops at its next file.
void StopFolderWatch();

// One scan of folder: files whose extension a codec announces, not known, that open without
// sharing and hold at least a byte, handed over in the order the file system lists them. Folders
// named "recycler" are never entered. stop (optional) ends the scan early. Returns the files handed
// over.
size_t ScanFolder(const std::string& folder, bool recurse, const KnownPaths& known, const CodecHost& codecs,
                  const std::function<void(const std::string&)>& handOver, const std::function<bool()>& stop = {});

// The scan the thread runs: the settings, the active collection's paths, each new file appended
// to the add-to-collection file with the editor told (and started).
size_t ScanWatchedFolder(const std::function<bool()>& stop = {});

}  // namespace ox
