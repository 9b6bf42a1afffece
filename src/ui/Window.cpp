#include "ui/Window.h"

#include <cstring>

#include "base/Wide.h"

namespace ox {

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

bool Window::Create(const WindowClass& windowClass, const char* title, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, HWND owner, void* parameter) {
  if (handle_ || !windowClass.name || std::strlen(windowClass.name) >= sizeof className_) return false;
  WNDCLASSA c{};
  c.style = windowClass.style;
  c.lpfnWndProc = windowClass.procedure ? windowClass.procedure : DefWindowProcA;
  c.hInstance = ModuleInstance();
  c.hIcon = windowClass.icon;
  c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  c.hbrBackground = windowClass.background;
  c.lpszMenuName = windowClass.menuName;
  c.lpszClassName = windowClass.name;
  // A class of the name that exists already (a system control's, another part of the player's, or
  // one that another window of the same kind registered) is used only when its procedure is ours:
  // anything else would hand our window to that procedure, or shadow the class for everyone else
  // of this module who asks for it.
  if (windowClass.unicode) {
    // The same class in its UTF-16 form (asked for through the A call, a Unicode class's procedure
    // comes back as a translating stand-in, never equal to ours).
    const std::wstring name = Wide(windowClass.name), menu = Wide(windowClass.menuName ? windowClass.menuName : "");
    WNDCLASSW w{c.style, c.lpfnWndProc, 0, 0, c.hInstance, c.hIcon, c.hCursor, c.hbrBackground,
                windowClass.menuName ? menu.c_str() : nullptr, name.c_str()};
    WNDCLASSW existing{};
    if (GetClassInfoW(w.hInstance, w.lpszClassName, &existing)) {
      if (existing.lpfnWndProc != w.lpfnWndProc) return false;
    } else if (!RegisterClassW(&w)) {
      return false;
    }
    std::strcpy(className_, windowClass.name);
    handle_ = CreateWindowExW(exStyle, name.c_str(), Wide(title ? title : "").c_str(), style, x, y, width, height,
                              owner, nullptr, ModuleInstance(), parameter);
  } else {
    WNDCLASSA existing{};
    if (GetClassInfoA(c.hInstance, c.lpszClassName, &existing)) {
      if (existing.lpfnWndProc != c.lpfnWndProc) return false;
    } else if (!RegisterClassA(&c)) {
      return false;
    }
    std::strcpy(className_, windowClass.name);
    handle_ = CreateWindowExA(exStyle, className_, title ? title : "", style, x, y, width, height, owner, nullptr,
                              ModuleInstance(), parameter);
  }
  if (!handle_) {
    UnregisterClassA(className_, ModuleInstance());
    className_[0] = 0;
    return false;
  }
  x_ = x, y_ = y, width_ = width, height_ = height;
  visible_ = (style & WS_VISIBLE) != 0;
  return true;
}

bool Window::CreateControl(const char* systemClass, DWORD style, int x, int y, int width, int height, HWND parent,
                           int id) {
  if (handle_) return false;
  handle_ = CreateWindowExA(0, systemClass, "", style, x, y, width, height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  if (!handle_) return false;
  className_[0] = 0;  // the system's class: not ours to unregister
  x_ = x, y_ = y, width_ = width, height_ = height;
  visible_ = (style & WS_VISIBLE) != 0;
  return true;
}

void Window::Destroy() {
  if (!handle_) return;
  HWND handle = handle_;
  handle_ = nullptr;  // a procedure that hears WM_DESTROY sees the wrapper empty already
  ShowWindow(handle, SW_HIDE);
  DestroyWindow(handle);
  if (className_[0]) UnregisterClassA(className_, ModuleInstance());  // refused while another window uses it
  className_[0] = 0;
  visible_ = false;
}

void Window::Show(int how) {
  if (!handle_) return;
  ShowWindow(handle_, how);
  visible_ = how != SW_HIDE;
}

void Window::Move(int x, int y) {
  if (!handle_) return;
  SetWindowPos(handle_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  x_ = x, y_ = y;
}

void Window::Resize(int width, int height) {
  if (!handle_) return;
  SetWindowPos(handle_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  width_ = width, height_ = height;
}

void Window::Refresh() {
  RECT r;
  if (!handle_ || !GetWindowRect(handle_, &r)) return;
  x_ = r.left, y_ = r.top, width_ = r.right - r.left, height_ = r.bottom - r.top;
  visible_ = IsWindowVisible(handle_) != 0;
}

}  // namespace ox
