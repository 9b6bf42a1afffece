#include "app/KeyMapping.h"

namespace ox {
namespace {

constexpr uint32_t kModAlt = 1, kModCtrl = 2;

// Elapsed x 100 / length, or elapsed x 100 when the length is not known; 64 bits, as a record
// from elsewhere may hold any elapsed time.
uint64_t PercentPlayed(const TrackTime& time) {
  const uint64_t hundredfold = uint64_t{time.elapsedMs} * 100;
  return time.lengthMs ? hundredfold / time.lengthMs : hundredfold;
}

}  // namespace

int HotkeyAction(const KeyTable& keys, uint32_t keyCode, uint32_t modifiers) {
  if (keyCode == 0 || modifiers != (kModAlt | kModCtrl)) return -1;
  for (int i = 0; i < kKeyActions; ++i)
    if ((keys[i] & 0xFF) == keyCode) return i;
  return -1;
}

int KeyUpAction(const KeyTable& keys, uint32_t keyCode, bool shift, bool ctrl, bool alt) {
  if (keyCode == 0) return -1;
  const uint32_t held = (shift ? kKeyShift : 0) | (ctrl ? kKeyCtrl : 0) | (alt ? kKeyAlt : 0);
  for (int i = 0; i < kKeyActions; ++i) {
    const uint32_t entry = keys[i], modifiers = entry & (kKeyShift | kKeyCtrl | kKeyAlt);
    if (modifiers == (kKeyAlt | kKeyCtrl)) continue;  // a hotkey only
    if ((entry & 0xFF) == keyCode && modifiers == held) return i;
  }
  return -1;
}

uint32_t SeekForwardPercent(const TrackTime& time) {
  const uint64_t percent = PercentPlayed(time) + 5;
  return percent > 100 ? 100 : static_cast<uint32_t>(percent);
}

uint32_t SeekBackPercent(const TrackTime& time) {
  const uint64_t percent = PercentPlayed(time);
  return percent < 6 ? 1 : percent > 105 ? 100 : static_cast<uint32_t>(percent - 5);
}

uint32_t VolumeUpStep(uint32_t volume) { return volume < 96 ? volume + 5 : volume; }
uint32_t VolumeDownStep(uint32_t volume) { return volume > 4 ? volume - 5 : volume; }

}  // namespace ox
