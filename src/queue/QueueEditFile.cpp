#include "queue/QueueEditFile.h"

#include <cstring>

#include "base/DataFile.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "queue/History.h"
#include "queue/QueueEdit.h"
#include "queue/QueueFile.h"

namespace ox {

namespace {

// Opens exclusively: a take (shared open) or an append (exclusive) waits or retries meanwhile.
bool OpenExclusive(DataFile& file, const std::string& path, FileCreation creation) {
  return OpenRetrying(file, path, FileAccess::ReadWrite, creation, false);
}

// Reads whole records from the start, at most limit of them, straight into records; strayBytes
// receives what the file holds past them. False when the read fell short of the file.
template <typename Record>
bool ReadRecords(DataFile& file, uint64_t limit, std::vector<Record>& records, size_t* strayBytes) {
  bool error = false;
  const uint64_t size = file.Size(&error);
  if (error || size > 0x7FFFFFFF) return false;
  const uint64_t count = size / sizeof(Record) < limit ? size / sizeof(Record) : limit;
  records.resize(static_cast<size_t>(count));
  *strayBytes = static_cast<size_t>(size - count * sizeof(Record));
  const uint32_t bytes = static_cast<uint32_t>(count * sizeof(Record));
  return bytes == 0 || file.Read(records.data(), bytes, FileOrigin::Start) == bytes;
}

// Writes `after` over a file that holds `before`: only from the first record that differs, then
// cuts the file to the new length.
template <typename Record>
bool WriteDifference(DataFile& file, const std::vector<Record>& before, const std::vector<Record>& after) {
  size_t same = 0;
  const size_t common = before.size() < after.size() ? before.size() : after.size();
  while (same < common && std::memcmp(&before[same], &after[same], sizeof(Record)) == 0) ++same;
  const uint64_t at = uint64_t{same} * sizeof(Record), size = uint64_t{after.size()} * sizeof(Record);
  if (same < after.size() &&
      (!file.SeekTo(at) || !file.Write(&after[same], static_cast<uint32_t>(size - at), FileOrigin::Current)))
    return false;
  return before.size() <= after.size() || file.TruncateAt(size);
}

}  // namespace

FileRead ReadQueueRecords(const std::string& path, std::vector<QueueRecord>& records) {
  FileRead result;
  records.clear();
  bool missing = false;
  FileSize(path, &missing);
  DataFile file;
  if (!OpenExclusive(file, path, FileCreation::OpenExisting)) {
    result.read = missing;  // no file: an empty queue
    return result;
  }
  result.read = ReadRecords(file, UINT64_MAX, records, &result.strayBytes);
  if (!result.read) records.clear();
  return result;
}

FileRead ReadHistoryRecords(std::vector<TrackRecord>& records) {
  FileRead result;
  records.clear();
  DataFile file(HistoryFile(), FileAccess::Read, FileCreation::OpenExisting);
  if (!file.IsOpen()) {
    bool missing = false;
    FileSize(HistoryFile(), &missing);
    result.read = missing;
    return result;
  }
  result.read = ReadRecords(file, kHistoryMax, records, &result.strayBytes);
  if (!result.read) records.clear();
  return result;
}

EditResult EditQueueFile(const std::string& path, const std::vector<QueueRecord>& seen,
                         const std::vector<int64_t>& order, const std::vector<TrackRecord>& added) {
  DataFile file;
  if (!OpenExclusive(file, path, FileCreation::OpenAlways)) return EditResult::Unreadable;
  std::vector<QueueRecord> now, edited;
  size_t stray = 0;
  if (!ReadRecords(file, UINT64_MAX, now, &stray) || stray) return EditResult::Unreadable;
  if (!ApplyQueueEdit(seen, now, order, added, edited)) return EditResult::Changed;
  const bool written = WriteDifference(file, now, edited);
  file.Close();
  BumpChangeCounter();
  return written ? EditResult::Done : EditResult::Failed;
}

EditResult AppendToQueueFile(const std::string& path, const std::vector<TrackRecord>& tracks) {
  if (tracks.empty()) return EditResult::Done;
  DataFile file;
  if (!OpenExclusive(file, path, FileCreation::OpenAlways)) return EditResult::Unreadable;
  const bool written = AppendQueueRecords(file, tracks);
  file.Close();
  BumpChangeCounter();
  return written ? EditResult::Done : EditResult::Failed;
}

EditResult RemoveHistoryRows(const std::vector<TrackRecord>& seen, const std::vector<size_t>& rows) {
  DataFile file;
  if (!OpenExclusive(file, HistoryFile(), FileCreation::OpenExisting)) return EditResult::Unreadable;
  std::vector<TrackRecord> now;
  size_t stray = 0;
  if (!ReadRecords(file, UINT64_MAX, now, &stray) || stray || now.size() > kHistoryMax) return EditResult::Unreadable;
  const bool written = WriteDifference(file, now, RemoveFromHistory(seen, now, rows));
  file.Close();
  BumpChangeCounter();
  return written ? EditResult::Done : EditResult::Failed;
}

EditResult ClearHistory() {
  DataFile file;
  if (!OpenExclusive(file, HistoryFile(), FileCreation::OpenAlways)) return EditResult::Unreadable;
  const bool cut = file.TruncateAt(0);
  file.Close();
  BumpChangeCounter();
  return cut ? EditResult::Done : EditResult::Failed;
}

}  // namespace ox
