// The small window that stands for the player on the taskbar, owns the skin windows, and by whose
// class ("Orlavox Audio Player") the suite finds a running player. Made on the skin thread.
#pragma once

#include <windows.h>

#include "ui/Window.h"

namespace ox {

constexpr const char* kTaskbarWindowClass = "Orlavox Audio Player";

class TaskbarWindow {
 public:
  // Creates and shows it, minimised when the player was minimised when it last ran.
  void Create();
  void Destroy() { window_.Destroy(); }
  HWND Handle() const { return window_.Handle(); }
  Window& Get() { return window_; }

 private:
  Window window_;
};

}  // namespace ox
