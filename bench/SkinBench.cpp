// The skin's own costs: the time from evtOxNewSkin to every window of the new skin on the screen,
// a full back-buffer repaint of the largest window, and one frame of each visualisation mode of a
// 150x40 area and of a scrolling title.
//   skin_bench <skins folder> <skin> <other skin>
// The windows a skin shows are those always shown and those shown by a user event, which the
// benchmark sets (the equaliser window of a player, say); the tray control is not shown.
#include <windows.h>

#include "BenchClock.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "base/ByteSource.h"
#include "engine/VisualOutputHost.h"
#include "tools/oxskin/SkinText.h"
#include "ui/SkinElements.h"
#include "ui/SkinManager.h"
#include "ui/SkinRules.h"
#include "ui/SkinWindow.h"

namespace {

// The class names of the windows a skin shows here: the user events of their conditions are set.
std::vector<std::string> ShownWindows(const ox::LoadedSkin& skin) {
  std::vector<std::string> classes;
  for (const auto& group : skin.groups) {
    for (const auto& window : group->windows) {
      const std::string& condition = window->ShowConditionText();
      const ox::ShowCondition kind = ox::ClassifyShowCondition(condition);
      if (kind == ox::ShowCondition::Event && condition[0] == 'U') ox::SkinEvent(condition)->Set();
      if (kind == ox::ShowCondition::Always || kind == ox::ShowCondition::MainWindow ||
          (kind == ox::ShowCondition::Event && condition[0] == 'U'))
        classes.push_back(window->Name());
    }
  }
  return classes;
}

// Waits for a condition at most 30 s (a busy machine can be slow to show the first skin); false,
// after saying which windows there are, when it did not hold.
template <typename F>
bool Await(F condition, const char* what, const std::vector<std::string>& classes) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(1))
    if (condition()) return true;
  std::fprintf(stderr, "skin_bench: %s did not happen:", what);
  for (const std::string& name : classes) {
    HWND w = FindWindowA(ox::SkinWindowClassName(name).c_str(), nullptr);
    std::fprintf(stderr, " %s %s", name.c_str(), w ? (IsWindowVisible(w) ? "shown" : "hidden") : "missing");
  }
  std::fprintf(stderr, "\n");
  return false;
}

bool AllShown(const std::vector<std::string>& classes) {
  for (const std::string& name : classes) {
    HWND w = FindWindowA(ox::SkinWindowClassName(name).c_str(), nullptr);
    if (!w || !IsWindowVisible(w)) return false;
  }
  return true;
}

bool NoneLeft(const std::vector<HWND>& windows) {
  for (HWND w : windows)
    if (IsWindow(w)) return false;
  return true;
}

}  // namespace

