#include "queue/CollectionScan.h"

#include <windows.h>

#include <memory>
#include <set>
#include <utility>

#include "base/FileFinder.h"
#include "base/Path.h"
#include "base/WorkerThread.h"
#include "engine/CodecHost.h"
#include "queue/FolderWatchRules.h"
#include "queue/TrackCompletion.h"

namespace ox {

namespace {

uint64_t FileTimeValue(const FILETIME& t) { return uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime; }

// The identity of a folder (volume and file index), the same through every name that reaches it.
bool FolderIdentity(const std::string& folder, std::pair<uint64_t, uint64_t>& id) {
  HANDLE h = CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  id = {info.dwVolumeSerialNumber, uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
  return ok;
}

void Walk(const std::string& folder, const CodecHost& codecs, std::vector<FoundFile>& out,
          const std::atomic<bool>& cancel, std::set<std::pair<uint64_t, uint64_t>>& visited, int depth) {
  std::pair<uint64_t, uint64_t> id;
  // A folder whose identity cannot be read is walked once by depth alone.
  if (depth > 64 || (FolderIdentity(folder, id) && !visited.insert(id).second)) return;
  for (FileFinder find(folder, "*.*"); !cancel && find.Next();) {
    if (find.IsDirectory()) {
      if (!IsRecyclerFolder(find.Name())) Walk(find.FullPath(), codecs, out, cancel, visited, depth + 1);
      continue;
    }
    const std::string path = find.FullPath();
    if (!codecs.IsPlayable(ExtensionOf(path))) continue;
    const WIN32_FIND_DATAA& e = find.Entry();
    out.push_back({path, uint64_t{e.nFileSizeHigh} << 32 | e.nFileSizeLow, FileTimeValue(e.ftLastWriteTime)});
  }
}

struct ReadJob {
  const std::vector<FoundFile>* files;
  std::vector<TrackRecord>* records;
  std::vector<SideEntry>* side;
  std::atomic<uint32_t>* done;
  const std::atomic<bool>* cancel;
  std::atomic<size_t> next{0};
};

uint32_t ReadLoop(WorkerThread& self) {
  ReadJob& job = *reinterpret_cast<ReadJob*>(self.Argument());
  for (size_t i; !*job.cancel && !self.StopRequested() && (i = job.next++) < job.files->size();) {
    ReadTrack((*job.files)[i], (*job.records)[i], (*job.side)[i]);
    ++*job.done;
  }
  return 0;
}

}  // namespace

void FindMusicFiles(const std::string& folder, const CodecHost& codecs, std::vector<FoundFile>& out,
                    const std::atomic<bool>& cancel) {
  std::set<std::pair<uint64_t, uint64_t>> visited;
  Walk(folder, codecs, out, cancel, visited, 0);
}

bool StatFile(const std::string& path, uint64_t& size, uint64_t& modified) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  size = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
  modified = FileTimeValue(data.ftLastWriteTime);
  return true;
}

void ReadTrack(const FoundFile& file, TrackRecord& record, SideEntry& side) {
  record = TrackRecord{};
  side = SideEntry{};
  if (!CopyBounded(record.path, file.path)) {  // a cut path would name another file
    record = TrackRecord{};
    return;
  }
  CompleteTrackRecord(record);
  record.volumeBoost = kVolumeBoostAuto;
  side.fileSize = file.size;
  side.modified = file.modified;
  const CodecPlugin* codec = Codecs().Find(ExtensionOf(file.path));
  if (codec && codec->GetIDTagElement) {
    char value[OX_CODEC_TEXT_SIZE + 1024] = {};
    if (codec->GetIDTagElement(file.path.c_str(), "genre", value)) side.genre = FieldText(value, OX_CODEC_TEXT_SIZE);
    value[0] = '\0';
    if (codec->GetIDTagElement(file.path.c_str(), "albumartist", value))
      side.albumArtist = FieldText(value, OX_CODEC_TEXT_SIZE);
  }
}

void ReadTracks(const std::vector<FoundFile>& files, std::vector<TrackRecord>& records, std::vector<SideEntry>& side,
                std::atomic<uint32_t>& done, const std::atomic<bool>& cancel, int threads) {
  records.assign(files.size(), TrackRecord{});
  side.assign(files.size(), SideEntry{});
  Codecs();  // loaded once, before the threads ask for it
  ReadJob job{&files, &records, &side, &done, &cancel};
  std::vector<std::unique_ptr<WorkerThread>> workers;
  for (int i = 0; i < (threads < 1 ? 1 : threads); ++i)
    workers.push_back(std::make_unique<WorkerThread>(ReadLoop, reinterpret_cast<uintptr_t>(&job)));
  for (auto& w : workers)
    while (!w->IsFinished()) Sleep(5);
}

}  // namespace ox
