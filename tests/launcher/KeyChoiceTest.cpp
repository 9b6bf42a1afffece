#include "ui/KeyChoice.h"

#include <gtest/gtest.h>

#include <tuple>

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
  using Conflict = std::tuple<int, int, bool, bool>;  // action, by, hotkey, a reason instead of an action
  std::vector<Conflict> got;
  for (const KeyConflict& c : KeyConflicts(keys)) got.emplace_back(c.action, c.by, c.hotkey, c.why != nullptr);
  EXPECT_EQ(got, (std::vector<Conflict>{{5, 0, false, false}, {8, 3, true, false}, {9, 0, true, false},
                                        {10, -1, true, true}, {12, -1, false, true}}));
}

}  // namespace
}  // namespace ox
