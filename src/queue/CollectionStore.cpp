#include "queue/CollectionStore.h"

#include <windows.h>

#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "base/DataFile.h"
#include "base/PathCase.h"
#include "core/Locations.h"
#include "queue/CollectionRules.h"

namespace ox {

namespace {

constexpr uint32_t kRecord = sizeof(TrackRecord);
constexpr uint32_t kChunk = 4u << 20;

struct Handle {
  HANDLE h = INVALID_HANDLE_VALUE;
  Handle() = default;
  explicit Handle(HANDLE handle) : h(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  void Close() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
  bool Ok() const { return h != INVALID_HANDLE_VALUE; }
};

// Opens the collection so that nobody writes it meanwhile (readers may): the player's in-place
// update, which opens it for writing, waits and retries until this handle is closed. Waits while a
// writer has it open, at most about 10 s. missing receives whether the file does not exist.
HANDLE OpenHoldingWriters(const std::string& path, bool write, bool& missing) {
  missing = false;
  for (int attempt = 0; attempt < 2000; ++attempt) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | (write ? GENERIC_WRITE : 0), FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      missing = true;
      return h;
    }
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION && error != ERROR_ACCESS_DENIED) return h;
    Sleep(attempt < 100 ? 1 : 5);
  }
  return INVALID_HANDLE_VALUE;
}

bool ReadAll(HANDLE h, std::vector<uint8_t>& bytes) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h, &size) || size.QuadPart > 0x7FFFFFFF) return false;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  SetFilePointer(h, 0, nullptr, FILE_BEGIN);
  for (size_t at = 0; at < bytes.size();) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(bytes.size() - at < kChunk ? bytes.size() - at : kChunk);
    if (!ReadFile(h, bytes.data() + at, want, &got, nullptr) || got == 0) return false;
    at += got;
  }
  return true;
}

std::vector<TrackRecord> WholeRecords(const std::vector<uint8_t>& bytes) {
  std::vector<TrackRecord> records(bytes.size() / kRecord);
  if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * kRecord);
  return records;
}

// Writes bytes to a new file, flushed to the disk; PutInPlace then moves it over the original.
bool WriteAtomically(const std::string& temp, const void* data, size_t size) {
  {
    Handle out(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.Ok()) return false;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    for (size_t at = 0; at < size;) {
      DWORD wrote = 0;
      const DWORD want = static_cast<DWORD>(size - at < kChunk ? size - at : kChunk);
      if (!WriteFile(out.h, p + at, want, &wrote, nullptr) || wrote != want) {
        out.Close();
        DeleteFileA(temp.c_str());
        return false;
      }
      at += wrote;
    }
    if (!FlushFileBuffers(out.h)) {
      out.Close();
      DeleteFileA(temp.c_str());
      return false;
    }
  }
  return true;
}

bool PutInPlace(const std::string& temp, const std::string& path) {
  return MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The first record of each path, by the key paths share when they differ only in case.
std::unordered_map<std::string, size_t> ByPath(const std::vector<TrackRecord>& records) {
  std::unordered_map<std::string, size_t> index;
  index.reserve(records.size());
  for (size_t i = 0; i < records.size(); ++i) index.emplace(PathKey(records[i].Path()), i);
  return index;
}

// Applies what the player changed in a file after it was read (before: as read; after: as left)
// to the records of the file now at path, under the same hold on writers.
void CarryOverLateUpdates(const std::string& path, const std::vector<TrackRecord>& before,
                          const std::vector<TrackRecord>& after) {
  std::unordered_map<std::string, std::pair<uint32_t, int16_t>> late;  // played more, level
  for (size_t i = 0; i < before.size() && i < after.size(); ++i)
    if (after[i].timesPlayed != before[i].timesPlayed || after[i].volumeBoost != before[i].volumeBoost)
      late[PathKey(after[i].Path())] = {
          after[i].timesPlayed - before[i].timesPlayed,
          after[i].volumeBoost != before[i].volumeBoost ? after[i].volumeBoost : kVolumeBoostAuto};
  if (late.empty()) return;
  bool missing = false;
  Handle file(OpenHoldingWriters(path, true, missing));
  std::vector<uint8_t> bytes;
  if (!file.Ok() || !ReadAll(file.h, bytes)) return;
  std::vector<TrackRecord> records = WholeRecords(bytes);
  for (size_t i = 0; i < records.size() && !late.empty(); ++i) {
    auto found = late.find(PathKey(records[i].Path()));
    if (found == late.end()) continue;
    records[i].timesPlayed += found->second.first;
    if (found->second.second != kVolumeBoostAuto) records[i].volumeBoost = found->second.second;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(i) * kRecord;
    DWORD wrote = 0;
    if (SetFilePointerEx(file.h, at, nullptr, FILE_BEGIN)) WriteFile(file.h, &records[i], kRecord, &wrote, nullptr);
    late.erase(found);
  }
  FlushFileBuffers(file.h);
}

}  // namespace

