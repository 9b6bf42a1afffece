#include "ui/ButtonSet.h"

#include <windowsx.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "base/Ticks.h"
#include "core/NamedObjects.h"
#include "ui/ButtonCommands.h"

namespace ox {
namespace {

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

struct ButtonSet::Button {
  Window child;
  Bitmap bitmaps[3];  // normal, pressed, mouse over: as ButtonBitmap numbers them
  std::string command;
  int32_t eventMode = 0;
  SkinRect rect;
  int32_t state = 0;  // as presses_ last showed it
  bool lit = false;
};

ButtonSet::ButtonSet(HWND parent, const std::string& folder, const SkinHeader& window,
                     const std::vector<SkinRecord>& elements)
    : parent_(parent) {
  int id = 1000;
  for (const SkinRecord& element : elements) {
    if (element.Type() != SkinRecordType::Button) continue;
    const ButtonRecord record = element.As<ButtonRecord>();
    auto b = std::make_unique<Button>();
    b->command = std::string(FieldText(record.command));
    hasSelective_ = hasSelective_ || b->command == "<Selective>";
    b->eventMode = record.eventMode;
    const std::string name(FieldText(record.bitmap));
    if (IsBitmapName(name)) {
      b->bitmaps[0].LoadFile(folder + name + ".bmp");
      b->bitmaps[1].LoadFile(folder + name + "-d.bmp");
      b->bitmaps[2].LoadFile(folder + name + "-m.bmp");
    }
    const SkinRect r = ElementRect(record.header, window);
    b->rect = {r.left, r.top, r.left + b->bitmaps[0].Width(), r.top + b->bitmaps[0].Height()};
    if (!b->child.CreateControl("STATIC", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, r.left, r.top, 1, 1, parent, id++))
      continue;
    b->child.Resize(b->bitmaps[0].Width(), b->bitmaps[0].Height());
    if (b->eventMode == 0 && IsEventCommand(b->command)) {
      if (NamedEvent* event = SkinEvent(b->command)) b->lit = event->IsSet();
    }
    std::string tooltip(FieldText(record.tooltip));
    if (tooltip.empty()) tooltip = DefaultTooltip(b->command);
    if (!tooltip.empty()) {
      if (!tooltips_) tooltips_ = std::make_unique<TooltipManager>(parent);
      tooltips_->AddTool(b->child.Handle(), tooltip);
    }
    buttons_.push_back(std::move(b));
  }
  presses_ = ButtonPresses(buttons_.size());
  if (!buttons_.empty()) thread_ = std::make_unique<WorkerThread>(Watch, reinterpret_cast<uintptr_t>(this));
}

ButtonSet::~ButtonSet() {
  thread_.reset();  // closes the tooltip window on its own thread
  tooltips_.reset();
  for (auto& b : buttons_) b->child.Destroy();
}

uint32_t ButtonSet::Watch(WorkerThread& self) {
  auto& set = *reinterpret_cast<ButtonSet*>(self.Argument());
  const HANDLE wake[] = {self.StopHandle(), set.mouseMessage_.Handle()};
  uint32_t lastStates = Ticks();
  POINT last{INT32_MIN, INT32_MIN};
  for (;;) {
    // Every 50 ms while the cursor moves over the window or waits on a button for its tooltip.
    // Once the cursor has left (the window hears it leave) or rests, nothing changes here until
    // the next mouse message over the window, which wakes the thread: a look each second then,
    // for a leave the system did not report. Messages for this thread's tooltip window wake it too.
    const DWORD woke = MsgWaitForMultipleObjects(2, wake, FALSE, set.near_ ? 50 : 1000, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0 || self.StopRequested()) break;
    if (woke == WAIT_OBJECT_0 + 1) set.mouseMessage_.Reset();
    const uint32_t moves = set.mouseMessages_.load();
    POINT cursor;
    if (!GetCursorPos(&cursor)) continue;
    bool nearby = false, overTool = false;
    if (set.tooltips_) {
      if (set.inDialog_) {
        set.tooltips_->Close();  // a tooltip is topmost: it would stay over the dialog
      } else {
        set.tooltips_->Pass(cursor);
        nearby = set.tooltips_->Showing();
        overTool = set.tooltips_->OverTool();
      }
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {  // the tooltip window's
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    // Resting: the cursor has not moved since the last pass and no tooltip is waiting for its
    // delay (none under it, or its tooltip already up). A move or a leave is a message then.
    RECT area;
    const bool resting = cursor.x == last.x && cursor.y == last.y && (!overTool || nearby);
    last = cursor;
    nearby = !resting && (nearby || (GetWindowRect(set.parent_, &area) && PtInRect(&area, cursor)));
    const uint32_t now = Ticks();
    if (TicksSince(lastStates, now) >= 250 || (set.near_ && !nearby)) {  // and at once when the cursor has gone
      lastStates = now;
      POINT client = cursor;
      ScreenToClient(set.parent_, &client);
      const std::optional<size_t> hot = set.ButtonAt(client, true);
      ScopedLock hold(lock::ButtonSets);
      // Whether a mouse button is down is what the last message said, not what the device says
      // now: a release the window has not handled yet must not undo a press it has.
      set.presses_.Pass(hot, set.held_);
      set.ShowPresses();
    }
    set.near_ = nearby;
    // A mouse message during this pass found near_ still set and did not wake the thread: look
    // again at the 50 ms pace.
    if (set.mouseMessages_.load() != moves) set.near_ = true;
  }
  if (set.tooltips_) set.tooltips_->Close();
  return 0;
}

void ButtonSet::SetState(Button& b, int32_t state, bool lit) {
  if (ButtonBitmap(state, lit) != ButtonBitmap(b.state, b.lit)) InvalidateRect(b.child.Handle(), nullptr, FALSE);
  b.state = state, b.lit = lit;
}

std::optional<size_t> ButtonSet::ButtonAt(POINT client, bool uncovered) const {
  if (uncovered) {
    POINT screen = client;
    ClientToScreen(parent_, &screen);
    const HWND under = WindowFromPoint(screen);
    if (under != parent_ && GetParent(under) != parent_) return std::nullopt;
  }
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const SkinRect& r = buttons_[i]->rect;
    if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom &&
        IsWindowVisible(buttons_[i]->child.Handle()))
      return i;
  }
  return std::nullopt;
}

void ButtonSet::ShowPresses() {
  for (size_t i = 0; i < buttons_.size(); ++i) SetState(*buttons_[i], presses_.State(i), buttons_[i]->lit);
}

bool ButtonSet::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    held_ = (GET_KEYSTATE_WPARAM(wParam) & (MK_LBUTTON | MK_RBUTTON)) != 0;
    ++mouseMessages_;
    if (!near_) {
      near_ = true;  // the watch thread looks at once, and then every 50 ms
      mouseMessage_.Set();
    }
  }
  switch (message) {
    case WM_MOUSELEAVE:
      near_ = true;  // the watch thread looks once more and finds it gone
      mouseMessage_.Set();
      return false;
    case WM_CAPTURECHANGED:
      CaptureLost(reinterpret_cast<HWND>(lParam));
      return false;
    case WM_DRAWITEM:
      return Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), result);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
      return Press(lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      return Release(message == WM_RBUTTONUP, lParam);
    case WM_MOUSEMOVE: {
      // Where the mouse was and whether a button was down when the move happened, as the message
      // says: the device may have moved on, a release already made but not yet handled.
      const std::optional<size_t> hot = ButtonAt(PointOf(lParam), true);
      ScopedLock hold(lock::ButtonSets);
      presses_.Move(hot, held_);
      ShowPresses();
      return presses_.Captured();
    }
    default:
      return false;
  }
}

