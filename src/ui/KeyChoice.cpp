#include "ui/KeyChoice.h"

#include <cstdio>

namespace ox {
namespace {

constexpr uint32_t kModifiers = kKeyShift | kKeyCtrl | kKeyAlt;
constexpr uint32_t kModAlt = 1, kModCtrl = 2;  // as WM_HOTKEY reports them

struct Named {
  uint32_t code;
  const char* name;
};
constexpr Named kNames[] = {
    {0x08, "Backspace"},
    {0x09, "Tab"},
    {0x0C, "Clear"},
    {0x0D, "Enter"},
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x1B, "Esc"},
    {0x20, "Space"},
    {0x21, "Page Up"},
    {0x22, "Page Down"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left"},
    {0x26, "Up"},
    {0x27, "Right"},
    {0x28, "Down"},
    {0x2C, "Print Screen"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x5D, "Menu"},
    {0x6A, "Num *"},
    {0x6B, "Num +"},
    {0x6C, "Num Enter"},
    {0x6D, "Num -"},
    {0x6E, "Num ."},
    {0x6F, "Num /"},
    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},
    {0xA6, "Browser Back"},
    {0xA7, "Browser Forward"},
    {0xAD, "Mute"},
    {0xAE, "Volume Down"},
    {0xAF, "Volume Up"},
    {0xB0, "Next Track"},
    {0xB1, "Previous Track"},
    {0xB2, "Stop"},
    {0xB3, "Play/Pause"},
    {0xBA, ";"},
    {0xBB, "="},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
};

bool IsModifierKey(uint32_t code) {
  return code == 0x10 || code == 0x11 || code == 0x12 || (code >= 0xA0 && code <= 0xA5) || code == 0x5B || code == 0x5C;
}

// Keys Windows acts on before a program sees them. Hotkeys are always Ctrl+Alt.
const char* KeptHotkey(uint32_t code) {
  if (code == 0x2E) return "Ctrl+Alt+Delete belongs to Windows";
  if (code == 0x7B) return "F12 is kept for debuggers and cannot be a hotkey";
  return nullptr;
}

const char* KeptKey(uint32_t code, uint32_t modifiers) {
  struct Kept {
    uint32_t code, modifiers;
    const char* why;
  };
  static constexpr Kept kKept[] = {
      {0x73, kKeyAlt, "Alt+F4 closes the window"},
      {0x09, kKeyAlt, "Alt+Tab switches programs"},
      {0x09, kKeyAlt | kKeyShift, "Alt+Shift+Tab switches programs"},
      {0x1B, kKeyAlt, "Alt+Esc switches programs"},
      {0x1B, kKeyCtrl, "Ctrl+Esc opens the Start menu"},
      {0x1B, kKeyCtrl | kKeyShift, "Ctrl+Shift+Esc opens the Task Manager"},
      {0x20, kKeyAlt, "Alt+Space opens the window menu"},
      {0x79, 0, "F10 goes to the window menu"},
  };
  for (const Kept& kept : kKept)
    if (kept.code == code && kept.modifiers == modifiers) return kept.why;
  return nullptr;
}

}  // namespace

std::string VirtualKeyName(uint32_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return std::string(1, static_cast<char>(code));
  if (code >= 0x60 && code <= 0x69) return "Num " + std::to_string(code - 0x60);
  if (code >= 0x70 && code <= 0x87) return "F" + std::to_string(code - 0x6F);
  for (const Named& named : kNames)
    if (named.code == code) return named.name;
  char text[16];
  std::snprintf(text, sizeof text, "Key 0x%02X", code & 0xFF);
  return text;
}

std::string KeyEntryName(uint32_t entry) {
  const uint32_t code = entry & 0xFF;
  if (code == 0) return {};
  std::string name;
  if (entry & kKeyCtrl) name += "Ctrl+";
  if (entry & kKeyAlt) name += "Alt+";
  if (entry & kKeyShift) name += "Shift+";
  return name + VirtualKeyName(code);
}

std::string HotkeyName(uint32_t entry) {
  if (!IsHotkey(entry) || (entry & 0xFF) == 0) return {};
  return "Ctrl+Alt+" + VirtualKeyName(entry & 0xFF);
}

Capture CaptureKey(uint32_t code, bool shift, bool ctrl, bool alt) {
  code &= 0xFF;
  if (code == 0 || IsModifierKey(code)) return {CaptureStep::Wait, 0};
  if (code == 0x09 && !ctrl && !alt) return {CaptureStep::PassOn, 0};
  return {CaptureStep::Take, code | (shift ? kKeyShift : 0) | (ctrl ? kKeyCtrl : 0) | (alt ? kKeyAlt : 0)};
}

std::vector<KeyConflict> KeyConflicts(const KeyTable& keys) {
  std::vector<KeyConflict> conflicts;
  for (int i = 0; i < kKeyActions; ++i) {
    const uint32_t entry = keys[i], code = entry & 0xFF, modifiers = entry & kModifiers;
    if (code == 0) continue;
    if (IsHotkey(entry)) {
      if (const char* why = KeptHotkey(code)) {
        conflicts.push_back({i, -1, true, why});
      } else if (const int by = HotkeyAction(keys, code, kModAlt | kModCtrl); by != i) {
        conflicts.push_back({i, by, true, nullptr});
      }
    }
    if (modifiers == (kKeyAlt | kKeyCtrl)) continue;  // a hotkey only
    if (const char* why = KeptKey(code, modifiers)) {
      conflicts.push_back({i, -1, false, why});
    } else if (const int by = KeyUpAction(keys, code, entry & kKeyShift, entry & kKeyCtrl, entry & kKeyAlt); by != i) {
      conflicts.push_back({i, by, false, nullptr});
    }
  }
  return conflicts;
}

}  // namespace ox
