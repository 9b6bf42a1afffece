// The playlist window with 100,000 queued tracks: how long Queuer.exe takes from its start to a
// full list, how long a page of scrolling takes, and how long an edit of one row takes to
// rewrite the queue file (the middle row, and the head, which moves every record).
//   queuer_bench <installation folder holding Queuer.exe>
#include <windows.h>

#include <commctrl.h>

#include "BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// A started program: how long from its start its window took to show and its list to hold
// `rows` rows (when it has a list view).
struct Started {
  PROCESS_INFORMATION process{};
  HWND window = nullptr, list = nullptr;
  double shownMs = 0, listedMs = 0;
};

Started Start(const std::string& exe, const char* windowClass, size_t rows) {
  Started s;
  std::string line = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  const double start = Now();
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &s.process)) {
    std::fprintf(stderr, "queuer_bench: cannot start %s\n", exe.c_str());
    std::exit(1);
  }
  while (Now() - start < 30) {
    if (!s.window && (s.window = FindWindowA(windowClass, nullptr)) && !IsWindowVisible(s.window)) s.window = nullptr;
    if (s.window && s.shownMs == 0) {
      s.shownMs = (Now() - start) * 1000;
      s.list = FindWindowExA(s.window, nullptr, "SysListView32", nullptr);
    }
    if (s.window && (rows == 0 || (s.list && SendMessageW(s.list, LVM_GETITEMCOUNT, 0, 0) == static_cast<LRESULT>(rows))))
      break;
    Sleep(1);
  }
  s.listedMs = (Now() - start) * 1000;
  return s;
}

void Close(Started& s) {
  PostMessageW(s.window, WM_CLOSE, 0, 0);
  WaitForSingleObject(s.process.hProcess, 10000);
  CloseHandle(s.process.hThread);
  CloseHandle(s.process.hProcess);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string ExecutableFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
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

  // The program from its start to a visible window and to a list of every track, five times,
  // each start beside one of the bare window program (what the system takes for any window).
  const std::string queuer = folder + "Queuer.exe", bare = ExecutableFolder() + "bare_window.exe";
  std::vector<double> shownMs, listedMs, bareMs;
  for (int round = 0; round < 5; ++round) {
    Fill(queue, tracks);
    Started q = Start(queuer, "OxQueuerWindow", kTracks);
    shownMs.push_back(q.shownMs);
    listedMs.push_back(q.listedMs);
    Close(q);
    Started b = Start(bare, "OxBareWindow", 0);
    bareMs.push_back(b.shownMs);
    Close(b);
  }
  std::printf("queuer: start to window %.0f ms (bare window program %.0f ms), to a list of %zu tracks %.0f ms"
              " (medians of 5; fastest %.0f / %.0f / %.0f ms)\n",
              Median(shownMs), Median(bareMs), kTracks, Median(listedMs), *std::min_element(shownMs.begin(), shownMs.end()),
              *std::min_element(bareMs.begin(), bareMs.end()), *std::min_element(listedMs.begin(), listedMs.end()));
  Fill(queue, tracks);
  Started q = Start(queuer, "OxQueuerWindow", kTracks);
  HWND list = q.list;
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
  Close(q);
  DeleteFileA(queue.c_str());
  return 0;
}