// One frame of each element kind that redraws on its own: the visualisation area in its three
// modes (with a loud snapshot rendered by a host without plug-ins) and a scrolling title.
void FrameTimes() {
  std::vector<std::string> errors;
  const ox::skintext::Skin skin = ox::skintext::Parse(R"(window "W"
  width 400
  height 150
  id 1
visualisation "Vis"
  window 1
  width 150
  height 40
  bars.colourMode 2
  bars.colour1 #2080FF
  bars.colour2 #FFD040
  bars.count 20
  bars.peaks 1
  bars.style 2
  bars.segments 10
  bars.gap 1
  scope.gradient 1
  scope.top #FF4040
  scope.middle #40FF40
  scope.bottom #4040FF
  meter.colourMode 3
  meter.colour1 #00FF00
  meter.colour2 #FF0000
font "F"
  window 1
  fontHeight -13
  colour #FFFFFF
text "Title"
  window 1
  y 60
  width 200
  height 18
  font "F"
  kind 0
  alwaysScroll 1
)", errors);
  ox::MemorySource source(skin.bytes);
  const std::vector<ox::SkinWindowRecords> windows = ox::ReadSkinFile(source);
  if (!errors.empty() || windows.empty()) return;
  ox::VisualOutputHost host("no plug-ins here");  // a folder that does not exist: no plug-ins
  OxVisualSnapshot loud{};
  for (int i = 0; i < OX_VIS_FRAMES; ++i) loud.waveform[0][i] = int8_t(i * 37 % 255 - 127);
  for (int k = 0; k < OX_VIS_BINS; ++k) loud.spectrum[0][k] = uint8_t(255 - k);
  // Snapshots keep coming, as while music plays: the display copy stays loud.
  std::atomic<bool> feeding{true};
  std::thread feeder([&] {
    while (feeding) host.Post(loud), Sleep(10);
  });
  Sleep(200);
  ox::TrackRecord playing{};
  std::snprintf(playing.title, sizeof playing.title, "A title much too long for its field, so that it scrolls");
  ox::block::OxTrackPlaying.WriteValue(playing);
  ox::Bitmap background, back;
  background.Create(400, 150);
  back.Create(400, 150);
  const char* names[] = {"spectrum bars", "oscilloscope (gradient)", "level meter"};
  for (int mode = 0; mode < 3; ++mode) {
    ox::SkinElements elements("", windows[0].window.Header(), windows[0].elements);
    elements.SetVisualMode("Vis", mode);
    elements.Initialise();
    elements.Paint(back.Dc(), background);
    const int frames = 2000;
    const double start = Now();
    for (int i = 0; i < frames; ++i) elements.Refresh(nullptr, back.Dc(), background);
    std::printf("visualisation area 150x40, %s: %.1f us a frame\n", names[mode], (Now() - start) * 1e6 / frames);
    if (mode == 0) {
      const double titleStart = Now();
      for (int i = 0; i < frames; ++i) elements.Tick(nullptr, back.Dc());
      std::printf("scrolling title 200x18: %.1f us a frame\n", (Now() - titleStart) * 1e6 / frames);
    }
  }
  feeding = false;
  feeder.join();
}

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: skin_bench <skins folder> <skin> <other skin>\n");
    return 2;
  }
  const std::string skins = std::string(argv[1]) + "\\";
  const std::string names[2] = {argv[2], argv[3]};
  ox::LoadedSkin loaded[2] = {ox::LoadSkinFolder(names[0], skins + names[0] + "\\"),
                              ox::LoadSkinFolder(names[1], skins + names[1] + "\\")};
  const std::vector<std::string> shown[2] = {ShownWindows(loaded[0]), ShownWindows(loaded[1])};
  if (shown[0].empty() || shown[1].empty()) {
    std::fprintf(stderr, "skin_bench: a skin without windows to show\n");
    return 1;
  }
  ox::SetNumberSetting(1, "SkinChangeOpt");
  ox::SetTextSetting(names[0].c_str(), "[SetActive]", HKEY_CURRENT_USER, ox::kSkinSettingsKey);
  std::vector<double> switches;
  {
    ox::SkinManager manager({skins, {}, nullptr, true});
    if (!Await([&] { return AllShown(shown[0]); }, "the first skin", shown[0])) return 1;
    for (int round = 0; round < 10; ++round) {
      // The old windows go, then the new ones show.
      const int from = round % 2, to = 1 - from;
      std::vector<HWND> old;
      for (const std::string& name : shown[from]) old.push_back(FindWindowA(ox::SkinWindowClassName(name).c_str(), nullptr));
      ox::SetTextSetting(names[to].c_str(), "[SetActive]", HKEY_CURRENT_USER, ox::kSkinSettingsKey);
      const double start = Now();
      ox::evt::OxNewSkin.Set();
      if (!Await([&] { return NoneLeft(old) && AllShown(shown[to]); }, "the switch", shown[to])) return 1;
      switches.push_back((Now() - start) * 1000);
    }
    // The skin thread and the first skin's windows with nothing to do, as while the player is
    // stopped and the cursor rests elsewhere.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Sleep(1000);
    FILETIME created, exited, kernel0, user0, kernel1, user1;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel0, &user0);
    const double idleStart = Now();
    Sleep(10000);
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel1, &user1);
    auto ticks = [](FILETIME f) { return (uint64_t(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 1e7; };
    const double cpu = ticks(kernel1) + ticks(user1) - ticks(kernel0) - ticks(user0);
    std::printf("skin thread and %s's %zu windows idle: %.3f %% of one core\n", names[0].c_str(), shown[0].size(),
                cpu / (Now() - idleStart) * 100);
  }
  std::sort(switches.begin(), switches.end());

  // A full repaint of the first skin's largest window, on this thread's own copy of the skin.
  ox::SkinWindow* largest = nullptr;
  int largestArea = -1;
  for (const auto& group : loaded[0].groups) {
    for (const auto& window : group->windows) {
      window->Create(nullptr);
      RECT r{};
      GetWindowRect(window->Handle(), &r);
      const int area = (r.right - r.left) * (r.bottom - r.top);
      if (area > largestArea) largest = window.get(), largestArea = area;
    }
  }
  RECT size{};
  GetWindowRect(largest->Handle(), &size);
  std::vector<double> repaints;
  for (int i = 0; i < 200; ++i) {
    const double start = Now();
    largest->Repaint();
    UpdateWindow(largest->Handle());
    repaints.push_back((Now() - start) * 1000);
  }
  std::sort(repaints.begin(), repaints.end());
  for (const auto& group : loaded[0].groups)
    for (const auto& window : group->windows) window->Destroy();
  std::printf("new skin to its windows shown (%s <-> %s): median %.1f ms, worst %.1f ms (10 switches, opening "
              "animation included: the windows are shown at its start)\n",
              names[0].c_str(), names[1].c_str(), switches[switches.size() / 2], switches.back());
  std::printf("full repaint of %s's largest window, %s %ldx%ld: median %.3f ms\n", names[0].c_str(),
              largest->Name().c_str(), size.right - size.left, size.bottom - size.top, repaints[repaints.size() / 2]);
  ox::DeleteSetting("SkinChangeOpt");
  FrameTimes();
  return 0;
}
