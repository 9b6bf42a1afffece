// Tracks the user hands the playlist window: files, folders (walked with their subfolders) and
// playlists, turned into track records for the queue. Runs on a worker thread: a folder walk or a
// long playlist takes a while.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/TrackRecord.h"
#include "ui/FileDialog.h"

namespace ox {

// Path-only records in the order given: a folder gives its music files in name order (those of
// each folder before its subfolders'), a playlist its entries. skipped (optional) receives how
// many were left out: files no codec plays, paths too long for a record, unreadable playlist lines.
std::vector<TrackRecord> TracksFromPaths(const std::vector<std::string>& paths, size_t* skipped = nullptr);

// The open dialog's filters: every format the codecs play and the playlists, then each format.
std::vector<FileFilter> MusicFileFilters();

}  // namespace ox
