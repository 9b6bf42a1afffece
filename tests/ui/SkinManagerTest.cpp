#include "ui/SkinManager.h"

#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"
#include "base/Random.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "ui/Bitmap.h"
#include "ui/TrayIcon.h"
#include "ui/Window.h"

namespace ox {
namespace {

SkinRecord Window(const std::string& name, int32_t id, int32_t x, int32_t y, const std::string& bitmap,
                  const std::string& condition) {
  WindowRecord w{};
  w.header.type = 1;
  std::memcpy(w.header.name, name.data(), std::min<size_t>(name.size(), sizeof w.header.name));
  w.header.x = x, w.header.y = y, w.header.width = 40, w.header.height = 30;
  w.header.windowId = id;
  w.placement = 2;  // the first window at 0,0, the others at their design offsets from it
  std::memcpy(w.bitmap, bitmap.data(), bitmap.size());
  std::memcpy(w.showCondition, condition.data(), condition.size());
  SkinRecord r;
  std::memcpy(r.bytes, &w, sizeof w);
  return r;
}

SkinRecord Element(SkinRecordType type, int32_t windowId) {
  SkinRecord r{};
  PutLe32(r.bytes, static_cast<uint32_t>(type));
  PutLe32(r.bytes + 50, static_cast<uint32_t>(windowId));
  return r;
}

void WriteSkinFile(const std::string& path, const std::vector<SkinRecord>& records) {
  std::vector<uint8_t> bytes;
  for (const SkinRecord& r : records) bytes.insert(bytes.end(), r.bytes, r.bytes + kSkinRecordSize);
  oxtest::WriteWholeFile(path, bytes);
}

uint32_t g_now = 0;
uint32_t FakeClock() { return g_now; }
int g_reports = 0;
void CountReport(const char*) { ++g_reports; }

// A skin file of `size` bytes whose first record is `first`; the rest is a hole (a sparse file).
void WriteSparseSkinFile(const std::string& path, const SkinRecord& first, int64_t size) {
  WriteSkinFile(path, {first});
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER end{};
  end.QuadPart = size;
  EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
  CloseHandle(file);
}

// Skins "Alpha", "Default" and "Zed" in a scratch skins folder, each with one window that is always
// shown; the skin settings are cleared before and after.
class SkinManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    for (const char* skin : {"Alpha", "Default", "Zed"}) {
      const std::string folder = skins_ / skin;
      CreateDirectoryA(folder.c_str(), nullptr);
      oxtest::WriteWholeFile(folder + "\\back.bmp", oxtest::SolidBmp(40, 30, 0x3366CC));
      WriteSkinFile(folder + "\\main.skin", {Window(ClassOf(skin), 1, 10, 10, "back", "[ShowAlways]")});
    }
    evt::OxNewSkin.Reset();
    SeedRandom(7);
  }
  void TearDown() override { ClearSettings(); }
  static void ClearSettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSkinSettingsKey);
    DeleteSetting("SkinChangeOpt");
    DeleteSetting("SkinRandomLen");
  }
  static std::string ClassOf(const std::string& skin) { return "OxTestSkin" + skin; }
  static void SetActive(const char* name) { SetTextSetting(name, "[SetActive]", HKEY_CURRENT_USER, kSkinSettingsKey); }
  static std::string Active() { return GetTextSetting("[SetActive]", 260, HKEY_CURRENT_USER, kSkinSettingsKey); }
  static void Exclude(const char* skin) { SetNumberSetting(1, skin, HKEY_CURRENT_USER, kSkinSettingsKey); }
  SkinManagerOptions Manual() const { return {skins_.Path(), {}, FakeClock, false, CountReport}; }

  oxtest::ScratchFolder skins_;
};

TEST_F(SkinManagerTest, TheActiveSkinLoads_EmptyMeansDefault_UnknownMeansTheFirstFolder) {
  SetNumberSetting(1, "SkinChangeOpt");
  {
    SkinManager manager(Manual());
    ASSERT_EQ(manager.SkinNames().size(), 3u);
    manager.SkinCheck();
    EXPECT_EQ(manager.LoadedSkinName(), "Default");
    ASSERT_EQ(manager.CreatedWindows().size(), 1u);
    EXPECT_EQ(manager.CreatedWindows()[0], FindWindowA(SkinWindowClassName(ClassOf("Default")).c_str(), nullptr));
  }
  EXPECT_FALSE(FindWindowA(SkinWindowClassName(ClassOf("Default")).c_str(), nullptr));  // the manager took its windows along
  SetActive("No Such Skin");
  SkinManager manager(Manual());
  manager.SkinCheck();
  EXPECT_EQ(manager.LoadedSkinName(), manager.SkinNames()[0]);
}

