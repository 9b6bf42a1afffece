// The buttons of one skin window: owner-drawn child windows showing their normal, mouse-over or
// pressed bitmap, lit while the toggle they stand for is on. The window hands them its mouse
// messages first; a thread follows the mouse over them between messages (every 50 ms while the
// cursor is near, every 250 ms while it is elsewhere).
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "base/NamedEvent.h"
#include "base/WorkerThread.h"
#include "ui/Bitmap.h"
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
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Event buttons in toggle mode lit while their event is set (every 500 ms).
  void EventPass();
  // "<Selective>" buttons lit while the selective play list holds a record (every 30 ms).
  void SelectivePass();

  struct Button;

 private:
  static uint32_t Watch(WorkerThread& self);
  // The mouse-over states from where the cursor is now.
  void UpdateStates(POINT cursor);
  void SetState(Button& b, int32_t state, bool lit);
  Button* ButtonAt(LPARAM lParam);

  HWND parent_;
  bool hasSelective_ = false;  // a "<Selective>" button, lit by SelectivePass
  std::atomic<uint32_t> mouseMessages_{0};  // counted by the window's thread
  std::atomic<bool> near_{true};  // the watch thread passes every 50 ms: the cursor moves over the window
  NamedEvent mouseMessage_{nullptr};  // set by a mouse message while the watch thread rests
  std::vector<std::unique_ptr<Button>> buttons_;
  Button* captured_ = nullptr;
  std::unique_ptr<WorkerThread> thread_;
  std::unique_ptr<TooltipManager> tooltips_;
};

}  // namespace ox
