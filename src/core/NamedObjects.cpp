#include "core/NamedObjects.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Constructed before every static object of default priority (the hosts and tables that use these
// objects from their constructors) and so destroyed after them.
#define OX_FIRST __attribute__((init_priority(1000)))

namespace ox {

namespace evt {
NamedEvent OxClose OX_FIRST("evtOxClose");
NamedEvent OxRillRunning OX_FIRST("evtOxRillRunning");
NamedEvent ShowOpenMusic OX_FIRST("evtShowOpenMusic");
NamedEvent ReloadKeyMappings OX_FIRST("evtReloadKeyMappings");
NamedEvent OxMute OX_FIRST("evtOxMute");
NamedEvent OxEqOn OX_FIRST("evtOxEqOn");
NamedEvent OxEqPosChanged OX_FIRST("evtOxEqPosChanged");
NamedEvent OxVisHideShow OX_FIRST("evtOxVisHideShow");
NamedEvent OxPlay OX_FIRST("evtOxPlay");
NamedEvent OxPause OX_FIRST("evtOxPause");
NamedEvent OxMyMusicRandom OX_FIRST("evtOxMyMusicRandom");
NamedEvent OxSkip OX_FIRST("evtOxSkip");
NamedEvent OxEditorRunning OX_FIRST("evtOxEditorRunning");
NamedEvent OxAlbumEditorRunning OX_FIRST("evtOxAlbumEditorRunning");
NamedEvent OxFileToAdd OX_FIRST("evtOxFileToAdd");
NamedEvent OxTriggerFolderWatch OX_FIRST("evtOxTriggerFolderWatch");
NamedEvent OxShowRill OX_FIRST("evtOxShowRill");
NamedEvent OxNewSkin OX_FIRST("evtOxNewSkin");
NamedEvent OxMinimize OX_FIRST("evtOxMinimize");
NamedEvent OxTrayControl OX_FIRST("evtOxTrayControl");
NamedEvent OxMouseOverTray OX_FIRST("evtOxMouseOverTray");
}  // namespace evt

namespace block {
SharedDataBlock OxVolume OX_FIRST("OxVolume", 4);
SharedDataBlock OxBalance OX_FIRST("OxBalance", 4);
SharedDataBlock OxSelectorSwitch OX_FIRST("OxSelectorSwitch", 4);
SharedDataBlock OxEqPositions OX_FIRST("OxEqPositions", sizeof(EqPositions));
SharedDataBlock OxSkipToPos OX_FIRST("OxSkipToPos", 4);
SharedDataBlock OxTrackShouldPlay OX_FIRST("OxTrackShouldPlay", sizeof(TrackRecord));
SharedDataBlock OxTrackPlaying OX_FIRST("OxTrackPlaying", sizeof(TrackRecord));
SharedDataBlock OxTrackTime OX_FIRST("OxTrackTime", sizeof(TrackTime));
SharedDataBlock OxMPLastSetTSP OX_FIRST("OxMPLastSetTSP", 4);
SharedDataBlock OxMPVolBoost OX_FIRST("OxMPVolBoost", 4);
SharedDataBlock OxPlayListChanged OX_FIRST("OxPlayListChanged", 4);
SharedDataBlock OxRillLiveUpdate OX_FIRST("OxRillLiveUpdate", sizeof(LiveUpdate));
SharedDataBlock OxCurrentBitRate OX_FIRST("OxCurrentBitRate", 4);
}  // namespace block

namespace lock {
NamedMutex ButtonSets OX_FIRST(nullptr);
}  // namespace lock

namespace {

struct SkinEventList {
  std::mutex lock;
  std::vector<std::pair<std::string, std::unique_ptr<NamedEvent>>> events;
};

SkinEventList& SkinEvents() {
  static SkinEventList list;
  return list;
}

}  // namespace

void BumpChangeCounter() {
  uint32_t count = 0;
  block::OxPlayListChanged.ReadValue(count);
  ++count;
  block::OxPlayListChanged.WriteValue(count);
}

NamedEvent* SkinEvent(std::string_view name) {
  if (name.empty() || name[0] == '<' || name[0] == '[') return nullptr;
  SkinEventList& list = SkinEvents();
  std::lock_guard<std::mutex> hold(list.lock);
  for (auto& [known, event] : list.events)
    if (known == name) return event.get();
  std::string key(name);
  auto event = std::make_unique<NamedEvent>(key.c_str());
  NamedEvent* result = event.get();
  list.events.emplace_back(std::move(key), std::move(event));
  return result;
}

std::vector<std::pair<std::string, bool>> UserEventStates() {
  SkinEventList& list = SkinEvents();
  std::lock_guard<std::mutex> hold(list.lock);
  std::vector<std::pair<std::string, bool>> states;
  for (auto& [name, event] : list.events)
    if (name[0] == 'U') states.emplace_back(name, event->IsSet());
  return states;
}

}  // namespace ox
