// Skin windows for real: a skin written with the skin compiler's text form, loaded by the skin
// thread, looked at through the screen and driven with real input.
#include "ui/SkinWindow.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include "ScratchInstallation.h"
#include "TestSupport.h"
#include "base/TaskQueue.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "tools/oxskin/SkinText.h"
#include "engine/VisualOutputHost.h"
#include "queue/TrackInfo.h"
#include "ui/Bitmap.h"
#include "ui/Gdi.h"
#include "ui/SkinManager.h"
#include "ui/TrayIcon.h"

namespace ox {
namespace {

constexpr uint32_t kMainColour = 0x2080C0, kEqColour = 0xC04020, kFreeColour = 0x30A030;
constexpr uint32_t kNormalColour = 0x808080, kOverColour = 0xA0A0FF, kPressedColour = 0x202060;
constexpr uint32_t kGlyphColour = 0xE040E0, kStereoColour = 0xF0F000, kTrackColour = 0x404040, kKnobColour = 0xFFFFFF;
std::atomic<bool> g_refresh{false};

// The skin of these tests, in its text form: the main window (200x100, a cut corner) with the
// equaliser docked below it; a free window that opens at the cursor; a panel shown by a user event.
std::string SkinText(const char* name = "window_test.txt") {
  return oxtest::ReadText(std::string(OX_TEST_DATA) + "skins/" + name);
}

using oxtest::Click;
using oxtest::Mouse;
using oxtest::PumpUntil;

class SkinWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oxtest::ResetQueueState();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSkinSettingsKey);
    SetNumberSetting(1, "SkinChangeOpt");
    for (const char* name : {"HideWhenMin", "NeverInTask", "Minimized"}) DeleteSetting(name);
    folder_ = skins_ / "Default\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    // Solid pictures; a bitmap font of 96 cells 4 pixels wide whose glyphs are solid, with a mask
    // that keeps nothing.
    const struct {
      const char* name;
      int width, height;
      uint32_t colour;
    } pictures[] = {{"main", 200, 100, kMainColour}, {"eq", 200, 60, kEqColour},       {"free", 80, 80, kFreeColour},
                    {"stereo", 20, 20, kStereoColour}, {"track", 100, 10, kTrackColour}, {"fill", 100, 10, 0x00FF00},
                    {"track17", 17, 4, kTrackColour},  {"knob", 10, 10, kKnobColour},    {"band", 10, 50, kTrackColour},
                    {"mute", 20, 14, kNormalColour},   {"mute-m", 20, 14, kOverColour},  {"mute-d", 20, 14, kPressedColour},
                    {"pixels", 384, 8, kGlyphColour},  {"pixels-mask", 384, 8, 0}};
    for (const auto& p : pictures)
      oxtest::WriteWholeFile(folder_ + p.name + ".bmp", oxtest::SolidBmp(p.width, p.height, p.colour));
    std::vector<std::string> errors;
    const skintext::Skin skin = skintext::Parse(SkinText(), errors);
    ASSERT_TRUE(errors.empty()) << errors[0];
    oxtest::WriteWholeFile(folder_ + "main.skin", skin.bytes);
    std::vector<uint8_t> outline = skintext::OutlineBytes(skin.outlines.at("main"));
    outline.insert(outline.end(), {1, 2, 3});  // a partial point is no point
    oxtest::WriteWholeFile(folder_ + "main.bin", outline);
    SkinEvent("UOxTestEq")->Reset();
    SkinEvent("UOxTestPanel")->Reset();
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work_, 0);
    SetCursorPos(work_.right - 2, work_.bottom - 2);  // the free window opens in the corner
  }
  void TearDown() override {
    manager_.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSkinSettingsKey);
    for (const char* name : {"HideWhenMin", "NeverInTask", "Minimized", "LastAccessedFolder"}) DeleteSetting(name);
    evt::OxClose.Reset();
  }
  void Start() {
    SkinHooks hooks;
    hooks.takeRefresh = [] { return g_refresh.exchange(false); };
    manager_ = std::make_unique<SkinManager>(SkinManagerOptions{skins_.Path(), hooks, nullptr, true});
    ASSERT_TRUE(oxtest::WaitFor([] {
      return IsWindowVisible(Find("OxTestMain")) && IsWindowVisible(Find("OxTestEq")) && IsWindowVisible(Find("OxTestFree"));
    }, 10000));
  }
  // The test skin with `added` in front of the first `before`, built into the skin folder's `file`.
  void WriteSkin(const char* before, const std::string& added, const std::string& text = SkinText(), const char* file = "main.skin") {
    std::string changed = text;
    changed.replace(changed.find(before), 0, added);
    std::vector<std::string> errors;
    oxtest::WriteWholeFile(folder_ + file, skintext::Parse(changed, errors).bytes);
    ASSERT_TRUE(errors.empty()) << errors[0];
  }
  static HWND Find(const char* name) { return FindWindowA(SkinWindowClassName(name).c_str(), nullptr); }
  static RECT Rect(const char* name) {
    RECT r{};
    GetWindowRect(Find(name), &r);
    return r;
  }
  static uint32_t ScreenPixel(int x, int y) { return oxtest::Pixels(nullptr, x, y, 1, 1)[0]; }
  static COLORREF Colour(uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }
  // `text` as the system draws it in a bold font of the face and height, transparently in white at
  // the top left of a width x height area of `background`.
  static std::vector<uint32_t> DrawnText(const wchar_t* text, const wchar_t* face, int fontHeight, uint32_t background,
                                         int width, int height) {
    Bitmap canvas;
    canvas.Create(width, height);
    LOGFONTW f{};
    f.lfHeight = fontHeight;
    f.lfWeight = FW_BOLD;
    f.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(f.lfFaceName, face, LF_FACESIZE - 1);
    BrushHolder brush(canvas.Dc(), Colour(background));
    PatBlt(canvas.Dc(), 0, 0, width, height, PATCOPY);
    SelectedObject font(canvas.Dc(), CreateFontIndirectW(&f), true);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), RGB(255, 255, 255));
    TextOutW(canvas.Dc(), 0, 0, text, static_cast<int>(std::wcslen(text)));
    return oxtest::Pixels(canvas.Dc(), 0, 0, width, height);
  }
  static bool Shows(int x, int y, uint32_t rgb) { return ScreenPixel(x, y) == rgb; }
  static void Drag(int fromX, int fromY, int toX, int toY) {
    // Only once one of the test's windows is the one under the start point (nothing else, like a
    // closing tooltip, in the way).
    EXPECT_TRUE(oxtest::WaitFor([&] {
      char name[64] = {};
      GetClassNameA(GetAncestor(WindowFromPoint(POINT{fromX, fromY}), GA_ROOT), name, sizeof name);
      return std::strncmp(name, "OrlavoxSkin:OxTest", 18) == 0;
    }, 3000));
    Mouse(MOUSEEVENTF_MOVE, fromX, fromY);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    const int steps = std::max(std::abs(toX - fromX), std::abs(toY - fromY)) / 20 + 1;
    for (int step = 1; step <= steps; ++step) {
      Mouse(MOUSEEVENTF_MOVE, fromX + (toX - fromX) * step / steps, fromY + (toY - fromY) * step / steps);
    }
    Mouse(MOUSEEVENTF_LEFTUP);
  }

  oxtest::ScratchFolder skins_;
  std::string folder_;
  RECT work_{};
  std::unique_ptr<SkinManager> manager_;
};

