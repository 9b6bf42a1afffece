#include "ui/KeyMapping.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

constexpr uint32_t kUp = 0x26, kRight = 0x27;
constexpr uint32_t kCtrlAlt = 3;  // MOD_ALT | MOD_CONTROL

TEST(KeyMapping, HotkeysNeedExactlyCtrlAlt_LocalKeysTheHeldModifiers_TheLowerIndexWins) {
  KeyTable keys{};
  keys[3] = 0x427;  // Alt + Right: a hotkey, registered as Ctrl+Alt whatever its Ctrl bit
  keys[8] = 0x226;  // Ctrl + Up: a local key only
  keys[9] = 0x626;  // Alt + Ctrl + Up: a hotkey only
  keys[12] = 0x226;  // the same as 8: never reached
  EXPECT_TRUE(IsHotkey(keys[3]));
  EXPECT_FALSE(IsHotkey(keys[8]));
  EXPECT_EQ(HotkeyAction(keys, kRight, kCtrlAlt), 3);
  EXPECT_EQ(HotkeyAction(keys, kRight, kCtrlAlt | 4), -1);  // Shift too
  EXPECT_EQ(HotkeyAction(keys, kRight, 1), -1);
  EXPECT_EQ(HotkeyAction(keys, kUp, kCtrlAlt), 8);  // any entry of the key code: the first
  EXPECT_EQ(HotkeyAction(keys, 0, kCtrlAlt), -1);

  EXPECT_EQ(KeyUpAction(keys, kUp, false, true, false), 8);
  EXPECT_EQ(KeyUpAction(keys, kUp, false, false, false), -1);
  EXPECT_EQ(KeyUpAction(keys, kUp, true, true, false), -1);
  EXPECT_EQ(KeyUpAction(keys, kUp, false, true, true), -1);  // 0x626 acts as a hotkey only
  EXPECT_EQ(KeyUpAction(keys, kRight, false, false, true), 3);
  keys[9] = 0x726;  // with Shift as well it is a local key too
  EXPECT_EQ(KeyUpAction(keys, kUp, true, true, true), 9);
  EXPECT_EQ(KeyUpAction(keys, 0, false, false, false), -1);  // unused entries hold key code 0
}

}  // namespace
}  // namespace ox
