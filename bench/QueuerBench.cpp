// The playlist window with 100,000 queued tracks: how long Queuer.exe takes from its start to a
// full list, how long a page of scrolling takes, and how long an edit of one row takes to
// rewrite the queue file (the middle row, and the head, which moves every record).
//   queuer_bench <installation folder holding Queuer.exe>
#include <windows.h>

#include <commctrl.h>

#include "BenchClock.h"

#include <cstdio>
#include <string>
#include <vector>

#include "core/Locations.h"
#include "core/Settings.h"
#include "queue/QueueEditFile.h"

namespace {

constexpr size_t kTracks = 100000;

std::vector<ox::TrackRecord> Tracks(size_t count) {
  std::vector<ox::TrackRecord> tracks(count);
  for (size_t i = 0; i < count; ++i) {
    ox::TrackRecord& r = tracks[i];
    r = ox::TrackRecord{};
    const std::string n = std::to_string(i);
    ox::CopyBounded(r.path, "D:\\Music\\Some Artist\\Some Album\\" + n + " - A Track Title.mp3");
    ox::CopyBounded(r.title, "A Track Title " + n);
    ox::CopyBounded(r.artist, "Some Artist");
    ox::CopyBounded(r.album, "Some Album");
    r.lengthMs = 180000 + static_cast<uint32_t>(i % 60) * 1000;
  }
  return tracks;
}

void Fill(const std::string& queue, const std::vector<ox::TrackRecord>& tracks) {
  DeleteFileA(queue.c_str());
  ox::AppendToQueueFile(queue, tracks);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: queuer_bench <installation folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '\\') folder += "\\";
  ox::SetTextSetting(folder.c_str(), "InstalledTo", HKEY_CURRENT_USER, ox::kSettingsKey);
  ox::InstallFolder(true);
  const std::string queue = ox::QueueFile();
  const std::vector<ox::TrackRecord> tracks = Tracks(kTracks);
  DeleteFileA(ox::PriorityQueueFile().c_str());

  // Edits of one row, each from the file's state (the window's way).
  struct Edit {
    const char* what;
    size_t row;
  } edits[] = {{"remove the middle row", kTracks / 2}, {"remove the head row", 0}};
  for (const Edit& edit : edits) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
      Fill(queue, tracks);
      std::vector<ox::QueueRecord> seen;
      ox::ReadQueueRecords(queue, seen);
      std::vector<int64_t> order;
      for (size_t i = 0; i < seen.size(); ++i)
        if (i != edit.row) order.push_back(static_cast<int64_t>(i));
      const double start = Now();
      ox::EditQueueFile(queue, seen, order, {});
      best = std::min(best, (Now() - start) * 1000);
    }
    std::printf("queuer: %s of %zu: %.1f ms\n", edit.what, kTracks, best);
  }
  {
    Fill(queue, tracks);
    std::vector<ox::QueueRecord> seen;
    const double start = Now();
    ox::ReadQueueRecords(queue, seen);
    std::printf("queuer: read %zu queued tracks: %.1f ms\n", seen.size(), (Now() - start) * 1000);
  }

  // The program: from its start to a list of every track.
  Fill(queue, tracks);
  const std::string exe = folder + "Queuer.exe";
  std::string line = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = Now();
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "queuer_bench: cannot start %s\n", exe.c_str());
    return 1;
  }
  HWND window = nullptr, list = nullptr;
  double shown = 0;
  while (Now() - start < 30) {
    if (!list && (window = FindWindowA("OxQueuerWindow", nullptr)) && IsWindowVisible(window)) {
      shown = Now();
      list = FindWindowExA(window, nullptr, "SysListView32", nullptr);
    }
    if (list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == static_cast<LRESULT>(kTracks)) break;
    Sleep(1);
  }
  const double listed = Now();
  std::printf("queuer: start to window %.0f ms, to a list of %zu tracks %.0f ms (of which the load %.0f ms)\n",
              (shown - start) * 1000, kTracks, (listed - start) * 1000, (listed - shown) * 1000);
  // Scrolling: a page at a time through the middle of the list, each page drawn before the next.
  if (list) {
    SendMessageW(list, LVM_ENSUREVISIBLE, kTracks / 2, FALSE);
    UpdateWindow(list);
    const int pages = 200;
    const double scroll = Now();
    for (int i = 0; i < pages; ++i) {
      SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
      RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
    }
    std::printf("queuer: a page of scrolling %.2f ms\n", (Now() - scroll) * 1000 / pages);
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DeleteFileA(queue.c_str());
  return 0;
}
