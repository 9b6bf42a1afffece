#include "ui/ButtonPresses.h"

#include <utility>

namespace ox {

void ButtonPresses::Move(std::optional<size_t> hot, bool held) {
  for (size_t i = 0; i < states_.size(); ++i) states_[i] = i == hot ? (held ? kPressed : kOver) : kIdle;
}

void ButtonPresses::Pass(std::optional<size_t> hot, bool held) {
  if (!captured_) Move(hot, held);
}

void ButtonPresses::Press(size_t button) {
  captured_ = button;
  for (size_t i = 0; i < states_.size(); ++i) states_[i] = i == button ? kPressed : kIdle;
}

ButtonPresses::Release ButtonPresses::ReleaseOver(std::optional<size_t> over) {
  const std::optional<size_t> pressed = std::exchange(captured_, std::nullopt);
  if (!pressed) return {false, std::nullopt};
  const bool clicked = over == pressed && states_[*pressed] == kPressed;
  states_[*pressed] = over == pressed ? kOver : kIdle;
  return {true, clicked ? pressed : std::nullopt};
}

void ButtonPresses::CaptureLost() {
  if (captured_) states_[*captured_] = kIdle;
  captured_.reset();
}

}  // namespace ox
