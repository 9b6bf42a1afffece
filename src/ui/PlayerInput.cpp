#include "ui/PlayerInput.h"

#include <atomic>

#include "ui/PlayerActions.h"

namespace ox {

namespace {

std::atomic<KeyCheck> g_keyCheck{nullptr};

}  // namespace

bool HandlePlayerInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_APPCOMMAND) {
    if (const std::optional<PlayerAction> action = AppCommandAction((static_cast<uint32_t>(lParam) >> 16) & 0x7FFF))
      RunPlayerAction(*action);
    result = TRUE;
    return true;
  }
  const KeyCheck check = g_keyCheck;
  if (check && check(window, message, wParam, lParam)) {
    result = 0;
    return true;
  }
  return false;
}

void SetKeyCheck(KeyCheck check) { g_keyCheck = check; }

}  // namespace ox