LoadedCollection LoadCollection(const std::string& path) {
  LoadedCollection c;
  Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  const DWORD openError = file.Ok() ? 0 : GetLastError();
  c.exists = openError != ERROR_FILE_NOT_FOUND && openError != ERROR_PATH_NOT_FOUND;
  if (c.exists) {
    LARGE_INTEGER size{};
    c.readError = !file.Ok() || !GetFileSizeEx(file.h, &size) || size.QuadPart > 0x7FFFFFFF;
    if (c.readError) return c;
    const CollectionShape shape = ShapeOf(static_cast<uint64_t>(size.QuadPart));
    c.strayBytes = shape.strayBytes;
    // Straight into the records: a large collection is not held twice.
    c.records.resize(static_cast<size_t>(shape.records));
    uint8_t* into = reinterpret_cast<uint8_t*>(c.records.data());
    const size_t bytes = c.records.size() * kRecord;
    for (size_t at = 0; at < bytes;) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(bytes - at < kChunk ? bytes - at : kChunk);
      if (!ReadFile(file.h, into + at, want, &got, nullptr) || got == 0) {
        c.records.clear();
        c.readError = true;
        return c;
      }
      at += got;
    }
  }
  file.Close();

  std::vector<uint8_t> bytes;
  Handle index(CreateFileA(SideIndexFileFor(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (index.Ok()) ReadAll(index.h, bytes);
  DecodeSideIndex(bytes.data(), bytes.size(), c.records, c.side, c.known);
  return c;
}

bool SaveCollection(const std::string& path, std::vector<TrackRecord>& records, const std::vector<SideEntry>& side) {
  const std::string temp = path + ".saving", previous = path + ".previous";
  for (int round = 0; round < 200; ++round) {
    bool missing = false;
    Handle file(OpenHoldingWriters(path, false, missing));
    if (!file.Ok() && !missing) return false;
    std::vector<uint8_t> bytes;
    if (file.Ok() && !ReadAll(file.h, bytes)) return false;
    const std::vector<TrackRecord> disk = WholeRecords(bytes);

    // Only the player changes these two fields: the file's values are the current ones. Records
    // still in the file's order are matched in place; the others by path.
    std::unordered_map<std::string, size_t> onDisk;
    bool indexed = false;
    for (size_t i = 0; i < records.size(); ++i) {
      TrackRecord& r = records[i];
      size_t at = i;
      if (i >= disk.size() || disk[i].Path() != r.Path()) {
        if (!indexed) onDisk = ByPath(disk), indexed = true;
        auto found = onDisk.find(PathKey(r.Path()));
        if (found == onDisk.end()) continue;
        at = found->second;
      }
      r.timesPlayed = disk[at].timesPlayed;
      r.volumeBoost = disk[at].volumeBoost;
    }
    if (!WriteAtomically(temp, records.data(), records.size() * kRecord)) return false;

    // The player may update the file between this handle's closing and the move (its open then
    // succeeds): a second name for the old file shows afterwards what it changed there.
    DeleteFileA(previous.c_str());
    const bool linked = file.Ok() && CreateHardLinkA(previous.c_str(), path.c_str(), nullptr);
    file.Close();
    if (!PutInPlace(temp, path)) {  // the player has the old file open right now
      DeleteFileA(previous.c_str());
      Sleep(round < 20 ? 1 : 10);
      continue;
    }
    if (linked) {
      Handle old(CreateFileA(previous.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      std::vector<uint8_t> last;
      if (old.Ok() && ReadAll(old.h, last)) CarryOverLateUpdates(path, disk, WholeRecords(last));
      old.Close();
      DeleteFileA(previous.c_str());
    }
    const std::vector<uint8_t> index = EncodeSideIndex(records, side);
    const std::string indexPath = SideIndexFileFor(path);
    if (WriteAtomically(indexPath + ".saving", index.data(), index.size()))
      PutInPlace(indexPath + ".saving", indexPath);
    return true;
  }
  DeleteFileA(temp.c_str());
  return false;
}

bool ReadCollectionRecord(const std::string& collection, const std::string& path, TrackRecord& out) {
  Handle file(CreateFileA(collection.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  std::vector<TrackRecord> chunk(kChunk / kRecord);
  // The player names the record by the path it played, which it took from the collection: the
  // same bytes, almost always; the comparison without case only when those are not found.
  for (int pass = 0; pass < 2 && file.Ok(); ++pass) {
    SetFilePointer(file.h, 0, nullptr, FILE_BEGIN);
    for (DWORD got = 0;
         ReadFile(file.h, chunk.data(), static_cast<DWORD>(chunk.size() * kRecord), &got, nullptr) && got >= kRecord;) {
      for (size_t i = 0; i < got / kRecord; ++i) {
        const std::string_view p = chunk[i].Path();
        if (pass == 0 ? p != path : !SamePath(p, path)) continue;
        out = chunk[i];
        return true;
      }
    }
  }
  return false;
}

bool WriteSelectiveList(const std::vector<uint32_t>& numbers) {
  const std::vector<uint8_t> bytes = EncodeSelectiveList(numbers);
  const std::string path = SelectivePlayListFile(), temp = path + ".saving";
  return WriteAtomically(temp, bytes.data(), bytes.size()) && PutInPlace(temp, path);
}

std::vector<uint32_t> ReadSelectiveList(uint64_t recordCount, size_t* pastEnd) {
  Handle file(CreateFileA(SelectivePlayListFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::vector<uint8_t> bytes;
  if (file.Ok()) ReadAll(file.h, bytes);
  return DecodeSelectiveList(bytes.data(), bytes.size(), recordCount, pastEnd);
}

bool TakeFilesToAdd(std::vector<std::string>& paths, size_t* skipped, size_t limit) {
  if (skipped) *skipped = 0;
  if (GetFileAttributesA(AddToEditorFile().c_str()) == INVALID_FILE_ATTRIBUTES) return true;  // nothing waits
  DataFile file;
  if (!OpenRetrying(file, AddToEditorFile(), FileAccess::ReadWrite, FileCreation::OpenExisting, false)) return false;
  // Read in pieces: the file may be far larger than anything worth holding (a runaway writer).
  std::unordered_set<std::string> seen;
  std::vector<uint8_t> chunk(kChunk - kChunk % 260);
  const uint64_t size = file.Size();
  size_t left = 0;
  file.SeekTo(0);
  for (uint64_t at = 0; at < size;) {
    const uint32_t got = file.Read(chunk.data(), static_cast<uint32_t>(chunk.size()));
    if (got == 0) return false;  // not fully read: leave it as it is
    left += TakeAddRecords(chunk.data(), got, paths, seen, limit);
    at += got;
  }
  if (skipped) *skipped = left;
  return file.TruncateAt(0);
}

}  // namespace ox