bool ButtonSet::Draw(const DRAWITEMSTRUCT& item, LRESULT& result) {
  for (auto& b : buttons_) {
    if (item.hwndItem != b->child.Handle()) continue;
    ScopedLock hold(lock::ButtonSets);
    const Bitmap& shown = b->bitmaps[ButtonBitmap(b->state, b->lit)];
    (shown.IsEmpty() ? b->bitmaps[0] : shown).CopyTo(item.hDC, 0, 0);
    result = TRUE;
    return true;
  }
  return false;
}

bool ButtonSet::Press(LPARAM lParam) {
  const std::optional<size_t> b = ButtonAt(PointOf(lParam), false);
  if (!b) return false;
  SetCapture(parent_);  // before the press is recorded: what it takes the capture from is no loss of it
  ScopedLock hold(lock::ButtonSets);
  presses_.Press(*b);
  ShowPresses();
  return true;
}

bool ButtonSet::Release(bool right, LPARAM lParam) {
  const std::optional<size_t> over = ButtonAt(PointOf(lParam), false);
  ButtonPresses::Release release;
  {
    ScopedLock hold(lock::ButtonSets);
    release = presses_.ReleaseOver(over);
    if (!release.held) return false;
    ShowPresses();
  }
  if (GetCapture() == parent_) ReleaseCapture();
  if (release.click) clicked_ = buttons_[*release.click].get(), clickedRight_ = right;
  return true;
}

void ButtonSet::RunClick() {
  Button* b = std::exchange(clicked_, nullptr);
  if (b) Run(*b, clickedRight_);
}

void ButtonSet::Run(Button& b, bool right) {
  const std::string command = b.command;
  if (right && command == "<PrevPlayed>") {
    RightClickButton(command);
    return;
  }
  const bool dialog = CommandOpensDialog(command);
  if (dialog) {
    inDialog_ = true;
    mouseMessage_.Set();  // the watch thread takes the tooltip away before the dialog is up
  }
  const std::optional<bool> lit = RunButtonCommand(command, b.eventMode);
  if (dialog) inDialog_ = false;
  if (!lit) return;
  ScopedLock hold(lock::ButtonSets);
  SetState(b, b.state, *lit);
}

void ButtonSet::CaptureLost(HWND newOwner) {
  if (newOwner == parent_) return;
  ScopedLock hold(lock::ButtonSets);
  presses_.CaptureLost();
  ShowPresses();
}

void ButtonSet::EventPass() {
  for (auto& b : buttons_) {
    if (b->eventMode != 0 || !IsEventCommand(b->command)) continue;
    const NamedEvent* event = SkinEvent(b->command);
    if (!event) continue;
    const bool set = event->IsSet();
    ScopedLock hold(lock::ButtonSets);
    SetState(*b, b->state, set);
  }
}

void ButtonSet::SelectivePass() {
  if (!hasSelective_) return;
  const bool has = SelectivePlayListHasRecords(Ticks());
  ScopedLock hold(lock::ButtonSets);
  for (auto& b : buttons_) {
    if (b->command == "<Selective>") SetState(*b, b->state, has);
  }
}

}  // namespace ox
