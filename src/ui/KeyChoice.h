// Choosing keys for the key table (ui/KeyMapping.h): the name of an entry as users write it
// ("Ctrl+Alt+F5", "Shift+Num 0"), the entry a key pressed in a capture field gives, and the entries
// that would not act as chosen because another entry or Windows takes their key. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/KeyMapping.h"

namespace ox {

// A virtual-key code's name: "F5", "Num 0", "Page Up", "A"; "Key 0xE5" for a code without one.
std::string VirtualKeyName(uint32_t keyCode);
// An entry's keys with its modifiers, Ctrl, Alt, Shift first; "" for an entry without a key.
std::string KeyEntryName(uint32_t entry);
// What a system-wide hotkey entry listens to: Ctrl+Alt and its key, whatever its Ctrl and Shift bits.
std::string HotkeyName(uint32_t entry);

enum class CaptureStep : uint8_t {
  Wait,    // a modifier alone: the field keeps waiting for the key
  PassOn,  // Tab and Shift+Tab move the focus on, as in any dialog
  Take,    // the entry is chosen
};
struct Capture {
  CaptureStep step;
  uint32_t entry;  // with Take
};
// A key pressed in the capture field, with the modifiers held then.
Capture CaptureKey(uint32_t keyCode, bool shift, bool ctrl, bool alt);

// An entry whose key does not reach it: taken by an entry before it (`by` its index), or kept by
// Windows (`by` -1, `why` says how).
struct KeyConflict {
  int action;
  int by;
  bool hotkey;      // as the system-wide hotkey; else as the key in a player window
  const char* why;  // for a key Windows keeps
};
std::vector<KeyConflict> KeyConflicts(const KeyTable& keys);

}  // namespace ox
