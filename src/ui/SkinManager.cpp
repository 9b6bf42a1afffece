#include "ui/SkinManager.h"

#include <objbase.h>

#include <algorithm>

#include "base/FileFinder.h"
#include "base/FileSource.h"
#include "base/NoThrow.h"
#include "base/Random.h"
#include "base/System.h"
#include "base/Text.h"
#include "base/Ticks.h"
#include "base/Wide.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "ui/SkinLimits.h"

namespace ox {

std::recursive_mutex& SkinLock() {
  static std::recursive_mutex lock;
  return lock;
}

LoadedSkin LoadSkinFolder(const std::string& name, const std::string& folder) {
  LoadedSkin skin{name, folder, {}};
  FileFinder files(folder, "*.skin");
  for (size_t read = 0; read < kMaxSkinFiles && files.Next();) {
    if (files.IsDirectory()) continue;
    ++read;
    DataFile file(files.FullPath(), FileAccess::Read, FileCreation::OpenExisting);
    if (!file.IsOpen()) continue;
    FileSource source(file);
    std::vector<SkinWindowRecords> windows = ReadSkinFile(source);
    if (windows.empty()) continue;
    auto group = std::make_unique<SkinGroup>();
    group->bounds = GroupBounds(windows);
    for (SkinWindowRecords& records : windows)
      group->windows.push_back(std::make_unique<SkinWindow>(folder, std::move(records), group.get()));
    skin.groups.push_back(std::move(group));
  }
  return skin;
}

SkinManager::SkinManager(SkinManagerOptions options) : options_(std::move(options)) {
  FileFinder entries(options_.skinsFolder, "*.*");
  while (entries.Next()) {
    if (!entries.IsDirectory()) continue;
    names_.emplace_back(entries.Name());
    folders_.push_back(entries.FullPath() + "\\");
  }
  lastChange_ = Now();
  evt::OxMouseOverTray.Reset();  // from here on it changes only when the mouse does
  if (ReadNumber(setting::SkinChangeOpt) != 1) ChooseRandomSkin();
  evt::OxNewSkin.Set();
  if (options_.startThread) {
    thread_ = std::make_unique<WorkerThread>(ThreadMain, reinterpret_cast<uintptr_t>(this), true);
    thread_->SetPriority(THREAD_PRIORITY_ABOVE_NORMAL);
    thread_->Resume();
  }
}

SkinManager::~SkinManager() {
  thread_.reset();  // the thread unloads the skin it made its windows for
  Unload();         // without a thread: here, on the thread that made them
  taskbar_.Destroy();
}

uint32_t SkinManager::ThreadMain(WorkerThread& self) {
  auto& manager = *reinterpret_cast<SkinManager*>(self.Argument());
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));  // for the picture loader
  // A skin check about every 100 ms and an animation tick every 25 ms. While no window has
  // anything moving at that pace the thread waits for the next check instead, waking at once for
  // input and messages, and the check also does the refresh of the windows whose timers rest: the
  // windows look the same, and an idle player does not wake 40 times a second. The one-shot
  // requests (a new skin, raise the player, the open dialog, the key table) are set by others and
  // reset here: while the thread waits on them it hears them at once, and a check after a quiet
  // wait need not ask each of them again.
  std::vector<HANDLE> wake{self.StopHandle()};
  for (const NamedEvent* request : manager.Requests())
    if (request->Handle()) wake.push_back(request->Handle());
  uint32_t lastCheck = Ticks() - 100;
  bool heard = false, askRequests = true;
  // Nothing the skin does may end the thread: what runs out of memory is reported once and the
  // thread goes on (a skin that cannot load is handled inside the check).
  bool reported = false;
  auto guarded = [&](auto&& work) {
    if (!NoThrow(false, [&] { work(); return true; }) && !reported) {
      reported = true;
      manager.Report("Orlavox: the skin thread ran out of memory; it goes on");
    }
  };
  while (!self.StopRequested()) {
    if (heard || TicksSince(lastCheck, Ticks()) >= 100) {
      lastCheck = Ticks();
      guarded([&] {
        manager.Check(askRequests);
        std::lock_guard<std::recursive_mutex> hold(SkinLock());
        for (auto& group : manager.skin_.groups)
          for (auto& window : group->windows) window->IdleTick();
      });
    }
    DWORD woke = WAIT_TIMEOUT;
    if (!manager.busy_) {
      const uint32_t since = TicksSince(lastCheck, Ticks());
      woke = MsgWaitForMultipleObjects(static_cast<DWORD>(wake.size()), wake.data(), FALSE,
                                       since < 100 ? 100 - since : 1, QS_ALLINPUT);
    }
    if (manager.busy_ || woke == WAIT_FAILED) Sleep(25);
    heard = woke > WAIT_OBJECT_0 && woke < WAIT_OBJECT_0 + wake.size();
    askRequests = heard || manager.busy_ || woke == WAIT_FAILED;
    guarded([&] { manager.AnimationTick(); });
  }
  manager.Unload();
  manager.taskbar_.Destroy();
  if (com) CoUninitialize();
  return 0;
}

