#include "queue/QueueFile.h"

#include <cstring>

#include "base/DataFile.h"
#include "queue/PlaylistFile.h"

namespace ox {

namespace {

constexpr uint32_t kQueueRecord = sizeof(QueueRecord);

bool IsPlaylistRecord(const TrackRecord& r) { return IsPlaylist(r.Path()); }

}  // namespace

bool AppendQueueRecord(const std::string& path, const TrackRecord& track) {
  DataFile file;
  return OpenRetrying(file, path, FileAccess::ReadWrite, FileCreation::OpenAlways, false) &&
         AppendQueueRecords(file, {track});
}

bool AppendQueueRecords(DataFile& file, const std::vector<TrackRecord>& tracks) {
  bool error = false;
  const uint64_t size = file.Size(&error);
  if (error) return false;
  // Appending after an uncut partial record would shift every later record off the grid.
  if (size % kQueueRecord != 0 && !file.TruncateAt(size - size % kQueueRecord)) return false;
  std::vector<QueueRecord> records(tracks.size());
  for (size_t i = 0; i < tracks.size(); ++i) records[i].track = tracks[i];
  return file.Write(records.data(), static_cast<uint32_t>(records.size() * kQueueRecord), FileOrigin::End);
}

bool TakeFromQueueFile(const std::string& path, TrackRecord& out) {
  std::memset(&out, 0, sizeof out);
  if (FileSize(path) < kQueueRecord) return false;
  DataFile file;
  if (!OpenRetrying(file, path, FileAccess::ReadWrite, FileCreation::OpenExisting, true)) return false;
  QueueRecord q;
  if (file.Read(&q, kQueueRecord, FileOrigin::Start) != kQueueRecord) return false;

  if (!IsPlaylistRecord(q.track)) {
    out = q.track;
    file.MoveTail(kQueueRecord, -int64_t{kQueueRecord});
    return true;
  }
  const std::string playlist(q.track.Path());
  // An entry too long for a record is passed over: cut, it would name another file.
  uint32_t taken = q.entriesTaken;
  std::string entry;
  do entry = PlaylistEntryOf(playlist, ++taken);
  while (!entry.empty() && !CopyBounded(out.path, entry));
  if (entry.empty()) out.path[0] = '\0';
  if (entry.empty() || PlaylistEntryOf(playlist, taken + 1).empty()) {
    file.MoveTail(kQueueRecord, -int64_t{kQueueRecord});  // missing, empty or now handed out
  } else {
    q.entriesTaken = taken;
    file.Write(&q, kQueueRecord, FileOrigin::Start);
  }
  return true;
}

bool StepBackQueuedPlaylist(const std::string& path) {
  if (FileSize(path) < kQueueRecord) return false;
  DataFile file;
  if (!OpenRetrying(file, path, FileAccess::ReadWrite, FileCreation::OpenExisting, false)) return false;
  QueueRecord q;
  if (file.Read(&q, kQueueRecord, FileOrigin::Start) != kQueueRecord || !IsPlaylistRecord(q.track)) return false;
  // The count says how many entries went out; the one playing is the last of them.
  const bool stepped = q.entriesTaken >= 2;
  q.entriesTaken = stepped ? q.entriesTaken - 2 : 0;
  return file.Write(&q, kQueueRecord, FileOrigin::Start) && stepped;
}

}  // namespace ox
