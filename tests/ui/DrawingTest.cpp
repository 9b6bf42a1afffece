#include <gtest/gtest.h>

#include "ui/Bitmap.h"
#include "ui/Gdi.h"
#include "ui/Window.h"

namespace ox {
namespace {

LRESULT CALLBACK OtherProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Its place and size follow the skin windows' moves (their tests drag them and read the saved places).
TEST(Window, DestroyUnregistersTheClass_TakesNoClassOfAnotherProcedure) {
  WNDCLASSA info;
  {
    Window window;
    ASSERT_TRUE(window.Create({"OxTestWrapped"}, "title", WS_POPUP, WS_EX_TOOLWINDOW, 30, 40, 50, 60));
    EXPECT_FALSE(window.Create({"OxTestWrapped"}, "again", WS_POPUP, 0, 0, 0, 1, 1));  // one window each
    Window twin, other, control;
    EXPECT_TRUE(twin.Create({"OxTestWrapped"}, "", WS_POPUP, 0, 0, 0, 1, 1));  // the same procedure: shared
    EXPECT_FALSE(other.Create({"OxTestWrapped", OtherProcedure}, "", WS_POPUP, 0, 0, 0, 1, 1));
    EXPECT_FALSE(control.Create({"STATIC", OtherProcedure}, "", WS_POPUP, 0, 0, 0, 1, 1));  // nor the system's
    ASSERT_TRUE(GetClassInfoA(ModuleInstance(), "STATIC", &info));
    EXPECT_NE(info.lpfnWndProc, OtherProcedure);
    EXPECT_TRUE(GetClassInfoA(ModuleInstance(), "OxTestWrapped", &info));
  }
  EXPECT_FALSE(FindWindowA("OxTestWrapped", nullptr));
  EXPECT_FALSE(GetClassInfoA(ModuleInstance(), "OxTestWrapped", &info));
}

TEST(Gdi, HoldersPutBackWhatTheyReplaced_TheFontMeasuresAndDrawsLines) {
  Bitmap canvas;
  ASSERT_TRUE(canvas.Create(200, 100));
  HDC dc = canvas.Dc();
  const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN), brush = GetCurrentObject(dc, OBJ_BRUSH);
  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  {
    BrushHolder white(dc, RGB(255, 255, 255));
    PenHolder red(dc, RGB(255, 0, 0));
    EXPECT_NE(GetCurrentObject(dc, OBJ_PEN), pen);
    Rectangle(dc, 0, 0, 200, 100);
    FontHolder text(dc, FontStyle{});
    const SIZE one = text.Measure("Orlavox");
    const SIZE lines = text.MeasureLines("Orla\tvox\nsecond line");
    EXPECT_GT(one.cx, 20);
    EXPECT_GE(lines.cy, 2 * one.cy);  // two lines
    EXPECT_GT(text.MeasureLines("a\tb").cx, text.Measure("ab").cx);  // the tab expanded
    text.DrawLines({10, 10, 190, 90}, "Orla\tvox\nsecond line", RGB(0, 0, 0));
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
  EXPECT_EQ(GetPixel(dc, 0, 50), RGB(255, 0, 0));  // the frame
  int dark = 0;
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 120; ++x) dark += GetPixel(dc, x, y) == RGB(0, 0, 0);
  EXPECT_GT(dark, 20);  // the text was drawn
}

}  // namespace
}  // namespace ox
