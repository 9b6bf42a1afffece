// The press and hover states of a window's buttons, as the mouse messages and the cursor watch
// make them: which button shows pressed or mouse-over, which press holds the capture, and which
// release is a click. Buttons are numbered from 0; states are numbered as ButtonBitmap takes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace ox {

class ButtonPresses {
 public:
  enum : int32_t { kIdle = 0, kPressed = 1, kOver = 2 };
  struct Release {
    bool held;                   // a press held the capture: the release is the buttons'
    std::optional<size_t> click;  // released over itself while still showing pressed
  };

  explicit ButtonPresses(size_t count) : states_(count, kIdle) {}
  int32_t State(size_t button) const { return states_[button]; }
  bool Captured() const { return captured_.has_value(); }

  // A mouse message with the cursor over `hot` (none: over no button): it shows pressed while a
  // mouse button is held, else mouse-over; every other button is idle. Also during a press: the
  // pressed button shows released while the cursor is off it.
  void Move(std::optional<size_t> hot, bool held);
  // The cursor watch's look between messages: as Move, but a press follows the messages alone.
  void Pass(std::optional<size_t> hot, bool held);
  // A press on `button`: it takes the capture and shows pressed, every other button idle.
  void Press(size_t button);
  // The release with the cursor over `over`: the pressed button shows mouse-over when it is the
  // one under the cursor, else idle.
  Release ReleaseOver(std::optional<size_t> over);
  // The capture taken away (Alt+Tab, a menu): the press is forgotten, its release clicks nothing.
  void CaptureLost();

 private:
  std::vector<int32_t> states_;
  std::optional<size_t> captured_;
};

}  // namespace ox
