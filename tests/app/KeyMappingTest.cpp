#include "app/KeyMapping.h"

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

TEST(KeyMapping, SeekAndVolumeSteps) {
  const struct {
    uint32_t length, elapsed, forward, back;
  } cases[] = {
      {100000, 3000, 8, 1},     {100000, 6000, 11, 1},   {100000, 7000, 12, 2},
      {100000, 97000, 100, 92}, {0, 0, 5, 1},            {0, 2, 100, 100},  // no length: elapsed x 100
      {0, 4000000000u, 100, 100}, {1000, 1000, 100, 95},
  };
  for (const auto& c : cases) {
    const TrackTime time{c.length, c.elapsed, 0};
    EXPECT_EQ(SeekForwardPercent(time), c.forward) << c.length << " " << c.elapsed;
    EXPECT_EQ(SeekBackPercent(time), c.back) << c.length << " " << c.elapsed;
  }
  EXPECT_EQ(VolumeUpStep(95), 100u);
  EXPECT_EQ(VolumeUpStep(96), 96u);
  EXPECT_EQ(VolumeDownStep(5), 0u);
  EXPECT_EQ(VolumeDownStep(4), 4u);
}

}  // namespace
}  // namespace ox
