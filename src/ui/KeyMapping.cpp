#include "ui/KeyMapping.h"

namespace ox {
namespace {

constexpr uint32_t kModAlt = 1, kModCtrl = 2;

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

}  // namespace ox
