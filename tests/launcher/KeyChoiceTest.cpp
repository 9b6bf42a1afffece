#include "ui/KeyChoice.h"

#include <gtest/gtest.h>

namespace ox {
namespace {

TEST(KeyChoice, EntriesAreNamedAsUsersWriteThem) {
  const struct {
    uint32_t entry;
    const char* name;
    const char* hotkey;
  } cases[] = {
      {0x674, "Ctrl+Alt+F5", "Ctrl+Alt+F5"},
      {0x160, "Shift+Num 0", ""},
      {0x427, "Alt+Right", "Ctrl+Alt+Right"},  // a hotkey is always Ctrl+Alt
      {0x221, "Ctrl+Page Up", ""},
      {0x7BE, "Ctrl+Alt+Shift+.", "Ctrl+Alt+."},
      {0x041, "A", ""},
      {0x087, "F24", ""},
      {0x0E5, "Key 0xE5", ""},
      {0x600, "", ""},  // no key code: no key
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyEntryName(c.entry), c.name) << std::hex << c.entry;
    EXPECT_EQ(HotkeyName(c.entry), c.hotkey) << std::hex << c.entry;
  }
}

TEST(KeyChoice, CaptureTakesAKeyWithItsModifiers_WaitsOnModifiers_LeavesTabToTheDialog) {
  const struct {
    uint32_t code;
    bool shift, ctrl, alt;
    CaptureStep step;
    uint32_t entry;
  } cases[] = {
      {0x74, false, true, true, CaptureStep::Take, 0x674}, {0x60, true, false, false, CaptureStep::Take, 0x160},
      {0x11, false, true, false, CaptureStep::Wait, 0},    {0xA5, false, false, true, CaptureStep::Wait, 0},
      {0x09, true, false, false, CaptureStep::PassOn, 0},  {0x09, false, true, false, CaptureStep::Take, 0x209},
  };
  for (const auto& c : cases) {
    const Capture got = CaptureKey(c.code, c.shift, c.ctrl, c.alt);
    EXPECT_EQ(got.step, c.step) << std::hex << c.code;
    EXPECT_EQ(got.entry, c.entry) << std::hex << c.code;
  }
}

TEST(KeyChoice, ConflictsAreTheEntriesTheirKeyDoesNotReach) {
  KeyTable keys{};
  keys[0] = 0x226;   // Ctrl+Up
  keys[3] = 0x427;   // hotkey Ctrl+Alt+Right, and Alt+Right in a window
  keys[5] = 0x226;   // the same as 0: never reached
  keys[8] = 0x627;   // another hotkey of Right: the first of the key code takes it
  keys[9] = 0x426;   // hotkey of Up: entry 0 has the key code Up, and hotkeys go by key code
  keys[10] = 0x42E;  // Ctrl+Alt+Delete
  keys[12] = 0x473;  // Alt+F4 closes the window; as a hotkey it is Ctrl+Alt+F4
  const std::vector<KeyConflict> got = KeyConflicts(keys);
  const struct {
    int action, by;
    bool hotkey;
  } want[] = {{5, 0, false}, {8, 3, true}, {9, 0, true}, {10, -1, true}, {12, -1, false}};
  ASSERT_EQ(got.size(), std::size(want));
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].action, want[i].action) << i;
    EXPECT_EQ(got[i].by, want[i].by) << i;
    EXPECT_EQ(got[i].hotkey, want[i].hotkey) << i;
    EXPECT_EQ(got[i].why != nullptr, want[i].by < 0) << i;
  }
}

}  // namespace
}  // namespace ox
