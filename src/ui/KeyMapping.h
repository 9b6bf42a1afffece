// The player's keys, as pure functions: which of the 17 actions of the key table a key message
// asks for (the player acts by it; the options program shows by it which entry a key reaches). The options program stores the table as 17 values "Key0".."Key16": bits 0..7 the
// virtual-key code (0: no key), 0x100 Shift, 0x200 Ctrl, 0x400 Alt, which also makes the key a
// system-wide hotkey (always Ctrl+Alt).
#pragma once

#include <array>
#include <cstdint>

#include "ui/PlayerActions.h"

namespace ox {

constexpr uint32_t kKeyShift = 0x100, kKeyCtrl = 0x200, kKeyAlt = 0x400;
using KeyTable = std::array<uint32_t, kKeyActions>;

// Whether an entry is registered as a system-wide hotkey.
inline bool IsHotkey(uint32_t entry) { return (entry & kKeyAlt) != 0; }

// A hotkey message (its key code, and its modifiers as MOD_ flags: 1 Alt, 2 Ctrl, 4 Shift) acts
// only with exactly Ctrl+Alt: the first entry of that key code. -1: none.
int HotkeyAction(const KeyTable& keys, uint32_t keyCode, uint32_t modifiers);

// A key released in a player window: the first entry of that key code whose Shift, Ctrl and Alt
// bits equal the keys held, skipping entries of Alt and Ctrl without Shift (hotkeys only). -1: none.
int KeyUpAction(const KeyTable& keys, uint32_t keyCode, bool shift, bool ctrl, bool alt);

}  // namespace ox