TEST_F(SkinWindowTest, PlacedShapedStackedAndPainted) {
  Start();
  const RECT main = Rect("OxTestMain"), eq = Rect("OxTestEq"), free = Rect("OxTestFree");
  // Main at the origin at its bitmap's size, the equaliser at its design offset; the free window at
  // the cursor in the corner, its group (the panel's place included, 380x380) inside the work area.
  EXPECT_EQ(std::make_tuple(main.left, main.top, main.right, eq.top), std::make_tuple(0, 0, 200, 99));
  EXPECT_EQ(std::make_pair(free.left, free.top), std::make_pair(work_.right - 380, work_.bottom - 380));

  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetWindowRgn(Find("OxTestMain"), region), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(region, 100, 50));
  EXPECT_FALSE(PtInRegion(region, 5, 95));  // the cut corner
  DeleteObject(region);

  // Rank 0 (the equaliser) in front of rank 1 (main) in front of rank 2.
  auto behind = [](HWND front, HWND back) {
    for (HWND w = GetWindow(front, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
      if (w == back) return true;
    return false;
  };
  EXPECT_TRUE(oxtest::WaitFor([&] {
    return behind(Find("OxTestEq"), Find("OxTestMain")) && behind(Find("OxTestMain"), Find("OxTestFree"));
  }, 3000));

  EXPECT_TRUE(oxtest::WaitFor([&] {
    return ScreenPixel(100, 50) == kMainColour && ScreenPixel(100, 120) == kEqColour &&
           ScreenPixel(free.left + 40, free.top + 40) == kFreeColour;
  }, 3000)) << ScreenPixel(free.left + 40, free.top + 40);
}

// Elements: an image shown only for stereo tracks, a volume slider that follows and sets the volume,
// texts in a system font and in a bitmap font, the equaliser curve; what changes is redrawn in its
// own rectangle only.
TEST_F(SkinWindowTest, ImagesFollowTheChannelsAndSlidersTheirValue) {
  block::OxEqPositions.WriteValue(EqPositions{});
  TrackRecord playing{};
  playing.channels = 2;
  std::strcpy(playing.title, "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F \xE5\xA4\x9C\xE6\x9B\xB2 \xC3\xA9");  // UTF-8
  std::strcpy(playing.path, "C:\\Music\\playing.mp3");
  block::OxTrackPlaying.WriteValue(playing);
  block::OxVolume.WriteValue(uint32_t{30});
  Start();
  auto shows = Shows;
  ASSERT_TRUE(oxtest::WaitFor([&] { return shows(20, 20, kStereoColour); }, 3000));
  // A slider never dragged follows its value: 80 puts the knob at (100 - 10) * 80 / 100 = 72.
  block::OxVolume.WriteValue(uint32_t{80});
  EXPECT_TRUE(oxtest::WaitFor([&] { return shows(20 + 72 + 5, 65, kKnobColour); }, 3000));

  // Texts: "Stereo" in the bitmap font is 6 x 3 pixels wide; the title (at 40, 30; its first 120 x
  // 18 pixels, clear of the slider's knob) in white, bold, height -14, in the default face: its
  // characters, not its UTF-8 bytes.
  EXPECT_TRUE(shows(147, 12, kGlyphColour));
  const std::vector<uint32_t> title =
      DrawnText(L"\u041F\u0435\u0441\u043D\u044F \u591C\u66F2 \u00E9", L"Arial", -14, kMainColour, 120, 18);
  ASSERT_GT(std::count(title.begin(), title.end(), 0xFFFFFFu), 20);
  EXPECT_TRUE(oxtest::WaitFor([&] { return oxtest::Pixels(nullptr, 40, 30, 120, 18) == title; }, 3000));

  playing.channels = 1;
  block::OxTrackPlaying.WriteValue(playing);
  EXPECT_TRUE(shows(20, 20, kStereoColour));  // images are looked at again only on a refresh
  g_refresh = true;
  EXPECT_TRUE(oxtest::WaitFor([&] { return shows(20, 20, kMainColour); }, 3000));
  EXPECT_TRUE(shows(130 + 13, 12, kMainColour));  // "Mono": 4 x 3 pixels, redrawn on the refresh

  // The equaliser curve along the top once every band is at +200.
  EqPositions eq{};
  for (int32_t& band : eq.sliders) band = 200;
  block::OxEqPositions.WriteValue(eq);
  EXPECT_TRUE(oxtest::WaitFor([&] { return shows(20 + 85, 99 + 5, 0xFF0000); }, 3000));

  // A right click on the title opens the track menu; its En-Queue queues the playing track.
  Click(60, 38, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  HWND menu = nullptr;
  ASSERT_TRUE(oxtest::WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) != nullptr; }, 3000));
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(oxtest::WaitFor([] { return oxtest::ReadRecords<QueueRecord>(QueueFile()).size() == 1; }, 3000));
  EXPECT_EQ(oxtest::ReadRecords<QueueRecord>(QueueFile()).at(0).track.Path(), "C:\\Music\\playing.mp3");

  // A press 50 pixels into the track sets 50 and does not drag the window. The drag ends when the
  // capture is taken away (Alt+Tab), as the system tells the window: moves with the button still
  // down set nothing.
  auto volume = [] { return oxtest::Value<uint32_t>(block::OxVolume); };
  HWND main = Find("OxTestMain");
  Mouse(MOUSEEVENTF_MOVE, 20 + 50, 65);
  Mouse(MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(oxtest::WaitFor([&] { return volume() == 50; }, 3000));
  SendMessageA(main, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(GetDesktopWindow()));
  Mouse(MOUSEEVENTF_MOVE, 20 + 80, 65);
  Mouse(MOUSEEVENTF_MOVE, 20 + 90, 65);
  EXPECT_EQ(volume(), 50u);
  EXPECT_EQ(Rect("OxTestMain").left, 0);
  Mouse(MOUSEEVENTF_LEFTUP);
}

