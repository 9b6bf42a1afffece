// oxpeer.exe: the other process of the cross-process tests. It opens the suite's named objects by
// their raw Win32 names (not through the player's wrappers), so the tests also check the names.
//
//   oxpeer set-event NAME               set the named event
//   oxpeer is-set NAME                  exit 1 when the named event is set, 0 when not
//   oxpeer write-pattern BLOCK SIZE K   fill block BLOCK (SIZE bytes) with bytes (K + i) & 255
//   oxpeer check-pattern BLOCK SIZE K   exit 0 when the block holds that pattern, 1 when not
//   oxpeer locations OUT FLAG           write InstallFolder(FLAG) and UserBasePath(FLAG) to OUT
//   oxpeer ensure-running WAITMS        exit 1 when EnsurePlayerRunning says a player runs
//   oxpeer queue-writer ID N            N times: play now "C:\now-ID-i.wav", enqueue "C:\queued-ID-i.wav"
//   oxpeer queue-taker OUT              takes from both queue files, one path a line to OUT, until
//                                       "evtOxTestTakerStop" is set and both are empty
//   rill.exe (a copy, no arguments)     a stand-in player: reports running until told to quit
//   Librarian.exe (a copy)              a stand-in collection editor, likewise
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/EnsureRunning.h"
#include "core/Locations.h"
#include "queue/PlayerCommands.h"
#include "queue/QueueFile.h"

namespace {

struct RawBlock {
  HANDLE mapping = nullptr, mutex = nullptr;
  unsigned char* view = nullptr;
  RawBlock(const std::string& name, DWORD size) {
    mutex = CreateMutexA(nullptr, FALSE, ("SMutex_" + name).c_str());
    mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                 ("SSharedData_" + name).c_str());
    if (mapping) view = static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    WaitForSingleObject(mutex, INFINITE);
  }
  ~RawBlock() {
    ReleaseMutex(mutex);
    if (view) UnmapViewOfFile(view);
    if (mapping) CloseHandle(mapping);
    CloseHandle(mutex);
  }
};

int StandIn(const char* runningEvent) {
  HANDLE running = CreateEventA(nullptr, TRUE, FALSE, runningEvent);
  HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "evtOxTestStandInQuit");
  SetEvent(running);
  WaitForSingleObject(quit, 10000);
  ResetEvent(running);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string self = argv[0];
  auto named = [&](const char* name) {
    const size_t n = std::strlen(name);
    return argc == 1 && self.size() >= n && _stricmp(self.c_str() + self.size() - n, name) == 0;
  };
  if (named("rill.exe")) return StandIn("evtOxRillRunning");
  if (named("Librarian.exe")) return StandIn("evtOxEditorRunning");
  if (named("Queuer.exe")) {  // a sibling program: leaves its command line beside itself
    FILE* out = std::fopen((self.substr(0, self.rfind('\\') + 1) + "commands.txt").c_str(), "ab");
    if (!out) return 101;
    std::fprintf(out, "%s\n", GetCommandLineA());
    std::fclose(out);
    return 0;
  }
  if (argc < 3) return 100;
  const std::string command = argv[1];

  if (command == "set-event" || command == "is-set") {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, argv[2]);
    if (!event) return 101;
    int result = 0;
    if (command == "set-event")
      SetEvent(event);
    else
      result = WaitForSingleObject(event, 0) == WAIT_OBJECT_0 ? 1 : 0;
    CloseHandle(event);
    return result;
  }
  if ((command == "write-pattern" || command == "check-pattern") && argc == 5) {
    const DWORD size = std::strtoul(argv[3], nullptr, 10);
    const unsigned key = std::strtoul(argv[4], nullptr, 10);
    RawBlock block(argv[2], size);
    if (!block.view) return 101;
    for (DWORD i = 0; i < size; ++i) {
      const unsigned char expected = static_cast<unsigned char>(key + i);
      if (command == "write-pattern")
        block.view[i] = expected;
      else if (block.view[i] != expected)
        return 1;
    }
    return 0;
  }
  if (command == "locations" && argc == 4) {
    const bool fromRegistry = std::strcmp(argv[3], "1") == 0;
    const std::string folder = ox::InstallFolder(fromRegistry);
    const std::string base = ox::UserBasePath(fromRegistry);
    FILE* out = std::fopen(argv[2], "wb");
    if (!out) return 101;
    std::fprintf(out, "%s\n%s\n", folder.c_str(), base.c_str());
    std::fclose(out);
    return 0;
  }
  if (command == "queue-writer" && argc == 4) {
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, "evtOxTestWritersGo");
    if (WaitForSingleObject(go, 30000) != WAIT_OBJECT_0) return 102;
    for (int i = 0, n = std::atoi(argv[3]); i < n; ++i) {
      ox::TrackRecord r{};
      ox::CopyBounded(r.path, std::string("C:\\now-") + argv[2] + "-" + std::to_string(i) + ".wav");
      ox::PlayNow(r);
      ox::CopyBounded(r.path, std::string("C:\\queued-") + argv[2] + "-" + std::to_string(i) + ".wav");
      if (!ox::Enqueue(r)) return 103;
    }
    return 0;
  }
  if (command == "queue-taker") {
    FILE* out = std::fopen(argv[2], "wb");
    if (!out) return 101;
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, "evtOxTestTakerStop");
    for (;;) {
      ox::TrackRecord r;
      if (ox::TakeFromQueueFile(ox::PriorityQueueFile(), r) || ox::TakeFromQueueFile(ox::QueueFile(), r)) {
        std::fprintf(out, "%s\n", std::string(r.Path()).c_str());
        continue;
      }
      if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) break;
      Sleep(1);
    }
    std::fclose(out);
    return 0;
  }
  if (command == "ensure-running") return ox::EnsurePlayerRunning(std::strtoul(argv[2], nullptr, 10)) ? 1 : 0;
  return 100;
}
