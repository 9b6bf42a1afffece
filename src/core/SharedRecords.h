// The small records the suite's shared blocks carry (beside the track record), each exactly as
// every program of the suite lays it out. Little-endian, read and written whole. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/Text.h"

namespace ox {

#pragma pack(push, 1)

// "OxTrackTime": the playing track's times in milliseconds.
struct TrackTime {
  uint32_t lengthMs;
  uint32_t elapsedMs;
  uint32_t remainingMs;
};

// "OxRillLiveUpdate": the collection entry the player just changed, for the collection editor.
struct LiveUpdate {
  char path[260];
  uint8_t played;       // 1: a play was counted
  uint8_t unused261;
  int16_t volumeBoost;  // as in the track record; kVolumeBoostAuto: unchanged

  std::string_view Path() const { return FieldText(path); }
};

// "OxEqPositions" and the setting "OxEQSettings": the user's equaliser sliders.
struct EqPositions {
  uint8_t layout;  // 0: twenty sliders; otherwise ten
  uint8_t unused1[3];
  int32_t preamp;
  int32_t sliders[20];
};

#pragma pack(pop)

static_assert(sizeof(TrackTime) == 12, "OxTrackTime is 12 bytes");
static_assert(offsetof(TrackTime, elapsedMs) == 4 && offsetof(TrackTime, remainingMs) == 8, "OxTrackTime layout");
static_assert(sizeof(LiveUpdate) == 264, "OxRillLiveUpdate is 264 bytes");
static_assert(offsetof(LiveUpdate, played) == 260 && offsetof(LiveUpdate, volumeBoost) == 262, "OxRillLiveUpdate layout");
static_assert(sizeof(EqPositions) == 88, "equaliser positions record is 88 bytes");
static_assert(offsetof(EqPositions, preamp) == 4 && offsetof(EqPositions, sliders) == 8, "positions layout");

}  // namespace ox
