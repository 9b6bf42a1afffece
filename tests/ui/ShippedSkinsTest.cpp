// The skins we ship, as the build drew them into the installation folder: loaded by the skin thread,
// looked at on the screen, and switched from one to the other.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "TestSupport.h"
#include "base/ByteSource.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "core/TrackRecord.h"
#include "ui/Bitmap.h"
#include "ui/SkinManager.h"
#include "ui/SkinRecords.h"

namespace ox {
namespace {

const std::string kSkins = OX_SHIPPED_SKINS;  // the installation folder's Skins\, with the separator

// The windows of a shipped skin, read from its skin files.
std::vector<SkinWindowRecords> WindowsOf(const std::string& skin, const std::vector<std::string>& files) {
  std::vector<SkinWindowRecords> windows;
  for (const std::string& file : files) {
    MemorySource source(oxtest::ReadWholeFile(kSkins + skin + "\\" + file));
    for (SkinWindowRecords& w : ReadSkinFile(source)) windows.push_back(std::move(w));
  }
  return windows;
}

std::string NameOf(const SkinRecord& r) { return std::string(r.Header().Name()); }

class ShippedSkinsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSkinSettingsKey);
    SetNumberSetting(1, "SkinChangeOpt");
    // The equaliser window's user event and the tray control's event: every window shows. The
    // cursor rests in a corner, where the tray control opens, outside its rounded outline.
    SkinEvent("UOxEqualizer")->Set();
    evt::OxTrayControl.Set();
    for (NamedEvent* off : {&evt::OxEqOn, &evt::OxPause, &evt::OxMute, &evt::OxPlay}) off->Reset();
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    block::OxTrackPlaying.WriteValue(TrackRecord{});  // nothing plays: no channels
  }
  void TearDown() override {
    manager_.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSkinSettingsKey);
    SkinEvent("UOxEqualizer")->Reset();
    evt::OxTrayControl.Reset();
  }
  void Show(const char* skin) {
    SetTextSetting(skin, "[SetActive]", HKEY_CURRENT_USER, kSkinSettingsKey);
    if (!manager_) manager_ = std::make_unique<SkinManager>(SkinManagerOptions{kSkins, SkinHooks{}, nullptr, true});
    else evt::OxNewSkin.Set();
  }
  static HWND Find(const std::string& name) { return FindWindowA(SkinWindowClassName(name).c_str(), nullptr); }
  static bool AllShown(const std::vector<std::string>& names) {
    return std::all_of(names.begin(), names.end(), [](const std::string& n) { return IsWindowVisible(Find(n)) != 0; });
  }
  static bool NoneLeft(const std::vector<std::string>& names) {
    return std::none_of(names.begin(), names.end(), [](const std::string& n) { return Find(n) != nullptr; });
  }
  std::unique_ptr<SkinManager> manager_;
};

const std::map<std::string, std::vector<std::string>> kSkinFiles = {{"Default", {"Default.skin", "Tray.skin"}},
                                                                     {"Strip", {"Strip.skin", "Tray.skin"}}};

// What the skin checker finds in them is the oxskin_check tests'; here each window shows at its
// background picture's size, inside its outline, and much of what it shows is that picture (the
// elements' own drawing is the skin window tests' case). Switching skins replaces every window, and
// switching back brings the equaliser window again with the user event it was shown by.
TEST_F(ShippedSkinsTest, EachSkinShowsItsBuiltBackgroundsInsideItsOutlines_SwitchingReplacesEveryWindow) {
  std::map<std::string, std::vector<std::string>> names;
  for (const auto& [skin, files] : kSkinFiles)
    for (const SkinWindowRecords& w : WindowsOf(skin, files)) names[skin].push_back(NameOf(w.window));
  for (const char* skin : {"Default", "Strip", "Default"}) {
    SCOPED_TRACE(skin);
    const std::vector<SkinWindowRecords> windows = WindowsOf(skin, kSkinFiles.at(skin));
    ASSERT_GE(windows.size(), 2u);
    Show(skin);
    ASSERT_TRUE(oxtest::WaitFor([&] {
      return AllShown(names[skin]) && NoneLeft(names[skin == std::string("Strip") ? "Default" : "Strip"]);
    }, 10000));
    EXPECT_EQ(GetTextSetting("[SetActive]", 260, HKEY_CURRENT_USER, kSkinSettingsKey), skin);

    for (const SkinWindowRecords& w : windows) {
      SCOPED_TRACE(NameOf(w.window));
      HWND window = Find(NameOf(w.window));
      RECT r;
      GetWindowRect(window, &r);
      Bitmap background;
      ASSERT_TRUE(background.LoadFile(kSkins + skin + "\\" + std::string(FieldText(w.window.As<WindowRecord>().bitmap)) + ".bmp"));
      const int width = background.Width(), height = background.Height();
      ASSERT_EQ(r.right - r.left, width);
      ASSERT_EQ(r.bottom - r.top, height);
      const std::vector<uint32_t> built = oxtest::Pixels(background.Dc(), 0, 0, width, height);
      // The outline: rounded corners are not the window's, its middle is.
      HRGN region = CreateRectRgn(0, 0, 0, 0);
      ASSERT_NE(GetWindowRgn(window, region), ERROR);
      EXPECT_FALSE(PtInRegion(region, 0, 0));
      EXPECT_FALSE(PtInRegion(region, width - 1, height - 1));
      EXPECT_TRUE(PtInRegion(region, width / 2, height / 2));
      // Until the window has painted (a busy machine paints late), at most 5 s.
      int same = 0, inside = 0;
      oxtest::WaitFor([&] {
        const std::vector<uint32_t> shown = oxtest::Pixels(nullptr, r.left, r.top, width, height);
        same = 0, inside = 0;
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width; ++x)
            if (PtInRegion(region, x, y)) ++inside, same += shown[y * width + x] == built[y * width + x];
        return same > inside / 3;
      }, 5000);
      DeleteObject(region);
      EXPECT_GT(same, inside / 3) << "of " << inside;
    }
  }
}

}  // namespace
}  // namespace ox
