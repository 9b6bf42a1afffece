// What the suite's list windows (the playlist, the previously-played list, the collection editor,
// the options program) share: one running copy each, the place and size they had last time, the
// dark colours of the Default skin, the system's message font at the monitor's DPI, and a
// report-style owner-data list view in those colours. Text is UTF-8 throughout.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/NamedMutex.h"

namespace ox {

// The Default skin's colours.
namespace theme {
constexpr COLORREF kBackground = RGB(0x1F, 0x24, 0x2D);      // the window body
constexpr COLORREF kListBackground = RGB(0x0E, 0x12, 0x18);  // the display well
constexpr COLORREF kText = RGB(0xE6, 0xED, 0xF5);
constexpr COLORREF kDimText = RGB(0x85, 0x92, 0xA4);
constexpr COLORREF kAccent = RGB(0x4F, 0xC3, 0xF7);
constexpr COLORREF kSelection = RGB(0x2E, 0x4A, 0x66);
constexpr COLORREF kFrame = RGB(0x3A, 0x43, 0x53);
}  // namespace theme

// Brushes of the theme colours, made at first use and kept for the life of the process.
HBRUSH BackgroundBrush();
HBRUSH ListBackgroundBrush();

// Answers WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT and WM_CTLCOLORLISTBOX for a window in the theme:
// wParam is the control's device context; the result is the brush the procedure returns.
LRESULT ThemedControlColour(UINT message, WPARAM wParam);

// Asks the system for a dark title bar (Windows 10 1809 and later; elsewhere nothing changes).
void UseDarkTitleBar(HWND window);

// One running copy of a program. The first process to take the mutex named after the window class
// is the one that runs; a later one hands its text over to that one's window and exits.
class SingleInstance {
 public:
  explicit SingleInstance(const char* windowClass);
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  bool AnotherRuns() const { return anotherRuns_; }
  // Restores the running copy's window, brings it to the front and sends it text (possibly
  // empty) as WM_COPYDATA tagged kHandOverData. Waits up to 5 s for that window to appear, since
  // the running copy may still be starting. False when no window of the class appeared.
  bool HandOver(std::string_view text) const;

 private:
  std::string windowClass_;
  bool anotherRuns_ = false;
  NamedMutex mutex_;
};

// The dwData of WM_COPYDATA from SingleInstance::HandOver.
constexpr ULONG_PTR kHandOverData = 0x4F584841;  // "OXHA"

// The text of a WM_COPYDATA message's lParam when it is a hand-over; false for any other message.
bool ReadHandOver(LPARAM lParam, std::string* text);

// The window's place and size, kept under HKEY_CURRENT_USER "Software\Quillmarsh\Orlavox\<name>"
// as "X", "Y", "Width", "Height" (the restored rectangle, in workspace coordinates) and "Maximized".
// Restoring shows the window: at the stored place when that rectangle still meets a monitor,
// otherwise where the system put it at the default size (pixels at 96 DPI, scaled to the window's
// DPI). show is the nCmdShow WinMain received.
void RestoreWindowPlace(HWND window, const char* name, int defaultWidth, int defaultHeight, int show);
void SaveWindowPlace(HWND window, const char* name);

// The DPI of the monitor the window is on (the system's DPI before Windows 10 1607, or for a null
// window), and a length in pixels at 96 DPI scaled to a DPI.
UINT WindowDpi(HWND window);
inline int ScaleToDpi(int pixels96, UINT dpi) { return MulDiv(pixels96, static_cast<int>(dpi), 96); }

// Moves a window to the rectangle that WM_DPICHANGED suggests (lParam); the caller then remakes
// its fonts and lays its controls out again.
void TakeSuggestedRect(HWND window, LPARAM lParam);

// The system's message font at a DPI, owned: the holder deletes it.
class MessageFont {
 public:
  explicit MessageFont(UINT dpi);
  ~MessageFont();
  MessageFont(const MessageFont&) = delete;
  MessageFont& operator=(const MessageFont&) = delete;
  HFONT Handle() const { return font_; }
  // The height of a line of text in the font, in pixels.
  int LineHeight() const { return lineHeight_; }

 private:
  HFONT font_ = nullptr;
  int lineHeight_ = 16;
};

// Sends WM_SETFONT with the font to the window and to each of its children.
void SetFontOnChildren(HWND parent, HFONT font);

// One column of a list view: a UTF-8 title, a width in pixels at 96 DPI, aligned right or left.
struct ListColumn {
  const char* title;
  int width96;
  bool alignRight = false;
};

// A report-style owner-data list view (LVS_OWNERDATA: the parent answers LVN_GETDISPINFOW for the
// rows on screen), one selection or many, full-row selection, double-buffered, in the theme
// colours, with the columns given. Null when it could not be made. Loads the common controls.
HWND CreateOwnerDataList(HWND parent, int id, const ListColumn* columns, int columnCount, UINT dpi,
                         bool singleSelection = false);
// Sets the columns' widths for a new DPI.
void ScaleListColumns(HWND list, const ListColumn* columns, int columnCount, UINT dpi);

// Answers NM_CUSTOMDRAW from a list made by CreateOwnerDataList (lParam): rows in the theme's
// text colour, selected rows on the selection colour, and the row markedRow (none when negative)
// in the accent colour. The parent returns the result from its procedure.
LRESULT ListCustomDraw(LPARAM lParam, int markedRow = -1);

// The rows selected in a list view, top to bottom.
std::vector<int> SelectedListRows(HWND list);

// Where a list view's context menu opens, in screen coordinates: at the cursor (lParam of
// WM_CONTEXTMENU), or below the focused row (the list's corner when none) when the menu key
// asked for it (lParam -1).
POINT ListMenuPoint(HWND list, LPARAM lParam);

// Copies UTF-8 text into the buffer an LVN_GETDISPINFOW asks to fill (pszText, cchTextMax), cut
// on a character boundary and terminated.
void FillDisplayText(LVITEMW& item, std::string_view text);

// The procedure of a list window's class, for a class T whose object is the creation parameter:
// the object learns its handle with WM_NCCREATE (its controls need it before creation returns),
// makes its controls (T::CreateControls) with WM_CREATE and handles every later message in
// T::Handle. T names it a friend when those members are private.
template <typename T>
LRESULT CALLBACK RoutedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = window;
  } else if (message == WM_CREATE && self) {
    self->CreateControls();
  }
  if (self && message != WM_NCCREATE && message != WM_CREATE) return self->Handle(message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ox
