#include "queue/Collection.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/DataFile.h"
#include "base/PathCase.h"
#include "base/Random.h"
#include "base/System.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "queue/History.h"

namespace ox {

namespace {

constexpr uint32_t kRecord = sizeof(TrackRecord);
constexpr int kDraws = 50;
constexpr uint32_t kAddRecord = 260;

bool InHistory(const std::vector<TrackRecord>& history, std::string_view path) {
  for (const TrackRecord& r : history)
    if (SamePath(r.Path(), path)) return true;
  return false;
}

}  // namespace

bool PickFromCollection(TrackRecord& out) {
  std::memset(&out, 0, kRecord);
  DataFile collection(ActiveMusicCollection(), FileAccess::Read, FileCreation::OpenExisting);
  const uint64_t count = collection.IsOpen() ? collection.Size() / kRecord : 0;
  if (count == 0) return false;
  DataFile selective(SelectivePlayListFile(), FileAccess::Read, FileCreation::OpenExisting);
  const uint64_t slots = selective.IsOpen() && selective.Size() > 3 ? selective.Size() / 4 : 0;
  const std::vector<TrackRecord> history = ReadHistory();

  for (int draw = 0; draw < kDraws; ++draw) {
    uint64_t number;
    if (slots > 0) {
      uint32_t value = 0;
      const uint64_t slot = static_cast<uint64_t>(Random(static_cast<int32_t>(slots < 0x7FFFFFFF ? slots : 0x7FFFFFFF)));
      selective.SeekTo(slot * 4);
      number = selective.Read(&value, 4) == 4 ? value : count;
    } else {
      number = static_cast<uint64_t>(Random(static_cast<int32_t>(count < 0x7FFFFFFF ? count : 0x7FFFFFFF)));
    }
    // A number past the end of the collection is a failed draw, and leaves no earlier record behind.
    std::memset(&out, 0, kRecord);
    if (number >= count || !collection.SeekTo(number * kRecord) || collection.Read(&out, kRecord) != kRecord) {
      std::memset(&out, 0, kRecord);
      continue;
    }
    const int preference = out.preference < 1 ? 1 : out.preference > 9 ? 9 : out.preference;
    if (Random(10 - preference) == 0 && !InHistory(history, out.Path())) return true;
  }
  return true;  // the last draw, though it failed the tests
}

void AddFileToCollection(const std::string* path, bool notify, uint32_t waitMs) {
  char record[kAddRecord] = {};
  // A path that does not fit the record is left out: a cut one would name another file.
  if (path && CopyBounded(record, *path)) {
    // A path already waiting there is not added again: while no editor takes the file, every
    // folder-watch scan offers the same new files.
    DataFile file;
    if (OpenRetrying(file, AddToEditorFile(), FileAccess::ReadWrite, FileCreation::OpenAlways, false)) {
      bool waiting = false;
      char other[kAddRecord];
      for (file.SeekTo(0); !waiting && file.Read(other, kAddRecord) == kAddRecord;)
        waiting = SamePath(FieldText(other), FieldText(record));
      if (!waiting) file.Write(record, kAddRecord, FileOrigin::End);
    }
  }
  if (!notify) return;
  evt::OxFileToAdd.Set();
  if (evt::OxEditorRunning.IsSet()) return;
  StartAndAwait("\"" + InstallFolder(true) + "Librarian.exe\"", evt::OxEditorRunning, waitMs);
}

void UpdateCollectionEntry(std::string_view path, bool countPlay, int16_t volumeBoost) {
  {
    DataFile file;
    if (OpenRetrying(file, ActiveMusicCollection(), FileAccess::ReadWrite, FileCreation::OpenExisting, true)) {
      TrackRecord r;
      for (uint64_t at = 0; file.Read(&r, kRecord, FileOrigin::Current) == kRecord; at += kRecord) {
        if (!SamePath(r.Path(), path)) continue;
        if (countPlay) ++r.timesPlayed;
        if (volumeBoost != kVolumeBoostAuto) r.volumeBoost = volumeBoost;
        if (file.SeekTo(at)) file.Write(&r, kRecord);
        break;
      }
    }
  }
  LiveUpdate update{};
  CopyBounded(update.path, path);
  update.played = countPlay ? 1 : 0;
  update.volumeBoost = volumeBoost;
  block::OxRillLiveUpdate.WriteValue(update);
}

}  // namespace ox