uint32_t SkinManager::Now() const { return options_.clock ? options_.clock() : Ticks(); }

namespace {

std::string ActiveSkinName() {
  return ReadText(setting::ActiveSkin);
}

}  // namespace

void SkinManager::ChooseRandomSkin() {
  std::vector<std::string> candidates;
  for (const std::string& name : names_) {
    if (!ReadNumber(setting::SkinExcluded, {name})) candidates.push_back(name);
  }
  const std::string pick = PickRandomSkin(candidates, ActiveSkinName(), Random);
  if (!pick.empty()) WriteText(setting::ActiveSkin, pick);
  evt::OxNewSkin.Set();
}

std::vector<const NamedEvent*> SkinManager::Requests() const {
  std::vector<const NamedEvent*> requests{&evt::OxNewSkin, &evt::OxShowRill};
  if (options_.hooks.showOpenMusic) requests.push_back(&evt::ShowOpenMusic);
  if (options_.hooks.reloadKeyMappings) requests.push_back(&evt::ReloadKeyMappings);
  return requests;
}

void SkinManager::SkinCheck() { Check(true); }

void SkinManager::Check(bool askRequests) {
  taskbar_.Create();
  ++checks_;
  // The settings are read only when the time has come to look at them.
  if (checks_ % 300 == 0 && TimeForRandomSkin(checks_, ReadNumber(setting::SkinChangeOpt),
                                              ReadNumber(setting::SkinRandomLen), Now() - lastChange_)) {
    ChooseRandomSkin();
    askRequests = true;
  }
  if (askRequests && evt::OxNewSkin.IsSet()) {
    lastChange_ = Now();
    evt::OxNewSkin.Reset();
    LoadActiveSkin();
  }
  UpdateWindows();
  if (askRequests && evt::OxShowRill.IsSet()) ShowPlayer();
  if (options_.hooks.takeRefresh && options_.hooks.takeRefresh()) Refresh();
  if (askRequests && options_.hooks.showOpenMusic && evt::ShowOpenMusic.IsSet()) {
    options_.hooks.showOpenMusic(GetForegroundWindow());
    evt::ShowOpenMusic.Reset();
  }
  if (askRequests && options_.hooks.reloadKeyMappings && evt::ReloadKeyMappings.IsSet()) {
    options_.hooks.reloadKeyMappings(taskbar_.Handle());
    evt::ReloadKeyMappings.Reset();
  }
}

void SkinManager::LoadActiveSkin() {
  const std::string active = ActiveSkinName();
  if (!skin_.folder.empty() && EqualNoCase(active, skin_.name)) return;
  failed_.clear();
  size_t chosen = 0;
  while (chosen < names_.size() && !EqualNoCase(names_[chosen], active)) ++chosen;
  if (chosen == names_.size()) chosen = 0;  // no such skin: the first one
  if (chosen >= names_.size() || Switch(chosen)) return;
  const bool keep = !skin_.folder.empty();
  Report("Orlavox: the skin \"" + names_[chosen] + "\" cannot be loaded; " +
         (keep ? "\"" + skin_.name + "\" stays" : "another skin is used"));
  if (!keep) FallBack();
}

bool SkinManager::Switch(size_t index) {
  LoadedSkin skin;
  const bool read = NoThrow(false, [&] {
    skin = LoadSkinFolder(names_[index], folders_[index]);
    return true;
  });
  if (!read || skin.groups.empty()) {
    failed_.push_back(names_[index]);
    return false;
  }
  if (!skin_.folder.empty()) previous_ = skin_.name;
  Unload();
  std::lock_guard<std::recursive_mutex> hold(SkinLock());
  skin_ = std::move(skin);
  return true;
}

