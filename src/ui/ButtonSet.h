// The buttons of one skin window: owner-drawn child windows showing their normal, mouse-over or
// pressed bitmap, lit while the toggle they stand for is on. The window hands them its mouse
// messages first; a thread follows the mouse over them between messages (every 50 ms while the
// cursor is near, every 250 ms while it is elsewhere).
//
// Threads and locks. The skin thread creates and destroys the set, hands it the window's messages
// and runs the event and selective passes and the commands; the set's watch thread follows the
// cursor and owns the tooltip window. Both take lock::ButtonSets (one for every set in the
// process), only to read or change the buttons' state and lit flag and the pressed button, and to
// invalidate a button. The buttons themselves (windows, bitmaps, commands, places) do not change
// between construction and destruction and are read without it. Nothing is called out while it is
// held: a command, a dialog, a capture change (which sends WM_CAPTURECHANGED) and the tooltip
// window all run after it is released. The tooltip manager guards its tool list with its own lock.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/NamedEvent.h"
#include "base/WorkerThread.h"
#include "ui/Bitmap.h"
#include "ui/ButtonPresses.h"
#include "ui/ControlMath.h"
#include "ui/SkinRecords.h"
#include "ui/Tooltips.h"
#include "ui/Window.h"

namespace ox {

class ButtonSet {
 public:
  // Creates a child window for each button element of the window and starts the thread.
  ButtonSet(HWND parent, const std::string& folder, const SkinHeader& window, const std::vector<SkinRecord>& elements);
  // Stops the thread and destroys the buttons.
  ~ButtonSet();
  ButtonSet(const ButtonSet&) = delete;
  ButtonSet& operator=(const ButtonSet&) = delete;

  // The window's message, seen first; true when the buttons took it, with the answer in result.
  // WM_CAPTURECHANGED is never taken: the window's other controls hear it too. A click is only
  // noted: the window runs it with RunClick once it holds no lock of its own.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Runs the command of the click the last message made, if any (it may open a dialog).
  void RunClick();
  // Event buttons in toggle mode lit while their event is set (every 500 ms).
  void EventPass();
  // "<Selective>" buttons lit while the selective play list holds a record (every 30 ms).
  void SelectivePass();

  struct Button;

 private:
  static uint32_t Watch(WorkerThread& self);
  // The visible button at a point of the window's client area; with uncovered, none where another
  // window covers the point (a press or release message is the window's own: no need to ask).
  std::optional<size_t> ButtonAt(POINT client, bool uncovered) const;
  // With the lock: each button shows the state presses_ gives it.
  void ShowPresses();
  void SetState(Button& b, int32_t state, bool lit);
  bool Draw(const DRAWITEMSTRUCT& item, LRESULT& result);
  bool Press(LPARAM lParam);
  bool Release(bool right, LPARAM lParam);
  void Run(Button& b, bool right);
  void CaptureLost(HWND newOwner);

  HWND parent_;
  bool hasSelective_ = false;  // a "<Selective>" button, lit by SelectivePass
  std::atomic<uint32_t> mouseMessages_{0};  // counted by the window's thread
  std::atomic<bool> near_{true};  // the watch thread passes every 50 ms: the cursor moves over the window
  std::atomic<bool> held_{false};  // a mouse button was down at the last mouse message
  std::atomic<bool> inDialog_{false};  // a command's dialog is up: no tooltip over it
  NamedEvent mouseMessage_{nullptr};  // set by a mouse message while the watch thread rests
  std::vector<std::unique_ptr<Button>> buttons_;
  ButtonPresses presses_{0};  // under the lock
  Button* clicked_ = nullptr;   // clicked, its command not yet run; the skin thread's
  bool clickedRight_ = false;
  std::unique_ptr<WorkerThread> thread_;
  std::unique_ptr<TooltipManager> tooltips_;
};

}  // namespace ox
