#include "queuer/TrackSources.h"

#include <algorithm>

#include "base/DataFile.h"
#include "base/FileFinder.h"
#include "base/FileSource.h"
#include "base/Path.h"
#include "base/Text.h"
#include "base/Wide.h"
#include "engine/CodecHost.h"
#include "queue/PlaylistText.h"

namespace ox {

namespace {

constexpr size_t kPlaylistEntryMax = 1000000;

void AddTrack(const std::string& path, std::vector<TrackRecord>& tracks, size_t& skipped) {
  TrackRecord record{};
  if (CopyBounded(record.path, path)) tracks.push_back(record);
  else ++skipped;
}

void AddPlaylist(const std::string& path, std::vector<TrackRecord>& tracks, size_t& skipped) {
  DataFile file(path, FileAccess::Read, FileCreation::OpenExisting);
  FileSource source(file);
  if (!file.IsOpen()) {
    ++skipped;
    return;
  }
  const PlaylistEntries entries = ReadPlaylistEntries(
      source, path, kPlaylistEntryMax, [](std::string_view ansi) { return FromAnsi(ansi); });
  skipped += entries.skipped;
  for (const std::string& entry : entries.paths) AddTrack(entry, tracks, skipped);
}

void AddFolder(const std::string& folder, std::vector<TrackRecord>& tracks, size_t& skipped) {
  std::vector<std::string> files, folders;
  for (FileFinder finder(folder, "*"); finder.Next();)
    (finder.IsDirectory() ? folders : files).push_back(finder.FullPath());
  const auto byName = [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; };
  std::sort(files.begin(), files.end(), byName);
  std::sort(folders.begin(), folders.end(), byName);
  for (const std::string& file : files)
    if (Codecs().IsPlayable(ExtensionOf(file))) AddTrack(file, tracks, skipped);
  for (const std::string& sub : folders) AddFolder(sub, tracks, skipped);
}

}  // namespace

std::vector<TrackRecord> TracksFromPaths(const std::vector<std::string>& paths, size_t* skipped) {
  std::vector<TrackRecord> tracks;
  size_t left = 0;
  for (const std::string& path : paths) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) AddFolder(path, tracks, left);
    else if (IsPlaylist(path)) AddPlaylist(path, tracks, left);
    else if (Codecs().IsPlayable(ExtensionOf(path))) AddTrack(path, tracks, left);
    else ++left;
  }
  if (skipped) *skipped = left;
  return tracks;
}

std::vector<FileFilter> MusicFileFilters() {
  std::vector<FileFilter> filters;
  FileFilter all{"Music Files and Playlists", {}};
  Codecs().AppendPatternList(all.pattern);
  all.pattern += ";*.m3u8;*.m3u;*.pls";
  filters.push_back(std::move(all));
  for (const CodecFormat& format : Codecs().Formats()) filters.push_back({format.description, "*" + format.extension});
  return filters;
}

}  // namespace ox
