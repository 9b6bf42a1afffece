// The suite's named events and shared data blocks: the cross-process interface every program of
// the suite opens under the same names and sizes. They are static objects, created before main
// runs (ahead of every other static object of the program) and closed at exit; inside the player
// they also carry the flags between its own threads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/NamedEvent.h"
#include "base/NamedMutex.h"
#include "base/SharedDataBlock.h"
#include "core/SharedRecords.h"
#include "core/TrackRecord.h"

namespace ox {

// Named events. Manual reset; a name that already exists keeps the state another program gave it.
namespace evt {
extern NamedEvent OxClose;               // "evtOxClose": the player is to close
extern NamedEvent OxRillRunning;         // "evtOxRillRunning": a player process runs
extern NamedEvent ShowOpenMusic;         // "evtShowOpenMusic": open the file dialog
extern NamedEvent ReloadKeyMappings;     // "evtReloadKeyMappings"
extern NamedEvent OxMute;                // "evtOxMute": output muted
extern NamedEvent OxEqOn;                // "evtOxEqOn": equaliser on
extern NamedEvent OxEqPosChanged;        // "evtOxEqPosChanged": OxEqPositions has new values
extern NamedEvent OxVisHideShow;         // "evtOxVisHideShow": re-apply visual plug-in settings
extern NamedEvent OxPlay;                // "evtOxPlay": the player is to play
extern NamedEvent OxPause;               // "evtOxPause": playback paused
extern NamedEvent OxMyMusicRandom;       // "evtOxMyMusicRandom": random play when the queue is empty
extern NamedEvent OxSkip;                // "evtOxSkip": leave the current track now
extern NamedEvent OxEditorRunning;       // "evtOxEditorRunning": the collection editor runs
extern NamedEvent OxAlbumEditorRunning;  // "evtOxAlbumEditorRunning"
extern NamedEvent OxFileToAdd;           // "evtOxFileToAdd": files wait for the collection editor
extern NamedEvent OxTriggerFolderWatch;  // "evtOxTriggerFolderWatch": run the folder watch now
extern NamedEvent OxShowRill;            // "evtOxShowRill": bring the player window up
extern NamedEvent OxNewSkin;             // "evtOxNewSkin": load the chosen skin
extern NamedEvent OxMinimize;            // "evtOxMinimize": minimise the player window
extern NamedEvent OxTrayControl;         // "evtOxTrayControl": the tray control is shown
extern NamedEvent OxMouseOverTray;       // "evtOxMouseOverTray"
}  // namespace evt

// Shared data blocks. Little-endian; 32-bit values unsigned unless said otherwise.
namespace block {
extern SharedDataBlock OxVolume;           // 4: volume, 0-100
extern SharedDataBlock OxBalance;          // 4: balance, 0-100, 50 centre
extern SharedDataBlock OxSelectorSwitch;   // 4: source selector
extern SharedDataBlock OxEqPositions;      // EqPositions
extern SharedDataBlock OxSkipToPos;        // 4: 0 none; n in 1..101 seeks to n - 1 percent
extern SharedDataBlock OxTrackShouldPlay;  // TrackRecord: track asked for next; empty path: none
extern SharedDataBlock OxTrackPlaying;     // TrackRecord: track now playing; empty path: none
extern SharedDataBlock OxTrackTime;        // TrackTime
extern SharedDataBlock OxMPLastSetTSP;     // 4: tick count of the last play request
extern SharedDataBlock OxMPVolBoost;       // 4: pending level-correction request; 0 none
extern SharedDataBlock OxPlayListChanged;  // 4: change counter
extern SharedDataBlock OxRillLiveUpdate;   // LiveUpdate: collection entry that changed
extern SharedDataBlock OxCurrentBitRate;   // 4: bit rate of the playing track
}  // namespace block

// Tells the suite's other programs the queue or history changed: "OxPlayListChanged" plus one.
void BumpChangeCounter();

// The process-wide locks, each taken only around a short copy inside one function.
namespace lock {
extern NamedMutex ButtonSets;          // all button-set threads
}  // namespace lock

// The event a skin names for a button, created at first use and kept for the life of the process.
// Null for a name that is no event name: empty, or beginning with "<" or "[". A name of the table
// above gives an object on the same kernel event. Safe from any thread.
NamedEvent* SkinEvent(std::string_view name);

// The user events (skin event names beginning with "U") opened so far, with whether each is set.
std::vector<std::pair<std::string, bool>> UserEventStates();

}  // namespace ox