// Buttons: the mouse-over and pressed bitmaps, a toggle lit while its event is set (by a click or by
// anyone else), a set-mode button that only sets.
TEST_F(SkinWindowTest, ButtonsShowTheirStateAndRunTheirCommand) {
  evt::OxMute.Reset();
  evt::OxSkip.Reset();
  Mouse(MOUSEEVENTF_MOVE, 100, 300);
  Start();
  auto button = [](uint32_t rgb) {
    return oxtest::WaitFor([rgb] { return ScreenPixel(180, 67) == rgb; }, 3000);
  };
  EXPECT_TRUE(button(kNormalColour));
  Mouse(MOUSEEVENTF_MOVE, 180, 67);
  EXPECT_TRUE(button(kOverColour));
  Mouse(MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(button(kPressedColour));
  Mouse(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(evt::OxMute.IsSet());
  EXPECT_TRUE(button(kPressedColour));  // lit
  Sleep(600);                           // no double click
  Click(180, 67);
  EXPECT_FALSE(evt::OxMute.IsSet());    // a lit toggle's click turns it off
  EXPECT_EQ(Rect("OxTestMain").left, 0);  // a button press does not drag the window

  Mouse(MOUSEEVENTF_MOVE, 100, 300);
  EXPECT_TRUE(button(kNormalColour));  // the cursor left the window
  evt::OxMute.Set();  // someone else mutes: the button follows within the 500 ms pass
  EXPECT_TRUE(button(kPressedColour));
  evt::OxMute.Reset();

  for (int click = 0; click < 2; ++click) {
    Click(180, 87);
    Sleep(600);
    EXPECT_TRUE(evt::OxSkip.IsSet());  // set, and set again
  }
  evt::OxSkip.Reset();
}

TEST_F(SkinWindowTest, DraggingTakesDockedWindowsAlong_SnapsWithin16Pixels_PlacesAreSavedAndRestored) {
  Start();
  EXPECT_TRUE(oxtest::WaitFor([] { return GetForegroundWindow() == Find("OxTestMain"); }, 3000));
  // Real input can be lost on a loaded machine: the gesture is made again once if nothing moved.
  for (int attempt = 0; attempt < 2 && Rect("OxTestMain").left == 0; ++attempt) {
    Drag(100, 50, 140, 80);
    oxtest::WaitFor([] { return Rect("OxTestMain").left == 40; }, 3000);
  }
  auto place = [](const char* window) { return std::make_tuple(Rect(window).left, Rect(window).top); };
  EXPECT_EQ(place("OxTestMain"), std::make_tuple(40, 30));
  EXPECT_EQ(place("OxTestEq"), std::make_tuple(40, 129));  // docked below: comes along
  // The free window dragged to 10 pixels right of the main window's right edge: it snaps on.
  const RECT free = Rect("OxTestFree");
  Drag(free.left + 40, free.top + 40, 240 + 10 + 40 - 1, 60 + 40);
  EXPECT_TRUE(oxtest::WaitFor([] { return Rect("OxTestFree").left == 239; }, 3000)) << Rect("OxTestFree").left;

  manager_.reset();  // every window saves its place
  auto key = [this](const char* window) { return SkinWindowKey(folder_, window); };
  EXPECT_EQ(GetNumberSetting("X", HKEY_CURRENT_USER, key("OxTestMain").c_str()), 40u);
  EXPECT_EQ(GetNumberSetting("RY", HKEY_CURRENT_USER, key("OxTestEq").c_str()), 99u);
  EXPECT_EQ(GetNumberSetting("X", HKEY_CURRENT_USER, key("OxTestFree").c_str()), 239u);
  // Remembered places are used by placement 1 only: the free window comes back 199 pixels right of
  // the first window, which returns to its design place.
  WriteSkin("  show \"[ShowAlways]\"\n  rank 2", "  placement 1\n");
  Start();
  EXPECT_EQ(Rect("OxTestMain").left, 0);
  EXPECT_EQ(Rect("OxTestFree").left, 199);
}

// The others of a group take their places from where the first window is going, not from where
// its opening animation has it now.
TEST_F(SkinWindowTest, WindowsFollowTheFirstWindowsHomeWhileItSlidesIn) {
  WriteSkin("  placement 2\n  show \"<IsRillWindow>\"", "  animation 1\n");
  Start();
  EXPECT_EQ(Rect("OxTestEq").top, 99);
  EXPECT_TRUE(oxtest::WaitFor([] { return Rect("OxTestMain").top == 0; }, 3000));
  EXPECT_EQ(Rect("OxTestEq").top, 99);
}

TEST_F(SkinWindowTest, UserEventsAreSavedAndRestored_EscapeClosesAnEventWindow) {
  NamedEvent* eq = SkinEvent("UOxTestEq");
  NamedEvent* panel = SkinEvent("UOxTestPanel");
  Start();
  eq->Set();
  manager_.reset();
  EXPECT_EQ(GetNumberSetting("EVENT-UOxTestEq", HKEY_CURRENT_USER, SkinWindowKey(folder_, "OxTestMain").c_str()), 1u);
  eq->Reset();
  Start();
  EXPECT_TRUE(eq->IsSet());  // the main window's button restored it

  panel->Set();
  ASSERT_TRUE(oxtest::WaitFor([&] { return Rect("OxTestPanel").bottom - Rect("OxTestPanel").top == 80; }, 3000));
  SendMessageA(Find("OxTestPanel"), WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_FALSE(panel->IsSet());
  EXPECT_TRUE(oxtest::WaitFor([] { return Find("OxTestPanel") == nullptr; }, 3000));
}

TEST_F(SkinWindowTest, WheelDropsMediaKeysMinimiseAndClose) {
  SetNumberSetting(1, "HideWhenMin");
  Start();
  HWND main = Find("OxTestMain");
  auto volume = [] { return oxtest::Value<uint32_t>(block::OxVolume); };
  block::OxVolume.WriteValue(uint32_t{50});  // the steps themselves are the geometry tests' cases
  SendMessageA(main, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(240)), MAKELPARAM(100, 50));
  EXPECT_EQ(volume(), 62u);

  // Media keys act through the player window and through the taskbar window alike (what each
  // key does is the player actions' table).
  const HWND taskbar = FindWindowA(kTaskbarWindowClass, kTaskbarWindowClass);
  ASSERT_TRUE(taskbar);
  for (HWND to : {main, taskbar}) {
    evt::OxMute.Reset();
    EXPECT_EQ(SendMessageA(to, WM_APPCOMMAND, reinterpret_cast<WPARAM>(to), APPCOMMAND_VOLUME_MUTE << 16), TRUE);
    EXPECT_TRUE(evt::OxMute.IsSet());
  }
  evt::OxMute.Reset();

  // Three dropped files, in the shell's order: the first plays now, the others queue next.
  const std::string files[] = {"C:\\Music\\one.mp3", "C:\\Music\\two.mp3", "C:\\Music\\three.mp3"};
  std::string list;
  for (const std::string& f : files) list += f + '\0';
  list += '\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  // Another program holds the priority queue file meanwhile: the window does not wait for it.
  HANDLE held = CreateFileA(PriorityQueueFile().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const DWORD dropped = GetTickCount();
  SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  EXPECT_LT(GetTickCount() - dropped, 1000u);  // a file's open is retried for 10 s
  Sleep(300);
  CloseHandle(held);
  ASSERT_TRUE(oxtest::WaitFor([] { return FileTasks().IsIdle(); }, 5000));
  EXPECT_EQ(oxtest::Value<TrackRecord>(block::OxTrackShouldPlay).Path(), files[0]);
  const std::vector<QueueRecord> queued = oxtest::ReadRecords<QueueRecord>(PriorityQueueFile());
  ASSERT_EQ(queued.size(), 2u);
  EXPECT_EQ(queued[1].track.Path(), files[2]);

  // The taskbar window hides when minimised (the option) and comes back when the player is shown.
  evt::OxMinimize.Set();
  EXPECT_TRUE(oxtest::WaitFor([&] { return IsIconic(taskbar) && !evt::OxMinimize.IsSet(); }, 3000));
  EXPECT_TRUE(oxtest::WaitFor([&] { return GetNumberSetting("Minimized") == 1 && !IsWindowVisible(taskbar); }, 3000));
  evt::OxShowRill.Set();
  EXPECT_TRUE(oxtest::WaitFor([&] { return !IsIconic(taskbar) && IsWindowVisible(taskbar); }, 3000));
  EXPECT_TRUE(oxtest::WaitFor([] { return GetNumberSetting("Minimized") == 0; }, 3000));

  // Closing either window closes the player, which takes the windows down: they stay till then
  // (the taskbar window for a second start to find).
  for (HWND window : {main, taskbar}) {
    evt::OxClose.Reset();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(evt::OxClose.IsSet());
    EXPECT_TRUE(IsWindow(window));
  }
}

// The play button plays and stops and is lit while playing, "<Playlist>" starts the playlist window each time, "<Selective>"
// lights once the selective play list holds a record, and an equaliser band follows a press.
TEST_F(SkinWindowTest, PlayAndProgramButtons_SelectiveFollowsItsList_ABandSliderWritesTheRecord) {
  const std::string queuer = InstallFolder(false) + "Queuer.exe", commands = InstallFolder(false) + "commands.txt";
  ASSERT_TRUE(CopyFileA(oxtest::PeerPath().c_str(), queuer.c_str(), FALSE));
  DeleteFileA(commands.c_str());
  evt::OxPlay.Set();
  evt::OxPause.Set();
  block::OxEqPositions.WriteValue(EqPositions{});
  evt::OxEqPosChanged.Reset();
  Start();
  auto click = [](int x, int y) {
    Click(x, y);
    Mouse(MOUSEEVENTF_MOVE, 100, 300);
    Sleep(500);  // no double click
  };
  auto play = [](uint32_t rgb) { return oxtest::WaitFor([rgb] { return ScreenPixel(15, 42) == rgb; }, 3000); };
  EXPECT_TRUE(play(kPressedColour));  // lit while a track plays
  click(15, 42);
  EXPECT_TRUE(evt::OxPlay.IsSet() && !evt::OxPause.IsSet());  // paused: resumes
  EXPECT_TRUE(play(kPressedColour));
  click(15, 42);
  EXPECT_FALSE(evt::OxPlay.IsSet());  // playing: stops
  EXPECT_TRUE(play(kNormalColour));
  click(10, 57);
  click(10, 57);
  auto started = [&] { return oxtest::ReadText(commands); };
  EXPECT_TRUE(oxtest::WaitFor([&] {
    const std::string text = started();
    return std::count(text.begin(), text.end(), '\n') == 2;
  }, 5000));
  EXPECT_EQ(started(), queuer + "\n" + queuer + "\n");  // the program's path alone, twice

  EXPECT_EQ(ScreenPixel(185, 17), kNormalColour);
  oxtest::WriteWholeFile(SelectivePlayListFile(), std::string(8, 's'));
  EXPECT_TRUE(oxtest::WaitFor([] { return ScreenPixel(185, 17) == kPressedColour; }, 8000));

  Click(175, 27);  // the balance's left end writes 1
  EXPECT_TRUE(oxtest::WaitFor([&] { return oxtest::Value<uint32_t>(block::OxBalance) == 1; }, 3000));
  Click(10, 99 + 5 + 10);  // 10 of the band's 50 pixels from its top: 80
  const EqPositions eq = oxtest::Value<EqPositions>(block::OxEqPositions);
  EXPECT_EQ(eq.sliders[0], 80 * 4 - 200);
  EXPECT_TRUE(evt::OxEqPosChanged.IsSet());
  DeleteFileA(SelectivePlayListFile().c_str());
  EXPECT_TRUE(oxtest::WaitFor([&] { return DeleteFileA(queuer.c_str()) != 0; }, 5000));
}

// The open-files dialog from its button, driven as a user would: three names typed, OK pressed.
// While it is up the buttons still follow the mouse and their tooltip is gone.
TEST_F(SkinWindowTest, TheOpenFilesButtonsDialogPlaysTheChosenFilesInNameOrder) {
  WriteSkin("image \"Stereo\"", "button \"Open\"\n  window 1\n  x 125\n  y 52\n  bitmap \"mute\"\n  command \"<OpenMusicFile>\"\n");
  oxtest::ScratchFolder music;
  for (const char* name : {"c.mp3", "a.mp3", "b.mp3"}) oxtest::WriteWholeFile(music / name, "not really music");
  SetTextSetting(music.Path().c_str(), "LastAccessedFolder");
  Start();
  auto tooltip = [] {
    HWND tip = FindWindowA("TTWindow", nullptr);
    return tip && IsWindowVisible(tip);
  };
  Mouse(MOUSEEVENTF_MOVE, 135, 59);
  ASSERT_TRUE(oxtest::WaitFor(tooltip, 3000));
  Mouse(MOUSEEVENTF_LEFTDOWN);
  Mouse(MOUSEEVENTF_LEFTUP);
  HWND dialog = nullptr;
  ASSERT_TRUE(oxtest::WaitFor([&] { return (dialog = FindWindowA("#32770", "Select Music File(s)")) != nullptr; }, 5000));
  SetWindowPos(dialog, nullptr, 250, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(oxtest::WaitFor([&] { return !tooltip(); }, 1000));
  Mouse(MOUSEEVENTF_MOVE, 100, 120);
  EXPECT_TRUE(oxtest::WaitFor([] { return ScreenPixel(135, 59) == kNormalColour; }, 1000));
  EXPECT_TRUE(oxtest::AnswerFileDialog("Select Music File(s)", "\"c.mp3\" \"a.mp3\" \"b.mp3\""));
  ASSERT_TRUE(oxtest::WaitFor([] { return !FindWindowA("#32770", "Select Music File(s)"); }, 5000));
  EXPECT_TRUE(oxtest::WaitFor(
      [&] { return oxtest::Value<TrackRecord>(block::OxTrackShouldPlay).Path() == music / "a.mp3"; }, 5000));
  ASSERT_TRUE(oxtest::WaitFor([] { return FileTasks().IsIdle(); }, 5000));
  const std::vector<QueueRecord> queued = oxtest::ReadRecords<QueueRecord>(PriorityQueueFile());
  ASSERT_EQ(queued.size(), 2u);
  EXPECT_EQ(queued[0].track.Path(), music / "b.mp3");
  EXPECT_EQ(GetTextSetting("LastAccessedFolder"), music.Path());
}

// The tray icon (none when the option says so), driven through its window's messages with the
// cursor placed by the test and a clock of the test's: resting pops the tray-control window up at
// the cursor and goes once the mouse has left it (how long each waits is TrayHover's).
TEST_F(SkinWindowTest, TheTrayIconPopsUpTheTrayControlAtTheCursor) {
  WriteSkin("", "", SkinText("tray_test.txt"), "tray.skin");
  evt::OxTrayControl.Reset();
  SetNumberSetting(1, "NoShowTray");
  {
    TrayIcon none;  // the option: no icon and no window
    EXPECT_EQ(none.Handle(), nullptr);
    EXPECT_FALSE(FindWindowA(kTrayWindowClass, nullptr));
  }
  DeleteSetting("NoShowTray");
  Start();
  static std::atomic<uint32_t> now{100000};
  TrayIcon tray([] { return now.load(); });
  ASSERT_EQ(FindWindowA(kTrayWindowClass, kTrayWindowClass), tray.Handle());
  // The icon's moves as the notification area sends them while the mouse rests on it, the clock
  // running meanwhile: the cursor the system reports may take a moment to settle there.
  SetCursorPos(500, 400);
  ASSERT_TRUE(PumpUntil([&] {
    SendMessageA(tray.Handle(), kTrayCallbackMessage, 1, WM_MOUSEMOVE);
    return (now += 100, IsWindowVisible(Find("OxTestTray")));
  }));
  EXPECT_EQ(std::make_tuple(Rect("OxTestTray").left, Rect("OxTestTray").top), std::make_tuple(500, 400));

  SetCursorPos(100, 700);  // off both
  EXPECT_TRUE(PumpUntil([] { return (now += 100, !evt::OxTrayControl.IsSet() && !Find("OxTestTray")); }));

  manager_.reset();  // no skin thread to take the request below before it is checked
  evt::OxPlay.Reset();
  SendMessageA(tray.Handle(), kTrayCallbackMessage, 1, WM_LBUTTONUP);
  EXPECT_TRUE(evt::OxPlay.IsSet());  // the play button
  evt::OxShowRill.Reset();
  SendMessageA(tray.Handle(), kTrayCallbackMessage, 1, WM_RBUTTONUP);
  EXPECT_TRUE(evt::OxShowRill.IsSet());
  evt::OxPlay.Reset();
}

// Tooltips: a button's with its text; the track tooltip over the title (where each goes and when it
// closes is TooltipMath's).
TEST_F(SkinWindowTest, TooltipsShowAfterTheirRestWithTheirText) {
  TrackRecord playing{};
  std::strcpy(playing.title, "Tooltip Title");
  std::strcpy(playing.path, "C:\\Music\\tip.mp3");
  block::OxTrackPlaying.WriteValue(playing);
  Mouse(MOUSEEVENTF_MOVE, 100, 300);
  Start();
  auto shown = [](const char* windowClass) {
    HWND tip = FindWindowA(windowClass, nullptr);
    return tip && IsWindowVisible(tip) ? tip : nullptr;
  };
  Mouse(MOUSEEVENTF_MOVE, 180, 87);  // on "Skip"
  ASSERT_TRUE(oxtest::WaitFor([&] { return shown("TTWindow") != nullptr; }, 3000));
  auto text = [](HWND window) {
    char buffer[2048] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer);
  };
  EXPECT_EQ(text(shown("TTWindow")), "Skip");

  Mouse(MOUSEEVENTF_MOVE, 60, 38);  // on the title: the button tooltip goes, the track one comes
  EXPECT_TRUE(oxtest::WaitFor([&] { return !shown("TTWindow"); }, 1000));
  ASSERT_TRUE(oxtest::WaitFor([&] { return shown("TTWindowOrp") != nullptr; }, 4000));
  EXPECT_EQ(text(shown("TTWindowOrp")), TrackInformation(playing));
}

// The visualisation area: the snapshot the visual output host rendered last, as bars; a press
// switches to the oscilloscope, which is remembered.
TEST_F(SkinWindowTest, TheVisualisationAreaShowsTheRenderedSnapshot_APressSwitchesToTheScope) {
  oxtest::ScratchFolder noPlugins;
  VisualOutputHost host(noPlugins.Path());
  Start();
  OxVisualSnapshot loud{};
  loud.sampleRate = 44100;
  for (uint8_t& v : loud.spectrum[0]) v = 255;
  host.Post(loud);
  // Bars of 4 segments from the bottom (y 95) up: 255 fills three.
  auto shows = Shows;
  EXPECT_TRUE(oxtest::WaitFor([&] { return shows(42, 83, 0x00FFFF); }, 3000));
  Click(100, 80);
  // Silence: the scope's line through the middle (20 x 128 / 256 = 10), the bars gone.
  EXPECT_TRUE(oxtest::WaitFor([&] { return shows(100, 86, 0xFF00FF) && shows(42, 83, kMainColour); }, 3000));
  EXPECT_EQ(Rect("OxTestMain").left, 0);  // the press was the area's: no drag
  manager_.reset();
  EXPECT_EQ(GetNumberSetting("Vis-Showing", HKEY_CURRENT_USER, SkinWindowKey(folder_, "OxTestMain").c_str()), 1u);
}

}  // namespace
}  // namespace ox
