#include "queue/FolderWatch.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

#include "base/DataFile.h"
#include "base/FileFinder.h"
#include "base/PathCase.h"
#include "base/Path.h"
#include "base/WorkerThread.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "core/TrackRecord.h"
#include "engine/CodecHost.h"
#include "queue/Collection.h"

namespace ox {
namespace {

std::mutex g_lock;
std::vector<std::unique_ptr<WorkerThread>> g_scans;  // a trigger during a scan starts another
WatchSchedule g_schedule;                            // the core thread's alone

KnownPaths CollectionPaths() {
  KnownPaths known(PathKey);
  DataFile file(ActiveMusicCollection(), FileAccess::Read, FileCreation::OpenExisting);
  TrackRecord record;
  while (file.IsOpen() && file.Read(&record, sizeof record) == sizeof record) known.Add(record.Path());
  return known;
}

// Whether a file can be taken now: opened for reading with no sharing (another program still
// writing it refuses that) and not empty.
bool Ready(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  const bool ready = GetFileSizeEx(file, &size) && size.QuadPart > 0;
  CloseHandle(file);
  return ready;
}

uint32_t ScanThread(WorkerThread& self) {
  ScanWatchedFolder([&self] { return self.StopRequested(); });
  return 0;
}

}  // namespace

size_t ScanFolder(const std::string& folder, bool recurse, const KnownPaths& known, const CodecHost& codecs,
                  const std::function<void(const std::string&)>& handOver, const std::function<bool()>& stop) {
  size_t handed = 0;
  for (FileFinder find(folder, "*.*"); find.Next() && !(stop && stop());) {
    const std::string path = find.FullPath();
    if (find.IsDirectory()) {
      if (recurse && !IsRecyclerFolder(find.Name())) handed += ScanFolder(path, recurse, known, codecs, handOver, stop);
      continue;
    }
    if (!codecs.Find(ExtensionOf(path)) || known.Contains(path) || !Ready(path)) continue;
    handOver(path);
    ++handed;
  }
  return handed;
}

size_t ScanWatchedFolder(const std::function<bool()>& stop) {
  const std::string folder = ReadText(setting::FWFolderToWatch);
  if (folder.empty()) return 0;  // no folder chosen: nothing to watch (not the current folder)
  const KnownPaths known = CollectionPaths();
  return ScanFolder(folder, ReadNumber(setting::FWRecurse) != 0, known, Codecs(),
                    [](const std::string& path) { AddFileToCollection(&path, true); }, stop);
}

void FolderWatchTick(uint32_t now) {
  if (g_schedule.Tick(now, [] { return ReadNumber(setting::FWSchedule) == 2; },
                      [] { return ScheduleMinutes(ReadText(setting::FWScheduleEvery)); }))
    evt::OxTriggerFolderWatch.Set();
  std::lock_guard<std::mutex> hold(g_lock);
  for (auto it = g_scans.begin(); it != g_scans.end();) it = (*it)->IsFinished() ? g_scans.erase(it) : it + 1;
  if (!evt::OxTriggerFolderWatch.IsSet()) return;
  evt::OxTriggerFolderWatch.Reset();
  auto scan = std::make_unique<WorkerThread>(ScanThread, 0, true);
  scan->SetPriority(THREAD_PRIORITY_LOWEST);
  scan->Resume();
  g_scans.push_back(std::move(scan));
}

void StopFolderWatch() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_scans.clear();  // each asks its scan to stop and waits for it
}

}  // namespace ox
