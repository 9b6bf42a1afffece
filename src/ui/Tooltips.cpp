#include "ui/Tooltips.h"

#include "base/Ticks.h"
#include "base/Wide.h"
#include "core/NamedObjects.h"
#include "queue/TrackInfo.h"
#include "ui/Gdi.h"

namespace ox {
namespace {

constexpr COLORREF kTooltipYellow = 0xCCFFFF;

FontStyle TooltipFont(TooltipKind kind) {
  FontStyle style;
  style.face = "MS Sans Serif";
  style.height = kind == TooltipKind::Button ? 12 : 8;
  return style;
}

std::string TitleOf(HWND window) {
  wchar_t text[4096] = {};
  GetWindowTextW(window, text, 4096);
  return FromWide(text);
}

}  // namespace

bool TooltipWindow::Create() {
  if (window_) return true;
  const char* name = kind_ == TooltipKind::Button ? "TTWindow" : "TTWindowOrp";
  WindowClass windowClass{name, Procedure, CS_OWNDC};
  windowClass.unicode = true;  // the title is the text shown
  return window_.Create(windowClass, "", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 100,
                        100, 50, 50, nullptr, reinterpret_cast<void*>(static_cast<uintptr_t>(kind_)));
}

LRESULT CALLBACK TooltipWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    return 0;
  }
  if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
  const auto kind = static_cast<TooltipKind>(GetWindowLongPtrA(window, GWLP_USERDATA));
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  {
    BrushHolder brush(dc, kTooltipYellow);
    PenHolder pen(dc, 0);  // black
    Rectangle(dc, client.left, client.top, client.right, client.bottom);
  }
  const std::string text = TitleOf(window);
  FontHolder font(dc, TooltipFont(kind));
  if (kind == TooltipKind::Button) {
    font.Draw(2, 2, text, 0);
  } else {
    RECT area = client;
    area.left += 4, area.top += 4;
    font.DrawLines(area, text, 0);
  }
  EndPaint(window, &paint);
  return 0;
}

void TooltipWindow::Show(const std::string& text, POINT cursor) {
  if (!Create()) return;
  HWND window = window_.Handle();
  if (!text.empty()) SetWindowTextW(window, Wide(text).c_str());
  SIZE size{};
  {
    DcHolder dc(window);
    FontHolder font(dc.Dc(), TooltipFont(kind_));
    const std::string title = TitleOf(window);
    size = kind_ == TooltipKind::Button ? font.Measure(title) : font.MeasureLines(title);
  }
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  const SkinRect r = TooltipPlace(kind_, cursor.x, cursor.y, size.cx, size.cy, desktop.right, desktop.bottom);
  const HWND foreground = GetForegroundWindow();
  SetWindowPos(window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(window, nullptr, TRUE);
  if (foreground && GetForegroundWindow() != foreground) SetForegroundWindow(foreground);
}

void TooltipManager::AddTool(HWND tool, std::string text) {
  std::lock_guard<std::mutex> hold(lock_);
  tools_.push_back({tool, std::move(text)});
}

void TooltipManager::Pass(POINT cursor) {
  TooltipWindow& tip = tip_;
  POINT client = cursor;
  ScreenToClient(parent_, &client);
  HWND child = ChildWindowFromPointEx(parent_, client, CWP_SKIPINVISIBLE);
  if (child == parent_) child = nullptr;
  std::lock_guard<std::mutex> hold(lock_);
  if (tip.IsShown()) {
    if (child && child == current_) return;
    tip.Hide();
    current_ = nullptr;
    hover_.last = 0;
    return;
  }
  const Tool* tool = nullptr;
  for (const Tool& t : tools_)
    if (t.window == child) tool = &t;
  overTool_ = tool != nullptr;
  if (!hover_.Pass(tool ? reinterpret_cast<uintptr_t>(tool->window) : 0, Ticks(), delayMs_)) return;
  if (!IsWindowVisible(tool->window) || WindowFromPoint(cursor) != tool->window) return;
  current_ = tool->window;
  tip.Show(tool->text, cursor);
}

void TrackTooltip::Tick(HWND window, uint32_t now, bool cursorInside) {
  if (rectangles_.empty() && !tip_.IsShown()) return;  // no title field to watch: nothing to ask the system
  if (!cursorInside && !tip_.IsShown()) {
    hoverStart_ = now;
    return;
  }
  // Waiting for a rest of two seconds, a look every 100 ms is enough; a shown tooltip follows
  // every tick.
  if (!tip_.IsShown() && looked_ && now - lookedAt_ < 100) return;
  looked_ = true, lookedAt_ = now;
  POINT cursor;
  if (!GetCursorPos(&cursor)) return;
  if (tip_.IsShown()) {
    if (KeepsTrackTooltip(shownAt_.x, shownAt_.y, cursor.x, cursor.y)) return;
    tip_.Hide();
    hoverStart_ = now;
    return;
  }
  bool over = false;
  for (const SkinRect& r : rectangles_)
    over = over || (cursor.x >= r.left && cursor.x <= r.right && cursor.y >= r.top && cursor.y <= r.bottom);
  if (!over) {
    hoverStart_ = now;
    return;
  }
  if (now - hoverStart_ < 2001) return;
  shownAt_ = cursor;
  if (WindowFromPoint(cursor) != window) return;
  TrackRecord playing{};
  block::OxTrackPlaying.ReadValue(playing);
  tip_.Show(TrackInformation(playing), cursor);
}

}  // namespace ox
