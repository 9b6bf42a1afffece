// The options program under Wine: what its rows store is what the player's readers get, and the
// real Launcher.exe next to a running rill.exe switches the skin from its menu and sets a hotkey
// from its window, driven by the keyboard as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "RowOf.h"
#include "TestSupport.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "launcher/RowStore.h"
#include "launcher/SettingsWindow.h"
#include "queue/FolderWatchRules.h"
#include "ui/SkinRules.h"

namespace ox {
namespace {

// Each kind of row, stored from its text, read back as the window shows it and as the player reads it.
TEST(LauncherRows, WhatARowStoresIsWhatThePlayersReaderGets) {
  const std::pair<const Setting*, const char*> typed[] = {
      {&setting::CrossFadeLengthSec, "12"}, {&setting::ReplayGainPreamp, "-1.5"},
      {&setting::FWScheduleEvery, "45"}, {&setting::FWFolderToWatch, "C:\\Music\\Новое"}};
  for (const auto& [s, text] : typed) {
    ASSERT_TRUE(StoreRowText(RowOf(*s), text)) << s->name;
    EXPECT_EQ(LoadRowText(RowOf(*s)), text) << s->name;
  }
  EXPECT_EQ(ReadNumber(setting::CrossFadeLengthSec), 12u);
  EXPECT_EQ(ReadSigned(setting::ReplayGainPreamp), -15);
  EXPECT_EQ(ScheduleMinutes(ReadText(setting::FWScheduleEvery)), 45u);
  EXPECT_EQ(ReadText(setting::FWFolderToWatch), "C:\\Music\\Новое");
  for (const auto& row : typed) RemoveSetting(*row.first);
  EXPECT_FALSE(StoreRowText(RowOf(setting::CrossFadeLengthSec), "soon"));
  EXPECT_FALSE(SettingStored(setting::CrossFadeLengthSec));
}

void Key(WORD key, bool down) {
  oxtest::Key(key, down);
  Sleep(30);
}

void Press(std::initializer_list<WORD> modifiers, WORD key, int times = 1) {
  for (WORD m : modifiers) Key(m, true);
  for (int i = 0; i < times; ++i) Key(key, true), Key(key, false);
  for (WORD m : modifiers) Key(m, false);
}

bool Shown(const char* skinWindow) {
  return IsWindowVisible(FindWindowA(SkinWindowClassName(skinWindow).c_str(), nullptr)) != 0;
}

class LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(setting::ActiveSkin, "Default");
    WriteNumber(setting::SkinChangeOpt, 1);  // no random skin
    WriteNumber(setting::OxPlayDown, 1);
    RemoveSetting(setting::Key, {"10"});
    evt::OxClose.Reset();
    evt::OxMute.Reset();
  }
  void TearDown() override {  // the player has ended: its process asked it to close
    evt::OxClose.Reset();
    evt::OxMute.Reset();
    WriteText(setting::ActiveSkin, "Default");
    for (const Setting* s : {&setting::SkinChangeOpt, &setting::OxPlayDown}) RemoveSetting(*s);
    RemoveSetting(setting::Key, {"10"});
  }
  static std::string Dist() { return oxtest::ExecutableFolder() + "..\\dist\\"; }
};

TEST_F(LauncherTest, BesideARunningPlayer_TheMenuSwitchesTheSkin_TheWindowSetsAHotkey) {
  oxtest::Process player(Dist() + "rill.exe", "", [] { evt::OxClose.Set(); });
  ASSERT_TRUE(oxtest::WaitFor([] { return evt::OxRillRunning.IsSet() && Shown("OrlavoxMain"); }, 20000));

  // The menu at the pointer: Skins (K), Strip (S).
  {
    oxtest::Process menu(Dist() + "Launcher.exe", "");
    ASSERT_TRUE(oxtest::WaitFor([] { return IsWindowVisible(FindWindowW(L"#32768", nullptr)) != 0; }, 10000));
    Press({}, 'K');
    Press({}, 'S');
    EXPECT_EQ(menu.Wait(10000), 0);
  }
  EXPECT_TRUE(oxtest::WaitFor([] { return Shown("OrlavoxStrip") && !Shown("OrlavoxMain"); }, 10000));
  EXPECT_EQ(ReadText(setting::ActiveSkin), "Strip");

  // The Keys page: the list (where the focus starts), Mute (ten rows down), the capture field (Tab),
  // Alt+F9 pressed into it, out of it (Tab), Apply (Alt+A), Escape.
  ASSERT_FALSE(oxtest::HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_F9));
  oxtest::Process window(Dist() + "Launcher.exe", "/options:3");
  ASSERT_TRUE(oxtest::WaitFor([] { return IsWindowVisible(FindWindowW(kSettingsWindowClass, nullptr)) != 0; }, 10000));
  {
    oxtest::Process second(Dist() + "Launcher.exe", "");  // brings the window to the front and leaves
    EXPECT_EQ(second.Wait(10000), 0);
  }
  EXPECT_EQ(FindWindowExW(nullptr, FindWindowW(kSettingsWindowClass, nullptr), kSettingsWindowClass, nullptr), nullptr);
  EXPECT_TRUE(oxtest::WaitFor([] { return GetForegroundWindow() == FindWindowW(kSettingsWindowClass, nullptr); }, 5000));
  Press({}, VK_HOME);
  Press({}, VK_DOWN, 10);
  Press({}, VK_TAB);
  Press({VK_MENU}, VK_F9);
  Press({}, VK_TAB);
  Press({VK_MENU}, 'A');
  EXPECT_TRUE(oxtest::WaitFor([] { return ReadNumber(setting::Key, {"10"}) == 0x478; }, 5000))
      << std::hex << ReadNumber(setting::Key, {"10"});

  // The player reloads its keys on the event Apply set, and the new hotkey mutes it.
  EXPECT_TRUE(oxtest::WaitFor([] { return oxtest::HotKeyTaken(MOD_CONTROL | MOD_ALT, VK_F9); }, 5000));
  Sleep(500);  // the skin thread may still be in its reload
  Press({VK_CONTROL, VK_MENU}, VK_F9);
  EXPECT_TRUE(oxtest::WaitFor([] { return evt::OxMute.IsSet(); }, 5000));
  Press({}, VK_ESCAPE);
  EXPECT_EQ(window.Wait(10000), 0);
}

}  // namespace
}  // namespace ox
