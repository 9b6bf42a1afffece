#include "queue/History.h"

#include "base/DataFile.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "queue/Collection.h"

namespace ox {

namespace {
constexpr uint32_t kRecord = sizeof(TrackRecord);
}

bool AddToHistory(const TrackRecord& record) {
  DataFile file;
  if (!OpenRetrying(file, HistoryFile(), FileAccess::ReadWrite, FileCreation::OpenAlways, true)) return false;
  // The whole new content is written in one piece over the old: a write that fails changes
  // nothing, where moving the records down first could fail halfway and lose the newest.
  std::vector<TrackRecord> records(kHistoryMax);
  records[0] = record;
  const uint32_t room = (kHistoryMax - 1) * kRecord;
  const uint32_t kept = file.Read(&records[1], room, FileOrigin::Start) / kRecord;
  const uint32_t bytes = (1 + kept) * kRecord;
  if (!file.Write(records.data(), bytes, FileOrigin::Start)) return false;
  return file.Size() <= bytes || file.TruncateAt(bytes);
}

bool ReadHistoryRecord(uint64_t index, TrackRecord& out) {
  DataFile file(HistoryFile(), FileAccess::Read, FileCreation::OpenExisting);
  return file.IsOpen() && file.SeekTo(index * kRecord) && file.Read(&out, kRecord) == kRecord;
}

std::vector<TrackRecord> ReadHistory() {
  std::vector<TrackRecord> history(kHistoryMax);
  DataFile file(HistoryFile(), FileAccess::Read, FileCreation::OpenExisting);
  const uint32_t got = file.IsOpen() ? file.Read(history.data(), kHistoryMax * kRecord) : 0;
  history.resize(got / kRecord);
  return history;
}

void RecordAsPlayed(const TrackRecord& record) {
  AddToHistory(record);
  BumpChangeCounter();
  UpdateCollectionEntry(record.Path(), true, kVolumeBoostAuto);
}

}  // namespace ox
