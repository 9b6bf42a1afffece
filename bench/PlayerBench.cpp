// The running player measured from outside, as another process of the suite sees it:
//   player_bench <installation folder> <60 s mp3> <wav> <scratch folder>
// The installation folder must hold the recording test output as "Recording.dll" in SoundOutputs:
// it plays in real time like a device and reports when each track's first block arrived.
//  - start-up: from starting rill.exe with a file to its first block at the output, less the time
//    Wine takes to start a trivial program (oxctl.exe);
//  - CPU: the player's own CPU time while it plays the MP3 with the equaliser on, and while stopped;
//  - skip: from "evtOxSkip" to the next track's first block at the output.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "engine/Equaliser.h"

namespace {

std::string g_dist, g_scratch;

struct Child {
  PROCESS_INFORMATION info{};
  DWORD started = 0;
  explicit Child(const std::string& line, bool quiet = false) {
    std::string l = line;
    STARTUPINFOA s{};
    s.cb = sizeof s;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = quiet ? CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr) : nullptr;
    if (nul) s.dwFlags = STARTF_USESTDHANDLES, s.hStdOutput = s.hStdError = nul;
    started = GetTickCount();
    CreateProcessA(nullptr, l.data(), nullptr, nullptr, nul != nullptr, 0, nullptr, nullptr, &s, &info);
    if (nul) CloseHandle(nul);
  }
  ~Child() {
    ox::evt::OxClose.Set();
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    ox::evt::OxClose.Reset();
  }
};

// CPU seconds the host system has charged to the player process (Wine does not report other
// processes' times), read from /proc through Wine's Z: drive.
double PlayerCpuSeconds() {
  WIN32_FIND_DATAA e;
  HANDLE find = FindFirstFileA("Z:\\proc\\*", &e);
  double seconds = 0;
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (e.cFileName[0] < '0' || e.cFileName[0] > '9') continue;
    const std::string dir = std::string("Z:\\proc\\") + e.cFileName + "\\";
    char cmd[4096] = {};
    if (FILE* f = std::fopen((dir + "cmdline").c_str(), "rb")) {
      const size_t n = std::fread(cmd, 1, sizeof cmd - 1, f);
      std::fclose(f);
      for (size_t i = 0; i < n; ++i)
        if (!cmd[i]) cmd[i] = ' ';
    }
    if (!std::strstr(cmd, "rill.exe")) continue;
    if (FILE* f = std::fopen((dir + "stat").c_str(), "rb")) {
      char stat[2048] = {};
      std::fread(stat, 1, sizeof stat - 1, f);
      std::fclose(f);
      const char* after = std::strrchr(stat, ')');  // fields after the command name
      unsigned long utime = 0, stime = 0;
      if (after && std::sscanf(after + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) == 2)
        seconds += (utime + stime) / 100.0;  // clock ticks of 10 ms
    }
  } while (FindNextFileA(find, &e));
  FindClose(find);
  return seconds;
}

std::string Player(const std::vector<std::string>& files) {
  std::string line = "\"" + g_dist + "rill.exe\"";
  for (const std::string& f : files) line += " \"" + f + "\"";
  return line;
}

// First-block ticks of the recording output's objects, in creation order.
std::vector<DWORD> FirstBlocks() {
  std::vector<DWORD> ticks;
  for (int i = 0;; ++i) {
    FILE* f = std::fopen((g_scratch + "rec" + std::to_string(i) + ".txt").c_str(), "r");
    if (!f) break;
    unsigned long first = 0;
    if (std::fscanf(f, "%lu", &first) == 1) ticks.push_back(first);
    std::fclose(f);
  }
  return ticks;
}

void ClearRecordings() {
  for (int i = 0; i < 32; ++i)
    for (const char* ext : {".txt", ".raw"}) DeleteFileA((g_scratch + "rec" + std::to_string(i) + ext).c_str());
}