TEST_F(SkinManagerTest, ChangeOption_1Never_0AtStart_2AlsoAfterTheChosenMinutes) {
  Exclude("Default");  // two candidates: a choice always moves away from the active one
  SetActive("Alpha");
  SetNumberSetting(1, "SkinChangeOpt");
  { SkinManager manager(Manual()); }
  EXPECT_EQ(Active(), "Alpha");
  EXPECT_TRUE(evt::OxNewSkin.IsSet());  // the active skin is loaded by the first check

  SetNumberSetting(0, "SkinChangeOpt");
  { SkinManager manager(Manual()); }
  EXPECT_EQ(Active(), "Zed");

  SetNumberSetting(2, "SkinChangeOpt");
  SetNumberSetting(1, "SkinRandomLen");
  g_now = 5000;
  SkinManager manager(Manual());
  EXPECT_EQ(Active(), "Alpha");
  manager.SkinCheck();  // loads it, and counts as the last change
  EXPECT_EQ(manager.LoadedSkinName(), "Alpha");
  // The 300th check (the one above counted) after more than one whole minute changes it; when
  // exactly is TimeForRandomSkin's.
  g_now = 5000 + 120000;
  for (int i = 0; i < 298; ++i) manager.SkinCheck();
  EXPECT_EQ(Active(), "Alpha");
  manager.SkinCheck();
  EXPECT_EQ(Active(), "Zed");
  EXPECT_EQ(manager.LoadedSkinName(), "Zed");
}

TEST_F(SkinManagerTest, ShowConditions_EventWindowsComeAndGo_OthersWaitForTheFirstWindow) {
  SetNumberSetting(1, "SkinChangeOpt");
  const std::string panelEvent = oxtest::UniqueName("evtOxTestPanel");
  const std::string firstEvent = oxtest::UniqueName("evtOxTestFirst");
  const std::string folder = skins_ / "Default";
  WriteSkinFile(folder + "\\main.skin", {Window("OxTestFirst", 1, 0, 0, "back", firstEvent),
                                         Window("OxTestPanel", 2, 0, 40, "back", panelEvent),
                                         Window("OxTestNever", 3, 0, 80, "back", "<Unknown>")});
  SkinManager manager(Manual());
  NamedEvent* panel = SkinEvent(panelEvent);
  NamedEvent* first = SkinEvent(firstEvent);
  panel->Set();
  manager.SkinCheck();
  EXPECT_TRUE(manager.CreatedWindows().empty());  // the panel waits for the first window
  first->Set();
  manager.SkinCheck();  // the first window, then in the same pass the panel that waited for it
  EXPECT_EQ(manager.CreatedWindows().size(), 2u);
  HWND shown = FindWindowA(SkinWindowClassName("OxTestPanel").c_str(), nullptr);
  ASSERT_TRUE(shown);
  EXPECT_TRUE(IsWindowVisible(shown));
  panel->Reset();
  manager.SkinCheck();  // closing
  EXPECT_FALSE(IsWindowVisible(shown));
  manager.SkinCheck();  // closed
  EXPECT_FALSE(FindWindowA(SkinWindowClassName("OxTestPanel").c_str(), nullptr));
  EXPECT_EQ(manager.CreatedWindows().size(), 1u);
  first->Reset();
  panel->Reset();
}

