// The player's keys with the system's own delivery: the hotkeys registered system-wide, real key
// presses through the input queue into a window whose procedure runs the key check first.
#include "app/KeyControl.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "ui/PlayerInput.h"

namespace ox {
namespace {

KeyControl* g_keys = nullptr;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandlePlayerInput(window, message, wParam, lParam, result)) return result;
  return DefWindowProcA(window, message, wParam, lParam);
}

using oxtest::Key;

// Presses key with the modifiers held, each pressed and released on its own.
void Press(std::initializer_list<WORD> modifiers, WORD key) {
  for (WORD m : modifiers) Key(m, true);
  Key(key, true);
  Key(key, false);
  for (WORD m : modifiers) Key(m, false);
}

class KeyControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKeyControlKey);
    Store(3, 0x427);  // Alt + Right (its Ctrl bit clear): seek forward, system-wide
    Store(8, 0x226);  // Ctrl + Up: volume up, in a player window only
    Store(9, 0x628);  // Ctrl + Alt + Down: volume down, a hotkey only
    Store(12, 0x226);  // the same key as 8: never acts
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OxKeyTest";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, "OxKeyTest", "keys", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    SetForegroundWindow(window_);
    SetFocus(window_);
    g_keys = &keys_;
    SetKeyCheck([](HWND, UINT message, WPARAM wParam, LPARAM lParam) { return g_keys->Check(message, wParam, lParam); });
  }
  void TearDown() override {
    SetKeyCheck(nullptr);
    DestroyWindow(window_);
    UnregisterClassA("OxKeyTest", GetModuleHandleA(nullptr));
    RegDeleteTreeA(HKEY_CURRENT_USER, kKeyControlKey);
  }
  static void Store(int index, uint32_t value) {
    SetNumberSetting(value, ("Key" + std::to_string(index)).c_str(), HKEY_CURRENT_USER, kKeyControlKey);
  }
  static uint32_t Read(SharedDataBlock& block) { return oxtest::Value<uint32_t>(block); }

  KeyControl keys_;
  HWND window_ = nullptr;
};

TEST_F(KeyControlTest, AltKeysAreSystemWideHotkeys_OthersActOnKeyUpWithTheirModifiers) {
  keys_.Load(window_);
  EXPECT_TRUE(oxtest::HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_RIGHT));  // registered, as Ctrl+Alt
  EXPECT_TRUE(oxtest::HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_DOWN));
  EXPECT_FALSE(oxtest::HotKeyTaken(MOD_CONTROL, VK_UP));  // a local key is not registered

  block::OxTrackTime.WriteValue(TrackTime{100000, 50000, 50000});
  block::OxSkipToPos.WriteValue(uint32_t{0});
  Press({VK_CONTROL, VK_MENU}, VK_RIGHT);
  EXPECT_TRUE(oxtest::PumpUntil([] { return Read(block::OxSkipToPos) == 55; })) << Read(block::OxSkipToPos);

  block::OxVolume.WriteValue(uint32_t{50});
  Press({VK_CONTROL}, VK_UP);
  EXPECT_TRUE(oxtest::PumpUntil([] { return Read(block::OxVolume) == 55; })) << Read(block::OxVolume);
  Press({}, VK_UP);  // without Ctrl: nothing
  Press({VK_CONTROL, VK_MENU}, VK_DOWN);  // the hotkey of 9, which its key-up does not repeat
  EXPECT_TRUE(oxtest::PumpUntil([] { return Read(block::OxVolume) == 50; })) << Read(block::OxVolume);
  EXPECT_FALSE(oxtest::PumpUntil([] { return Read(block::OxVolume) != 50; }));

  // A reload after the options program changed the table frees what is no longer a hotkey.
  Store(3, 0x27);
  evt::ReloadKeyMappings.Set();
  keys_.Load(window_);
  EXPECT_FALSE(oxtest::HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_RIGHT));
  EXPECT_TRUE(oxtest::HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_DOWN));
}

TEST_F(KeyControlTest, ActionsDriveThePlayer) {
  evt::OxPause.Set();
  RunPlayerAction(PlayerAction::Play);
  EXPECT_EQ(std::make_pair(evt::OxPlay.IsSet(), evt::OxPause.IsSet()), std::make_pair(true, false));
  RunPlayerAction(PlayerAction::Pause);
  EXPECT_TRUE(evt::OxPause.IsSet());
  RunPlayerAction(PlayerAction::Stop);
  EXPECT_FALSE(evt::OxPlay.IsSet());
  block::OxTrackTime.WriteValue(TrackTime{100000, 3000, 97000});
  RunPlayerAction(PlayerAction::SeekBack);
  EXPECT_EQ(Read(block::OxSkipToPos), 1u);
  evt::OxMute.Reset();
  RunPlayerAction(PlayerAction::Mute);
  EXPECT_TRUE(evt::OxMute.IsSet());
  RunPlayerAction(PlayerAction::OpenFiles);
  EXPECT_TRUE(evt::ShowOpenMusic.IsSet());
  RunPlayerAction(PlayerAction::Close);
  EXPECT_TRUE(evt::OxClose.IsSet());
  for (NamedEvent* e : {&evt::OxPause, &evt::OxMute, &evt::ShowOpenMusic, &evt::OxClose}) e->Reset();
}

}  // namespace
}  // namespace ox