void SkinManager::FallBack() {
  std::vector<size_t> order;
  for (const std::string& first : {previous_, std::string("Default")}) {
    for (size_t i = 0; i < names_.size(); ++i)
      if (EqualNoCase(names_[i], first)) order.push_back(i);
  }
  for (size_t i = 0; i < names_.size(); ++i) order.push_back(i);
  for (size_t i : order) {
    const bool failed =
        std::any_of(failed_.begin(), failed_.end(), [&](const std::string& f) { return EqualNoCase(f, names_[i]); });
    if (!failed && Switch(i)) return;
  }
}

void SkinManager::Report(const std::string& line) const {
  if (options_.report) options_.report(line.c_str());
  else OutputDebugStringW(Wide(line + "\n").c_str());
}

void SkinManager::UpdateWindows() {
  std::lock_guard<std::recursive_mutex> hold(SkinLock());
  // A skin whose windows cannot be made (out of memory) goes, once, for the one before it.
  while (!NoThrow(false, [&] {
    UpdateWindowsOnce();
    return true;
  })) {
    const std::string failed = skin_.name;
    failed_.push_back(failed);
    Unload();
    Report("Orlavox: the skin \"" + failed + "\" cannot make its windows; another skin is used");
    FallBack();
    if (skin_.folder.empty()) return;
  }
}

void SkinManager::UpdateWindowsOnce() {
  HWND underCursor = nullptr;  // asked only when a tray-control window is there to be under it
  bool overTray = false;
  for (auto& group : skin_.groups) {
    const SkinWindow* first = group->First();
    for (auto& window : group->windows) {
      const bool holds =
          window->ConditionHolds() && (window.get() == first || (first->IsCreated() && first->IsVisible()));
      if (!window->IsCreated()) {
        if (holds) window->Create(taskbar_.Handle());
      } else if (window->ClosingFinished()) {
        window->Destroy();
      } else if (!holds) {
        window->StartClosing();
      }
      if (window->IsCreated() && window->ShowConditionText() == "evtOxTrayControl") {
        POINT cursor;
        if (!underCursor && GetCursorPos(&cursor)) underCursor = WindowFromPoint(cursor);
        if (underCursor && (underCursor == window->Handle() || GetParent(underCursor) == window->Handle()))
          overTray = true;
      }
    }
  }
  if (overTray != mouseOverTray_) {  // told on a change: the event is read far more often than it moves
    if (overTray) evt::OxMouseOverTray.Set();
    else evt::OxMouseOverTray.Reset();
    mouseOverTray_ = overTray;
  }
}

void SkinManager::ShowPlayer() {
  evt::OxShowRill.Reset();
  if (HWND taskbar = taskbar_.Handle()) {
    ShowWindow(taskbar, SW_SHOW);
    ShowWindow(taskbar, SW_RESTORE);
  }
  std::lock_guard<std::recursive_mutex> hold(SkinLock());
  for (auto& group : skin_.groups) {
    for (auto& window : group->windows) {
      if (!window->IsMainWindow() || !window->IsCreated()) continue;
      ShowWindow(window->Handle(), SW_RESTORE);
      SetForegroundWindow(window->Handle());
      SetFocus(window->Handle());
    }
  }
}

void SkinManager::Refresh() {
  std::lock_guard<std::recursive_mutex> hold(SkinLock());
  for (auto& group : skin_.groups) {
    for (auto& window : group->windows) window->Repaint();
  }
}

void SkinManager::AnimationTick() {
  {
    std::lock_guard<std::recursive_mutex> hold(SkinLock());
    for (auto& group : skin_.groups) {
      for (auto& window : group->windows) window->AnimationTick();
    }
  }
  PumpMessages();
  std::lock_guard<std::recursive_mutex> hold(SkinLock());
  bool busy = false;
  for (auto& group : skin_.groups) {
    for (auto& window : group->windows) busy = busy || window->Busy();
  }
  busy_ = busy;
}

void SkinManager::Unload() {
  std::lock_guard<std::recursive_mutex> hold(SkinLock());
  for (auto& group : skin_.groups) {
    for (auto window = group->windows.rbegin(); window != group->windows.rend(); ++window) (*window)->Destroy();
  }
  skin_ = {};
}

std::string SkinManager::LoadedSkinName() const {
  std::lock_guard<std::recursive_mutex> hold(SkinLock());
  return skin_.name;
}

std::vector<HWND> SkinManager::CreatedWindows() const {
  std::lock_guard<std::recursive_mutex> hold(SkinLock());
  std::vector<HWND> windows;
  for (const auto& group : skin_.groups) {
    for (const auto& window : group->windows) {
      if (window->IsCreated()) windows.push_back(window->Handle());
    }
  }
  return windows;
}

}  // namespace ox