TEST_F(SkinManagerTest, ServesTheOtherPartsEvents_RaisesThePlayer_TellsTheTrayWhereTheMouseIs) {
  SetNumberSetting(1, "SkinChangeOpt");
  WriteSkinFile(skins_ / "Default\\main.skin", {Window("OxTestMain", 1, 0, 0, "back", "<IsRillWindow>"),
                                                 Window("OxTestTray", 2, 200, 200, "back", "evtOxTrayControl")});
  int opened = 0, reloaded = 0, refreshes = 0;
  SkinManagerOptions options = Manual();
  options.hooks.showOpenMusic = [&](HWND) { ++opened; };
  options.hooks.reloadKeyMappings = [&](HWND taskbar) { reloaded += taskbar == FindWindowA(kTaskbarWindowClass, nullptr); };
  options.hooks.takeRefresh = [&] { return ++refreshes == 2; };
  SkinManager manager(options);
  evt::ShowOpenMusic.Set();
  evt::ReloadKeyMappings.Set();
  evt::OxTrayControl.Set();
  manager.SkinCheck();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(reloaded, 1);
  EXPECT_FALSE(evt::ShowOpenMusic.IsSet() || evt::ReloadKeyMappings.IsSet());  // taken
  ASSERT_EQ(manager.CreatedWindows().size(), 2u);

  HWND main = FindWindowA(SkinWindowClassName("OxTestMain").c_str(), nullptr);
  ShowWindow(main, SW_MINIMIZE);
  evt::OxShowRill.Set();
  manager.SkinCheck();
  EXPECT_FALSE(evt::OxShowRill.IsSet());
  EXPECT_FALSE(IsIconic(main));
  EXPECT_EQ(refreshes, 2);

  SetCursorPos(220, 215);  // over the tray-control window
  manager.SkinCheck();
  EXPECT_TRUE(evt::OxMouseOverTray.IsSet());
  SetCursorPos(20, 15);  // over the player window
  manager.SkinCheck();
  EXPECT_FALSE(evt::OxMouseOverTray.IsSet());
  evt::OxTrayControl.Reset();
}

TEST_F(SkinManagerTest, TwoSkinFilesGiveTwoGroups_AnElementOfTheOtherFilesWindowIsDropped) {
  const std::string folder = skins_ / "Default" + "\\";
  WriteSkinFile(folder + "main.skin", {Window("A", 1, 0, 0, "back", "[ShowAlways]"),
                                       Element(SkinRecordType::Button, 1)});
  WriteSkinFile(folder + "extra.skin", {Window("B", 2, 0, 0, "back", "[ShowAlways]"),
                                        Element(SkinRecordType::Image, 1), Element(SkinRecordType::Image, 2)});
  CreateDirectoryA((folder + "folder.skin").c_str(), nullptr);  // not a file: nothing
  const LoadedSkin skin = LoadSkinFolder("Default", folder);
  ASSERT_EQ(skin.groups.size(), 2u);
  for (const auto& group : skin.groups) {
    ASSERT_EQ(group->windows.size(), 1u);
    const SkinWindow& window = *group->First();
    EXPECT_EQ(window.Elements().size(), 1u) << window.Name();
  }
}

