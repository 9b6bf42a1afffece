#include "ui/SkinWindow.h"

#include <shellapi.h>
#include <windowsx.h>

#include "base/FileSource.h"
#include "base/TaskQueue.h"
#include "base/Ticks.h"
#include "base/Wide.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "ui/ButtonCommands.h"
#include "queue/PlayerCommands.h"
#include "ui/PlayerActions.h"
#include "ui/PlayerInput.h"
#include "ui/SkinManager.h"

namespace ox {

namespace {

constexpr UINT_PTR kAnimationTimer = 0, kEventTimer = 1;
constexpr WPARAM kEnqueueCommand = 40001;

SkinRect WorkArea() {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right, r.bottom};
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT& r = info.rcWork;
    reinterpret_cast<std::vector<SkinRect>*>(areas)->push_back({r.left, r.top, r.right, r.bottom});
  }
  return TRUE;
}

std::vector<SkinRect> WorkAreas() {
  std::vector<SkinRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

std::optional<WindowPlace> SavedPlace(const std::string& key, const Setting& x, const Setting& y) {
  if (!SettingStored(x, {{}, key}) || !SettingStored(y, {{}, key})) return std::nullopt;
  return WindowPlace{ReadSigned(x, {{}, key}), ReadSigned(y, {{}, key})};
}

// The drag in progress, process-wide: one at a time, on the skin thread. It follows the mouse
// messages while the window holds the capture, and the 30 ms timer while the button stays down, so
// a capture taken away (another program, an activation that did not come through) drops no motion.
struct DragState {
  bool active = false;
  POINT last{};
  Docking docking;
  const SkinGroup* group = nullptr;
  const SkinWindow* window = nullptr;
};
DragState g_drag;

std::vector<DragWindow> DragView(const SkinGroup& group) {
  std::vector<DragWindow> view;
  for (const auto& w : group.windows) view.push_back({w->Rect(), w->Placement(), w->IsCreated()});
  return view;
}

}  // namespace

