#include "queue/QueueEditFile.h"

#include <cstring>

#include "base/DataFile.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "queue/History.h"
#include "queue/QueueEdit.h"

namespace ox {

namespace {

// Opens exclusively: a take (shared open) or an append (exclusive) waits or retries meanwhile.
bool OpenExclusive(DataFile& file, const std::string& path, FileCreation creation) {
  return OpenRetrying(file, path, FileAccess::ReadWrite, creation, false);
}

// Reads up to limit bytes from the start; false when the read fell short of what the file holds.
bool ReadStart(DataFile& file, uint64_t limit, std::vector<uint8_t>& bytes, uint64_t* size) {
  bool error = false;
  *size = file.Size(&error);
  if (error || *size > 0x7FFFFFFF) return false;
  bytes.resize(static_cast<size_t>(*size < limit ? *size : limit));
  return bytes.empty() || file.Read(bytes.data(), static_cast<uint32_t>(bytes.size()), FileOrigin::Start) == bytes.size();
}

// Writes `after` over a file that holds `before`: only from the first byte that differs, then cuts
// the file to the new length.
bool WriteDifference(DataFile& file, const std::vector<uint8_t>& before, const void* data, size_t size) {
  const uint8_t* after = static_cast<const uint8_t*>(data);
  size_t same = 0;
  const size_t common = before.size() < size ? before.size() : size;
  while (same < common && before[same] == after[same]) ++same;
  if (same < size && (!file.SeekTo(same) || !file.Write(after + same, static_cast<uint32_t>(size - same))))
    return false;
  return before.size() <= size || file.TruncateAt(size);
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
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  if (!ReadStart(file, UINT64_MAX, bytes, &size)) return result;
  records = RecordsOf<QueueRecord>(bytes.data(), bytes.size(), &result.strayBytes);
  result.read = true;
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
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  if (!ReadStart(file, uint64_t{kHistoryMax} * sizeof(TrackRecord), bytes, &size)) return result;
  records = RecordsOf<TrackRecord>(bytes.data(), bytes.size(), &result.strayBytes);
  result.strayBytes = static_cast<size_t>(size - records.size() * sizeof(TrackRecord));
  result.read = true;
  return result;
}

EditResult EditQueueFile(const std::string& path, const std::vector<QueueRecord>& seen,
                         const std::vector<int64_t>& order, const std::vector<TrackRecord>& added) {
  DataFile file;
  if (!OpenExclusive(file, path, FileCreation::OpenAlways)) return EditResult::Unreadable;
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  if (!ReadStart(file, UINT64_MAX, bytes, &size)) return EditResult::Unreadable;
  size_t stray = 0;
  const std::vector<QueueRecord> now = RecordsOf<QueueRecord>(bytes.data(), bytes.size(), &stray);
  if (stray) return EditResult::Unreadable;
  std::vector<QueueRecord> edited;
  if (!ApplyQueueEdit(seen, now, order, added, edited)) return EditResult::Changed;
  const bool written = WriteDifference(file, bytes, edited.data(), edited.size() * sizeof(QueueRecord));
  file.Close();
  BumpChangeCounter();
  return written ? EditResult::Done : EditResult::Failed;
}

EditResult AppendToQueueFile(const std::string& path, const std::vector<TrackRecord>& tracks) {
  if (tracks.empty()) return EditResult::Done;
  DataFile file;
  if (!OpenExclusive(file, path, FileCreation::OpenAlways)) return EditResult::Unreadable;
  bool error = false;
  const uint64_t size = file.Size(&error);
  if (error) return EditResult::Unreadable;
  // Appending after a partial record would shift every later record off the grid.
  if (size % sizeof(QueueRecord) != 0 && !file.TruncateAt(size - size % sizeof(QueueRecord))) return EditResult::Failed;
  std::vector<QueueRecord> records(tracks.size());
  for (size_t i = 0; i < tracks.size(); ++i) records[i].track = tracks[i];
  const bool written = file.Write(records.data(), static_cast<uint32_t>(records.size() * sizeof(QueueRecord)), FileOrigin::End);
  file.Close();
  BumpChangeCounter();
  return written ? EditResult::Done : EditResult::Failed;
}

EditResult RemoveHistoryRows(const std::vector<TrackRecord>& seen, const std::vector<size_t>& rows) {
  DataFile file;
  if (!OpenExclusive(file, HistoryFile(), FileCreation::OpenExisting)) return EditResult::Unreadable;
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  if (!ReadStart(file, UINT64_MAX, bytes, &size)) return EditResult::Unreadable;
  size_t stray = 0;
  const std::vector<TrackRecord> now = RecordsOf<TrackRecord>(bytes.data(), bytes.size(), &stray);
  if (stray || now.size() > kHistoryMax) return EditResult::Unreadable;
  const std::vector<TrackRecord> edited = RemoveFromHistory(seen, now, rows);
  const bool written = WriteDifference(file, bytes, edited.data(), edited.size() * sizeof(TrackRecord));
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
