#include "ui/ButtonSet.h"

#include <windowsx.h>

#include <cstdint>

#include "core/NamedObjects.h"
#include "queue/ButtonCommands.h"

namespace ox {

struct ButtonSet::Button {
  Window child;
  Bitmap bitmaps[3];  // normal, pressed, mouse over: as ButtonBitmap numbers them
  std::string command;
  int32_t eventMode = 0;
  SkinRect rect;
  int32_t state = 0;  // 0 idle, 1 pressed, 2 mouse over
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
    if (b->eventMode == 0 && IsEventCommand(b->command) && b->command != "evtOxPlay") {
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
  if (!buttons_.empty()) thread_ = std::make_unique<WorkerThread>(Watch, reinterpret_cast<uintptr_t>(this));
}

ButtonSet::~ButtonSet() {
  thread_.reset();  // closes the tooltip window on its own thread
  tooltips_.reset();
  ScopedLock hold(lock::ButtonSets);
  for (auto& b : buttons_) b->child.Destroy();
}

uint32_t ButtonSet::Watch(WorkerThread& self) {
  auto& set = *reinterpret_cast<ButtonSet*>(self.Argument());
  const HANDLE wake[] = {self.StopHandle(), set.mouseMessage_.Handle()};
  DWORD lastStates = GetTickCount();
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
      set.tooltips_->Pass(cursor);
      nearby = set.tooltips_->Showing();
      overTool = set.tooltips_->OverTool();
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
    const DWORD now = GetTickCount();
    if (now - lastStates >= 250 || (set.near_ && !nearby)) {  // and at once when the cursor has gone
      lastStates = now;
      ScopedLock hold(lock::ButtonSets);
      set.UpdateStates(cursor);
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

void ButtonSet::UpdateStates(POINT cursor) {
  // The button under the cursor, unless another window covers the place.
  const HWND under = WindowFromPoint(cursor);
  POINT at = cursor;
  ScreenToClient(parent_, &at);
  Button* hot = under == parent_ || GetParent(under) == parent_ ? ButtonAt(MAKELPARAM(at.x, at.y)) : nullptr;
  const bool held = ((GetAsyncKeyState(VK_LBUTTON) | GetAsyncKeyState(VK_RBUTTON)) & 0x8000) != 0;
  for (auto& b : buttons_) {
    if (b.get() == hot) SetState(*b, held ? 1 : 2, b->lit);
    else if (b->state != 0) SetState(*b, 0, b->lit);
  }
}

ButtonSet::Button* ButtonSet::ButtonAt(LPARAM lParam) {
  const int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  for (auto& b : buttons_) {
    const SkinRect& r = b->rect;
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom && IsWindowVisible(b->child.Handle())) return b.get();
  }
  return nullptr;
}

bool ButtonSet::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    ++mouseMessages_;
    if (!near_) {
      near_ = true;  // the watch thread looks at once, and then every 50 ms
      mouseMessage_.Set();
    }
  }
  if (message == WM_MOUSELEAVE) {
    near_ = true;  // the watch thread looks once more and finds it gone
    mouseMessage_.Set();
    return false;
  }
  switch (message) {  // the messages for the buttons; the others pass without the lock
    case WM_DRAWITEM:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
      break;
    default:
      return false;
  }
  ScopedLock hold(lock::ButtonSets);
  switch (message) {
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      for (auto& b : buttons_) {
        if (item->hwndItem != b->child.Handle()) continue;
        const Bitmap& shown = b->bitmaps[ButtonBitmap(b->state, b->lit)];
        (shown.IsEmpty() ? b->bitmaps[0] : shown).CopyTo(item->hDC, 0, 0);
        result = TRUE;
        return true;
      }
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      Button* b = ButtonAt(lParam);
      if (!b) return false;
      captured_ = b;
      SetCapture(parent_);
      for (auto& other : buttons_) SetState(*other, other.get() == b ? 1 : 0, other->lit);
      return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      Button* b = ButtonAt(lParam);
      Button* pressed = captured_;
      captured_ = nullptr;
      if (GetCapture() == parent_) ReleaseCapture();
      if (!pressed) return false;
      const bool clicked = b == pressed && b->state == 1;
      SetState(*pressed, b == pressed ? 2 : 0, pressed->lit);
      if (!clicked) return true;
      if (message == WM_RBUTTONUP && b->command == "<PrevPlayed>") {
        RightClickButton(b->command);
      } else if (const std::optional<bool> lit = RunButtonCommand(b->command, b->eventMode)) {
        SetState(*b, b->state, *lit);
      }
      return true;
    }
    case WM_MOUSEMOVE: {
      POINT cursor;
      if (GetCursorPos(&cursor)) UpdateStates(cursor);
      return captured_ != nullptr;
    }
  }
  return false;
}

void ButtonSet::EventPass() {
  ScopedLock hold(lock::ButtonSets);
  for (auto& b : buttons_) {
    if (b->eventMode != 0 || !IsEventCommand(b->command) || b->command == "evtOxPlay") continue;
    if (NamedEvent* event = SkinEvent(b->command)) SetState(*b, b->state, event->IsSet());
  }
}

void ButtonSet::SelectivePass() {
  if (!hasSelective_) return;
  ScopedLock hold(lock::ButtonSets);
  bool asked = false, has = false;
  for (auto& b : buttons_) {
    if (b->command != "<Selective>") continue;
    if (!asked) has = SelectivePlayListHasRecords(GetTickCount()), asked = true;
    SetState(*b, b->state, has);
  }
}

}  // namespace ox
