// The skin's own costs: the time from evtOxNewSkin to every window of the new skin on the screen,
// and a full back-buffer repaint of the largest window.
//   skin_bench <skins folder holding skins "A" and "B">
#include <windows.h>

#include "BenchClock.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "ui/SkinManager.h"

namespace {

// Waits for a condition at most 10 s; false, after saying which windows there are, when it did not hold.
template <typename F>
bool Await(F condition, const char* what) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(1))
    if (condition()) return true;
  std::fprintf(stderr, "skin_bench: %s did not happen:", what);
  for (const char* name : {"BenchMain", "BenchEq", "BenchPanel"}) {
    HWND w = FindWindowA(name, nullptr);
    std::fprintf(stderr, " %s %s", name, w ? (IsWindowVisible(w) ? "shown" : "hidden") : "missing");
  }
  std::fprintf(stderr, "\n");
  return false;
}

bool AllShown(const char* const* classes) {
  for (int i = 0; i < 3; ++i) {
    HWND w = FindWindowA(classes[i], nullptr);
    if (!w || !IsWindowVisible(w)) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: skin_bench <skins folder>\n");
    return 2;
  }
  const std::string skins = std::string(argv[1]) + "\\";
  ox::SetNumberSetting(1, "SkinChangeOpt");
  ox::SetTextSetting("A", "[SetActive]", HKEY_CURRENT_USER, ox::kSkinSettingsKey);
  std::vector<double> switches;
  {
    ox::SkinManager manager({skins, {}, nullptr, true});
    const char* const shown[] = {"BenchMain", "BenchEq", "BenchPanel"};
    if (!Await([&] { return AllShown(shown); }, "the first skin")) return 1;
    for (int round = 0; round < 10; ++round) {
      // The two skins hold the same windows: wait for the old ones to go, then the new to show.
      HWND old = FindWindowA("BenchMain", nullptr);
      ox::SetTextSetting(round % 2 ? "A" : "B", "[SetActive]", HKEY_CURRENT_USER, ox::kSkinSettingsKey);
      const double start = Now();
      ox::evt::OxNewSkin.Set();
      if (!Await([&] { return !IsWindow(old) && AllShown(shown); }, "the switch")) return 1;
      switches.push_back((Now() - start) * 1000);
    }
    // The skin thread and its three windows with nothing to do, as while the player is stopped.
    Sleep(1000);
    FILETIME created, exited, kernel0, user0, kernel1, user1;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel0, &user0);
    const double idleStart = Now();
    Sleep(10000);
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel1, &user1);
    auto ticks = [](FILETIME f) { return (uint64_t(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 1e7; };
    const double cpu = ticks(kernel1) + ticks(user1) - ticks(kernel0) - ticks(user0);
    std::printf("skin thread and three windows idle: %.3f %% of one core\n", cpu / (Now() - idleStart) * 100);
  }
  std::sort(switches.begin(), switches.end());

  // A full repaint, on this thread's own copy of the skin.
  ox::LoadedSkin skin = ox::LoadSkinFolder("A", skins + "A\\");
  ox::SkinWindow& main = *skin.groups.at(0)->First();
  main.Create(nullptr);
  std::vector<double> repaints;
  for (int i = 0; i < 200; ++i) {
    const double start = Now();
    main.Repaint();
    UpdateWindow(main.Handle());
    repaints.push_back((Now() - start) * 1000);
  }
  std::sort(repaints.begin(), repaints.end());
  main.Destroy();
  std::printf("new skin to its three windows shown: median %.1f ms, worst %.1f ms (10 switches, opening animation "
              "included: the windows are shown at its start)\n",
              switches[switches.size() / 2], switches.back());
  std::printf("full repaint of a 400x150 window: median %.3f ms\n", repaints[repaints.size() / 2]);
  ox::DeleteSetting("SkinChangeOpt");
  return 0;
}