// Skin folders from anyone: whatever they hold, the skin is clamped or refused (reported once, the
// skin before it kept), no window takes a class of the system or the player, and a good skin still
// loads after it.
TEST_F(SkinManagerTest, HostileSkinsAreClampedOrRefused_AGoodSkinLoadsAfterThem) {
  SetNumberSetting(1, "SkinChangeOpt");
  const std::vector<std::string> classes = {"tooltips_class32", "TTWindow", "STATIC", "Button",
                                            kTaskbarWindowClass, "Orlavox Core", kTrayWindowClass};
  SkinRecord extreme = Window("OxTestExtreme", 1, 0, 0, "back", "[ShowAlways]");
  PutLe32(extreme.bytes + 34, 0x80000000u);  // x and y at the far end of the range
  PutLe32(extreme.bytes + 38, 0x80000000u);
  PutLe32(extreme.bytes + 42, 0xFFFFFFFFu);  // a 4 GB height and width
  PutLe32(extreme.bytes + 46, 0xFFFFFFFFu);
  std::vector<SkinRecord> named;
  for (const std::string& name : classes) named.push_back(Window(name, 1, 0, 0, "back", "[ShowAlways]"));
  const struct {
    const char* skin;
    std::vector<SkinRecord> records;
    int64_t sparseSize;  // 0: just the records
    size_t shown;        // 0: refused
  } rows[] = {
      {"File5GB", {extreme}, int64_t{5} << 30, 0},
      {"Extreme", {extreme}, 0, 1},
      {"ClassNames", named, 0, classes.size()},
  };
  for (const auto& row : rows) {
    CreateDirectoryA((skins_ / row.skin).c_str(), nullptr);
    oxtest::WriteWholeFile(skins_ / row.skin + "\\back.bmp", oxtest::SolidBmp(40, 30, 0x3366CC));
    if (row.sparseSize) WriteSparseSkinFile(skins_ / row.skin + "\\main.skin", row.records[0], row.sparseSize);
    else WriteSkinFile(skins_ / row.skin + "\\main.skin", row.records);
  }
  {
    SetActive("Alpha");
    SkinManager manager(Manual());
    manager.SkinCheck();
    ASSERT_EQ(manager.CreatedWindows().size(), 1u);
    const LONG_PTR skinProcedure = GetWindowLongPtrA(manager.CreatedWindows()[0], GWLP_WNDPROC);
    HWND taskbar = FindWindowA(kTaskbarWindowClass, nullptr);
    ASSERT_TRUE(taskbar);
    auto procedureOf = [](const std::string& name) {
      WNDCLASSA info{};
      return GetClassInfoA(ModuleInstance(), name.c_str(), &info) ? info.lpfnWndProc : nullptr;
    };
    std::vector<WNDPROC> procedures;  // of the classes of those names, before any hostile skin
    for (const std::string& name : classes) procedures.push_back(procedureOf(name));
    auto show = [&](const char* skin) {
      SetActive(skin);
      evt::OxNewSkin.Set();
      manager.SkinCheck();
    };
    for (const auto& row : rows) {
      SCOPED_TRACE(row.skin);
      g_reports = 0;
      show(row.skin);
      EXPECT_EQ(manager.LoadedSkinName(), row.shown ? row.skin : "Alpha");
      EXPECT_EQ(g_reports, row.shown ? 0 : 1);
      const std::vector<HWND> shown = manager.CreatedWindows();
      EXPECT_EQ(shown.size(), row.shown ? row.shown : 1);
      for (HWND window : shown) EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), skinProcedure);
      EXPECT_EQ(FindWindowA(kTaskbarWindowClass, nullptr), taskbar);
      for (size_t i = 0; i < classes.size(); ++i) EXPECT_EQ(procedureOf(classes[i]), procedures[i]) << classes[i];
      show("Zed");
      EXPECT_EQ(manager.LoadedSkinName(), "Zed");
      EXPECT_EQ(manager.CreatedWindows().size(), 1u);
      show("Alpha");
    }
  }
  // At start-up there is no skin to keep: a refused one gives way to "Default".
  SetActive("File5GB");
  g_reports = 0;
  SkinManager fresh(Manual());
  fresh.SkinCheck();
  EXPECT_EQ(fresh.LoadedSkinName(), "Default");
  EXPECT_EQ(g_reports, 1);
}

// Pictures are decoded by what they hold, not by their name.
TEST(Bitmap, LoadsBmpJpegAndGifNamedBmp_ACorruptOrMissingFileGivesNone) {
  const std::string fixtures = oxtest::FixtureFolder();
  for (const char* name : {"halves_bmp.bmp", "halves_jpeg.bmp", "halves_gif.bmp"}) {
    SCOPED_TRACE(name);
    Bitmap picture;
    ASSERT_TRUE(picture.LoadFile(fixtures + name));
    EXPECT_EQ(std::make_pair(picture.Width(), picture.Height()), std::make_pair(40, 30));
    auto similar = [](COLORREF c, int r, int g, int b) {
      return std::abs(GetRValue(c) - r) < 24 && std::abs(GetGValue(c) - g) < 24 && std::abs(GetBValue(c) - b) < 24;
    };
    EXPECT_TRUE(similar(GetPixel(picture.Dc(), 20, 4), 0xC0, 0x30, 0x20));  // red on top
    EXPECT_TRUE(similar(GetPixel(picture.Dc(), 20, 25), 0x20, 0x50, 0xD0));
  }
  oxtest::ScratchFolder folder;
  std::vector<uint8_t> jpeg = oxtest::ReadWholeFile(fixtures + "halves_jpeg.bmp");
  std::vector<uint8_t> huge = oxtest::SolidBmp(2, 2, 0);
  PutLe32(&huge[18], 100000);  // a header that claims 100000 x 100000 pixels
  PutLe32(&huge[22], 100000);
  const std::vector<std::pair<std::string, std::vector<uint8_t>>> bad = {
      {"garbage.bmp", std::vector<uint8_t>(300, 0x5A)},
      {"huge.bmp", huge},
      {"empty.bmp", {}},
      {"cut.bmp", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 20)},
  };
  for (const auto& [name, bytes] : bad) {
    oxtest::WriteWholeFile(folder / name, bytes);
    Bitmap picture;
    EXPECT_FALSE(picture.LoadFile(folder / name)) << name;
    EXPECT_TRUE(picture.IsEmpty()) << name;
  }
  Bitmap missing;
  EXPECT_FALSE(missing.LoadFile(folder / "missing.bmp"));
}

}  // namespace
}  // namespace ox