bool WaitRunning() {
  for (int i = 0; i < 300; ++i, Sleep(50))
    if (ox::evt::OxRillRunning.IsSet() && FindWindowA("Orlavox Audio Player", nullptr)) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: player_bench <installation folder> <mp3> <wav> <scratch folder>\n");
    return 2;
  }
  g_dist = std::string(argv[1]) + "\\";
  g_scratch = std::string(argv[4]) + "\\";
  const std::string mp3 = argv[2], wav = argv[3];
  SetEnvironmentVariableA("OX_RECORDING_DIR", argv[4]);
  SetEnvironmentVariableA("OX_RECORDING_SPEED", "1");
  SetEnvironmentVariableA("OX_RECORDING_BLOCK_MS", "50");
  ox::SetTextSetting("Recording", "DefaultSO");
  for (const char* v : {"OxMultiResumeFile", "CrossFadeOn", "GapLessOn", "OxPlayDown"}) ox::DeleteSetting(v);
  ox::SetNumberSetting(1, "OxRandomPlay");  // no random play from a collection
  ox::SetNumberSetting(1, "OxEQOn");
  ox::EqPositions eq{};
  for (int i = 0; i < 20; ++i) eq.sliders[i] = (i * 37) % 160 - 80;
  ox::SetBytesSetting("OxEQSettings", &eq, sizeof eq);

  // Wine's start of a trivial program, the best of three.
  DWORD trivial = ~0u;
  for (int i = 0; i < 3; ++i) {
    Child c("\"" + g_dist + "oxctl.exe\" volume", true);
    WaitForSingleObject(c.info.hProcess, 10000);
    trivial = std::min(trivial, GetTickCount() - c.started);
  }

  // Start-up to the first block, the best of three.
  DWORD startup = ~0u;
  for (int i = 0; i < 3; ++i) {
    ClearRecordings();
    DWORD started;
    {
      Child player(Player({wav}));
      started = player.started;
      WaitRunning();
      Sleep(1500);
    }
    const std::vector<DWORD> first = FirstBlocks();
    if (!first.empty()) startup = std::min(startup, first[0] - started);
  }
  std::printf("start-up to the first block: %lu ms; a trivial program: %lu ms; the player's own: %ld ms\n",
              (unsigned long)startup, (unsigned long)trivial, long(startup) - long(trivial));

  // CPU while playing (equaliser on) and while stopped, the cursor resting away from the player's
  // windows (in a corner of the screen); then stopped with the cursor resting over the player window.
  {
    ClearRecordings();
    Child player(Player({mp3}));
    WaitRunning();
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Sleep(3000);
    const double cpu0 = PlayerCpuSeconds();
    const DWORD t0 = GetTickCount();
    Sleep(30000);
    const double playing = (PlayerCpuSeconds() - cpu0) / ((GetTickCount() - t0) / 1000.0) * 100;
    ox::evt::OxPlay.Reset();
    Sleep(2000);
    const double cpu1 = PlayerCpuSeconds();
    const DWORD t1 = GetTickCount();
    Sleep(40000);  // long enough for the 10 ms ticks of the host's accounting
    const double stopped = (PlayerCpuSeconds() - cpu1) / ((GetTickCount() - t1) / 1000.0) * 100;
    std::printf("CPU while playing an MP3 with the equaliser on: %.2f %% of one core; while stopped: %.3f %%\n",
                playing, stopped);
    RECT main;
    if (HWND window = FindWindowA("OrlavoxSkin:OrlavoxMain", nullptr); window && GetWindowRect(window, &main)) {
      SetCursorPos((main.left + main.right) / 2, (main.top + main.bottom) / 2);
      Sleep(2000);
      const double cpu2 = PlayerCpuSeconds();
      const DWORD t2 = GetTickCount();
      Sleep(20000);
      std::printf("CPU while stopped with the cursor resting over the player window: %.3f %%\n",
                  (PlayerCpuSeconds() - cpu2) / ((GetTickCount() - t2) / 1000.0) * 100);
    }
  }

  // Skip latency: five skips through a queue of long tracks.
  {
    ClearRecordings();
    std::vector<DWORD> skips;
    {
      Child player(Player({wav, wav, wav, wav, wav, wav}));
      WaitRunning();
      Sleep(2500);
      for (int i = 0; i < 5; ++i) {
        skips.push_back(GetTickCount());
        ox::evt::OxSkip.Set();
        Sleep(1500);
      }
    }
    const std::vector<DWORD> first = FirstBlocks();
    DWORD worst = 0, sum = 0;
    int n = 0;
    for (size_t i = 0; i < skips.size() && i + 1 < first.size(); ++i, ++n) {
      const DWORD latency = first[i + 1] - skips[i];
      worst = std::max(worst, latency);
      sum += latency;
    }
    if (n) std::printf("skip to the next track's first block: %lu ms on average, %lu ms at worst (%d skips)\n",
                       (unsigned long)(sum / n), (unsigned long)worst, n);
  }
  ox::SetTextSetting("Wave Out", "DefaultSO");
  ox::SetNumberSetting(0, "OxEQOn");
  return 0;
}
