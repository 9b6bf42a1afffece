#include "core/Locations.h"

#include <windows.h>

#include <mutex>
#include <vector>

#include "base/Path.h"
#include "base/Wide.h"
#include "core/InstallFolderRule.h"
#include "core/Settings.h"

namespace ox {

namespace {

// Asked for by static objects before main runs, so held in a function-local static rather than
// in globals whose construction order against theirs is unknown.
struct InstallFolderCache {
  std::mutex lock;
  std::string folder;  // fixed by the first non-empty answer
};

InstallFolderCache& Cache() {
  static InstallFolderCache cache;
  return cache;
}

std::string ExecutablePath() {
  // Bigger than MAX_PATH: a cut path would name the wrong folder. A path that long still fails
  // cleanly where it is used.
  // Asked in UTF-16: a folder named outside the system's code page still comes back whole.
  std::vector<wchar_t> path(32768);
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (n == 0 || n >= path.size()) return {};
  CharUpperBuffW(path.data(), n);
  return FromWide(std::wstring_view(path.data(), n));
}

std::string WindowsUserName() {
  wchar_t name[260];
  DWORD size = 260;
  return GetUserNameW(name, &size) ? FromWide(name) : std::string("defuser");
}

std::string UserFile(const char* suffix) { return UserBasePath(true) + suffix; }

}  // namespace

std::string InstallFolder(bool fromRegistry) {
  InstallFolderCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.lock);
  if (!cache.folder.empty()) return cache.folder;
  if (fromRegistry) {
    // Named in full: a program's first request may come before it sets the default root.
    cache.folder =
        GetTextSetting(setting::InstalledTo.name, setting::InstalledTo.size, HKEY_CURRENT_USER, kSettingsKey);
    EnsureTrailingBackslash(cache.folder);
  } else {
    cache.folder = InstallFolderFromExePath(ExecutablePath());
  }
  return cache.folder;
}

std::string UserBasePath(bool fromRegistry) { return InstallFolder(fromRegistry) + WindowsUserName(); }

std::string DefaultMusicCollectionFile() { return UserFile(".mcc"); }
std::string SelectivePlayListFile() { return UserFile(".ovc"); }
std::string HistoryFile() { return UserFile(".Previously Played"); }
std::string QueueFile() { return UserFile(".Enqued"); }
std::string PriorityQueueFile() { return UserFile(".PriorityEnqued"); }
std::string AddToEditorFile() { return UserFile(".AddToEditor"); }

std::string ActiveMusicCollection() {
  const Setting& s = setting::ActiveMusicCollection;
  std::string active = GetTextSetting(s.name, s.size, HKEY_CURRENT_USER, kSettingsKey);
  return active.empty() ? DefaultMusicCollectionFile() : active;
}

std::string CodecFolder() { return InstallFolder(false) + "Multiplayer\\Input\\"; }
std::string SoundOutputFolder() { return InstallFolder(false) + "SoundOutputs\\"; }
std::string VisualOutputFolder() { return InstallFolder(false) + "Visual Outputs\\"; }
std::string SkinsFolder() { return InstallFolder(false) + "Skins\\"; }

}  // namespace ox