void SkinGroup::Restack(bool onFocus) const {
  std::vector<int8_t> ranks;
  std::vector<bool> exists;
  for (const auto& w : windows) {
    ranks.push_back(w->Rank());
    exists.push_back(w->IsCreated());
  }
  const std::vector<StackStep> plan = StackingPlan(ranks, exists);
  if (!onFocus && windows.size() >= 2 && exists[plan[0].window])
    SetWindowPos(windows[plan[0].window]->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (const StackStep& step : plan) {
    if (!step.behind || !exists[step.window]) continue;
    HWND window = windows[step.window]->Handle(), ahead = windows[*step.behind]->Handle();
    bool behind = false;
    for (HWND w = GetWindow(ahead, GW_HWNDNEXT); w && !behind; w = GetWindow(w, GW_HWNDNEXT)) behind = w == window;
    if (!behind) SetWindowPos(window, ahead, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (const auto& w : windows) {
    if (w->IsCreated()) UpdateWindow(w->Handle());
  }
}

SkinWindow::SkinWindow(std::string folder, SkinWindowRecords records, SkinGroup* group)
    : folder_(std::move(folder)),
      record_(records.window.As<WindowRecord>()),
      elements_(records.elements),
      group_(group),
      controls_(folder_, record_.header, elements_) {
  name_ = std::string(FieldText(record_.header.name));
  key_ = SkinWindowKey(folder_, name_);
  conditionText_ = std::string(FieldText(record_.showCondition));
  condition_ = ClassifyShowCondition(conditionText_);
  if (condition_ == ShowCondition::Event) event_ = SkinEvent(conditionText_);
}

bool SkinWindow::ConditionHolds() const {
  switch (condition_) {
    case ShowCondition::Always:
    case ShowCondition::MainWindow:
      return true;
    case ShowCondition::Event:
      return event_ && event_->IsSet();
    case ShowCondition::Never:
      break;
  }
  return false;
}

bool SkinWindow::Create(HWND taskbar) {
  if (window_) return true;
  closing_ = closed_ = false;
  taskbar_ = taskbar;
  const SkinWindow* first = group_->First();
  const bool topmost = IsTopmost() || (first && first->IsTopmost());
  const bool neverInTask = ReadNumber(setting::NeverInTask) != 0;
  DWORD style = WS_POPUP, exStyle = WS_EX_TOOLWINDOW;
  if (IsMainWindow()) {
    style |= WS_SYSMENU | WS_MINIMIZEBOX;
    exStyle = WS_EX_TOPMOST | (neverInTask ? WS_EX_TOOLWINDOW : 0);
  }
  if (topmost) exStyle |= WS_EX_TOPMOST;
  const std::string className = SkinWindowClassName(name_);
  const WindowClass windowClass{className.c_str(), Procedure, CS_OWNDC | CS_DBLCLKS};
  if (!window_.Create(windowClass, "", style, exStyle, 100, 100, 50, 50, topmost ? nullptr : taskbar, this))
    return false;
  HWND hwnd = window_.Handle();
  if (IsMainWindow()) {
    SetWindowTextW(hwnd, L"Orlavox");
    SetClassLongPtrA(hwnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(101))));
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  DragAcceptFiles(hwnd, TRUE);
  buttons_ = std::make_unique<ButtonSet>(hwnd, folder_, record_.header, elements_);
  const std::string bitmap(FieldText(record_.bitmap));
  if (IsBitmapName(bitmap)) background_.LoadFile(folder_ + bitmap + ".bmp");
  backBuffer_.Create(background_.Width(), background_.Height());

  home_ = PlaceToOpen();
  mode_ = record_.openingAnimation >= 1 && record_.openingAnimation <= 10 ? record_.openingAnimation : 0;
  start_ = AnimationStart(mode_, home_, background_.Width(), background_.Height(), group_->bounds, WorkArea());
  MoveTo(start_);
  ApplyOutline();
  for (const SkinRecord& element : elements_) {
    if (element.Type() != SkinRecordType::Button) continue;
    const ButtonRecord button = element.As<ButtonRecord>();
    const std::string command(FieldText(button.command));
    if (!command.empty() && command[0] == 'U' && ReadNumber(setting::UserEvent, {command, key_}))
      if (NamedEvent* event = SkinEvent(command)) event->Set();
  }
  for (const SkinRecord& element : elements_) {  // the display mode each visualisation area had last
    if (element.Type() != SkinRecordType::Visualisation) continue;
    const SettingAt at{element.Header().Name(), key_};
    if (SettingStored(setting::VisualShowing, at))
      controls_.SetVisualMode(element.Header().Name(), static_cast<int32_t>(ReadNumber(setting::VisualShowing, at)));
  }
  controls_.Initialise();
  Repaint();
  window_.Show(IsMainWindow() ? SW_SHOW : SW_SHOWNOACTIVATE);  // only the player window takes the focus
  if (topmost) {
    if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr))
      SetWindowPos(hwnd, tray, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  animationStart_ = Ticks();
  PlaceTrackTooltip();
  group_->Restack(false);
  if (!topmost && taskbar && IsIconic(taskbar)) {
    // A window made while the player is minimised joins it there.
    ShowWindow(taskbar, SW_SHOWNOACTIVATE);
    ShowWindow(taskbar, SW_RESTORE);
    if (IsMainWindow()) SetWindowPos(taskbar, nullptr, window_.X(), window_.Y(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(taskbar, SW_MINIMIZE);
    if (ReadNumber(setting::NeverInTask)) ShowWindow(taskbar, SW_HIDE);
  }
  return true;
}

WindowPlace SkinWindow::PlaceToOpen() const {
  const SkinWindow* first = group_->First();
  PlacementInput in;
  in.placement = record_.placement;
  in.isFirst = first == this;
  in.record = {record_.header.x, record_.header.y};
  in.firstRecord = first ? WindowPlace{first->record_.header.x, first->record_.header.y} : in.record;
  if (first && first != this && first->IsCreated()) in.firstNow = first->SettledPlace();
  in.relative = SavedPlace(key_, setting::WindowRX, setting::WindowRY);
  in.saved = SavedPlace(key_, setting::WindowX, setting::WindowY);
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  in.cursor = {cursor.x, cursor.y};
  in.group = group_->bounds;
  in.work = WorkArea();
  in.width = background_.Width(), in.height = background_.Height();
  in.workAreas = WorkAreas();
  return HomePosition(in);
}

void SkinWindow::MoveTo(const AnimationFrame& frame) {
  SetWindowPos(window_.Handle(), nullptr, frame.at.x, frame.at.y, frame.width, frame.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  window_.Refresh();
}

void SkinWindow::ApplyOutline() {
  const std::string bitmap(FieldText(record_.bitmap));
  if (!IsBitmapName(bitmap)) return;
  DataFile file(folder_ + bitmap + ".bin", FileAccess::Read, FileCreation::OpenExisting);
  if (!file.IsOpen()) return;
  FileSource source(file);
  const std::vector<SkinPoint> points = ReadOutline(source);
  if (points.size() < 3) return;
  std::vector<POINT> polygon(points.size());
  for (size_t i = 0; i < points.size(); ++i) polygon[i] = {points[i].x, points[i].y};
  HRGN region = CreatePolygonRgn(polygon.data(), static_cast<int>(polygon.size()), ALTERNATE);
  if (region && !SetWindowRgn(window_.Handle(), region, TRUE)) DeleteObject(region);  // else the window owns it
}

bool SkinWindow::Animate() {
  if (!window_ || mode_ == 0) return false;
  const int64_t t = static_cast<int64_t>(TicksSince(animationStart_, Ticks()));
  const AnimationFrame frame =
      AnimationAt(mode_, closing_, t, start_, home_, background_.Width(), background_.Height());
  MoveTo(frame);
  group_->Restack(false);
  if (frame.done) {
    mode_ = 0;
    if (closing_) closed_ = true;
  }
  return !frame.done;
}

void SkinWindow::StartClosing() {
  if (!window_ || closing_) return;
  SetRefreshPace(true);
  if (g_drag.active && g_drag.group == group_) EndDrag();
  closing_ = true;
  home_ = Place();
  mode_ = record_.openingAnimation >= 1 && record_.openingAnimation <= 10 ? record_.openingAnimation : 0;
  if (mode_ == 0) {
    window_.Hide();
    closed_ = true;
    return;
  }
  start_ = AnimationStart(mode_, home_, background_.Width(), background_.Height(), group_->bounds, WorkArea());
  animationStart_ = Ticks();
}

void SkinWindow::SavePlace() const {
  for (const auto& [name, set] : UserEventStates()) WriteNumber(setting::UserEvent, set ? 1 : 0, {name, key_});
  // Where it stands for good: the home position, not a frame of a closing animation.
  const WindowPlace at = closing_ || mode_ ? home_ : Place();
  WriteNumber(setting::WindowX, static_cast<uint32_t>(at.x), {{}, key_});
  WriteNumber(setting::WindowY, static_cast<uint32_t>(at.y), {{}, key_});
  const SkinWindow* first = group_->First();
  if (first && first != this && first->IsCreated()) {
    const WindowPlace origin = first->SettledPlace();
    WriteNumber(setting::WindowRX, static_cast<uint32_t>(at.x - origin.x), {{}, key_});
    WriteNumber(setting::WindowRY, static_cast<uint32_t>(at.y - origin.y), {{}, key_});
  }
}

void SkinWindow::Destroy() {
  if (window_) {
    if (g_drag.active && g_drag.group == group_) EndDrag();
    SavePlace();
    for (const auto& [name, mode] : controls_.VisualModes())
      WriteNumber(setting::VisualShowing, static_cast<uint32_t>(mode), {name, key_});
    buttons_.reset();
    trackTooltip_.Destroy();
    window_.Destroy();
  }
  controls_.Release();
  background_.Release();
  backBuffer_.Release();
  mode_ = 0;
  closing_ = closed_ = false;
}

void SkinWindow::Repaint() {
  if (backBuffer_.IsEmpty()) return;
  background_.CopyTo(backBuffer_.Dc(), 0, 0);
  controls_.Paint(backBuffer_.Dc(), background_);
  Invalidate();
}

bool SkinWindow::ElementMouse(enum ElementMouse kind, LPARAM lParam) {
  if (backBuffer_.IsEmpty()) return false;
  return controls_.Mouse(kind, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), window_.Handle(), backBuffer_.Dc(),
                         background_);
}

bool SkinWindow::Busy() const {
  if (!window_) return false;
  return mode_ != 0 || (g_drag.active && g_drag.window == this) || controls_.Busy(Ticks());
}

void SkinWindow::SetRefreshPace(bool fast) {
  if (!window_ || fast == fastRefresh_) return;
  fastRefresh_ = fast;
  if (fast) SetTimer(window_.Handle(), kAnimationTimer, 30, nullptr);
  else KillTimer(window_.Handle(), kAnimationTimer);  // the skin thread's check ticks it meanwhile
}

void SkinWindow::RefreshTick() {
  if (!window_) return;
  if (g_drag.active && g_drag.window == this) {
    if (GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000) Drag();
    else EndDrag();
  }
  Animate();
  if (!backBuffer_.IsEmpty()) controls_.Refresh(window_.Handle(), backBuffer_.Dc(), background_);
  if (buttons_) buttons_->SelectivePass();
  SetRefreshPace(Busy());
  if (IsFirst() && evt::OxMinimize.IsSet()) {  // one window of a group is enough to hear it
    evt::OxMinimize.Reset();
    if (taskbar_) {
      ShowWindow(taskbar_, SW_MINIMIZE);
      if (ReadNumber(setting::NeverInTask)) ShowWindow(taskbar_, SW_HIDE);
    }
  }
}

void SkinWindow::IdleTick() {
  if (window_ && !fastRefresh_) RefreshTick();
}

void SkinWindow::AnimationTick() {
  if (!window_ || !IsVisible() || IsMinimised()) return;
  if (!backBuffer_.IsEmpty()) controls_.Tick(window_.Handle(), backBuffer_.Dc());
  trackTooltip_.Tick(window_.Handle(), Ticks(), cursorInside_);
}

void SkinWindow::PlaceTrackTooltip() {
  if (!window_ || !IsWindowVisible(window_.Handle())) return;
  std::vector<SkinRect> fields;
  for (const SkinRecord& element : elements_) {
    if (element.Type() != SkinRecordType::Text) continue;
    const TextRecord text = element.As<TextRecord>();
    if (!IsTrackTitleKind(text.kind)) continue;
    const SkinRect r = ElementRect(text.header, record_.header);
    fields.push_back({r.left + window_.X(), r.top + window_.Y(), r.right + window_.X(), r.bottom + window_.Y()});
  }
  trackTooltip_.SetRectangles(std::move(fields));
}

void SkinWindow::Invalidate() const {
  if (window_) InvalidateRect(window_.Handle(), nullptr, FALSE);
}

void SkinWindow::StartDrag() {
  g_drag.active = true;
  g_drag.group = group_;
  g_drag.window = this;
  GetCursorPos(&g_drag.last);
  g_drag.docking = FindDocking(DragView(*group_));
  SetCapture(window_.Handle());
}

void SkinWindow::Drag() {
  POINT now;
  GetCursorPos(&now);
  const int32_t dx = now.x - g_drag.last.x, dy = now.y - g_drag.last.y;
  g_drag.last = now;
  if (!dx && !dy) return;
  size_t self = 0;
  while (self < group_->windows.size() && group_->windows[self].get() != this) ++self;
  const std::vector<bool> moving = WindowsThatMove(self, DragView(*group_), g_drag.docking);
  for (size_t i = 0; i < moving.size(); ++i) {
    if (!moving[i]) continue;
    SkinWindow& w = *group_->windows[i];
    w.home_.x += dx, w.home_.y += dy;
    const WindowPlace at = Snapped(i, w.home_, DragView(*group_), g_drag.docking);
    SetWindowPos(w.Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    w.window_.Refresh();
  }
  for (const auto& w : group_->windows) {
    if (w->IsCreated()) UpdateWindow(w->Handle());
  }
}

void SkinWindow::EndDrag() {
  g_drag.active = false;
  g_drag.group = nullptr;
  g_drag.window = nullptr;
  if (GetCapture() == window_.Handle()) ReleaseCapture();
}

void SkinWindow::OnDropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    wchar_t path[MAX_PATH + 1];
    const UINT length = DragQueryFileW(drop, i, path, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) paths.push_back(FromWide(std::wstring_view(path, length)));
  }
  DragFinish(drop);
  // The queue file may be held by another program for a while: not on the window's thread.
  if (!paths.empty()) FileTasks().Post([paths = std::move(paths)] { PlayNowInOrder(paths); });
}

LRESULT CALLBACK SkinWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  LRESULT result = 0;
  if (HandlePlayerInput(window, message, wParam, lParam, result)) return result;
  auto* self = reinterpret_cast<SkinWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  bool handled = false;
  {
    std::lock_guard<std::recursive_mutex> hold(SkinLock());
    if (message == WM_MOUSEMOVE) {  // the system tells the window when the cursor leaves it
      self->cursorInside_ = true;
      TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, window, 0};
      TrackMouseEvent(&leave);
    } else if (message == WM_MOUSELEAVE) {
      self->cursorInside_ = false;
    }
    handled = (self->buttons_ && self->buttons_->OnMessage(message, wParam, lParam, result)) ||
              self->OnMessage(window, message, wParam, lParam, result);
  }
  // A button's command and the track menu run without the skin lock: a dialog or a menu has a
  // message loop of its own, which serves this window meanwhile.
  if (self->buttons_) self->buttons_->RunClick();
  if (self->controls_.TakeTrackMenuRequest()) OpenTrackMenu(window);
  return handled ? result : DefWindowProcA(window, message, wParam, lParam);
}

bool SkinWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CREATE:
      fastRefresh_ = true;
      SetTimer(window, kAnimationTimer, 30, nullptr);
      SetTimer(window, kEventTimer, 500, nullptr);
      return true;
    case WM_MOUSEMOVE:
      if (!(wParam & MK_LBUTTON)) controls_.EndDrags(window);  // the release went elsewhere
      ElementMouse(ElementMouse::Move, lParam);
      if (g_drag.active && g_drag.window == this) Drag();
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // the second press of a double click counts as well
      SetRefreshPace(true);  // what the press starts is drawn at the fast pace at once
      if (!ElementMouse(ElementMouse::LeftDown, lParam)) StartDrag();
      return true;
    case WM_CAPTURECHANGED:  // taken away (Alt+Tab, a menu): no drag of a slider goes on
      if (reinterpret_cast<HWND>(lParam) != window) controls_.EndDrags(window);
      return true;
    case WM_LBUTTONUP:
      ElementMouse(ElementMouse::Up, lParam);
      if (g_drag.active) EndDrag();
      return true;
    case WM_RBUTTONDOWN:
      if (!ElementMouse(ElementMouse::RightDown, lParam)) StartOptionsMenu();
      return true;
    case WM_RBUTTONUP:
      ElementMouse(ElementMouse::Up, lParam);
      return true;
    case WM_MOUSEWHEEL:
      TurnVolumeWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return true;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return true;
    case WM_TIMER:
      if (wParam == kEventTimer && buttons_) buttons_->EventPass();
      if (wParam == kAnimationTimer) RefreshTick();
      return true;
    case WM_CLOSE:
      evt::OxClose.Set();
      return true;
    case WM_KEYUP:
      if (wParam != VK_ESCAPE) return false;
      if (event_) event_->Toggle();  // a window shown by an event closes itself
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) != kEnqueueCommand) return false;
      FileTasks().Post(EnqueuePlaying);
      return true;
    case WM_ERASEBKGND:
      result = 1;  // the back buffer covers everything
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      backBuffer_.CopyTo(dc, 0, 0);
      EndPaint(window, &paint);
      return true;
    }
    case WM_MOVE:
      window_.Refresh();
      PlaceTrackTooltip();
      if (IsMainWindow() && taskbar_)
        SetWindowPos(taskbar_, nullptr, window_.X(), window_.Y(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return true;
    case WM_SETFOCUS:
      group_->Restack(true);
      return true;
  }
  return false;
}

}  // namespace ox
