// One window and the class it is made from. Every window of the player comes from a Window: it
// registers the class, creates the window, keeps its handle, place, size and whether it is shown,
// and on Destroy hides it, destroys it and unregisters the class.
#pragma once

#include <windows.h>

namespace ox {

// The class a Window registers. Null members take the system's defaults (no icon, the arrow
// cursor, no background, no menu).
struct WindowClass {
  const char* name;
  WNDPROC procedure = DefWindowProcA;
  UINT style = 0;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  const char* menuName = nullptr;
  // A class whose windows keep their title in UTF-16 (the procedure then hands what it does not
  // handle to DefWindowProcW): a window whose title is text of the user's, set with
  // SetWindowTextW, needs one, since an ANSI window's title passes through the ANSI code page.
  bool unicode = false;
};

class Window {
 public:
  Window() = default;
  ~Window() { Destroy(); }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Registers the class and creates the window, hidden unless style holds WS_VISIBLE (title: UTF-8,
  // a fixed ASCII one for an ANSI class); parameter
  // arrives with WM_CREATE. A class of the name that already exists is used only when it has the
  // same procedure (another window of the same kind made it). False when no window was made: one
  // exists already, or the name belongs to a class of another procedure.
  bool Create(const WindowClass& windowClass, const char* title, DWORD style, DWORD exStyle, int x, int y, int width,
              int height, HWND owner = nullptr, void* parameter = nullptr);
  // A child control of a class the system provides ("STATIC", ...), which is neither registered
  // nor unregistered here.
  bool CreateControl(const char* systemClass, DWORD style, int x, int y, int width, int height, HWND parent, int id);
  // Hides and destroys the window and unregisters its class; nothing when there is none.
  void Destroy();

  void Show(int how = SW_SHOW);
  void Hide() { Show(SW_HIDE); }
  void Minimise() { Show(SW_MINIMIZE); }
  void Restore() { Show(SW_RESTORE); }
  void Move(int x, int y);
  void Resize(int width, int height);
  // Takes the place and size the system reports, after the user or another program moved it.
  void Refresh();

  HWND Handle() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  int X() const { return x_; }
  int Y() const { return y_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsVisible() const { return visible_; }
  bool IsMinimised() const { return handle_ && IsIconic(handle_); }

 private:
  HWND handle_ = nullptr;
  char className_[256] = {};
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
  bool visible_ = false;
};

// The module the program's windows, icons and bitmaps belong to.
HINSTANCE ModuleInstance();

}  // namespace ox
