#include "ui/SiblingWindow.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "base/SystemCall.h"
#include "base/Ticks.h"
#include "base/Wide.h"
#include "core/Settings.h"

namespace ox {
namespace {

// Entry points newer than Windows 7, looked up once; null where the system lacks them.
struct NewerCalls {
  using DpiForWindow = UINT(WINAPI*)(HWND);
  using MetricsForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  using WindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  using WindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  DpiForWindow getDpiForWindow = SystemCall<DpiForWindow>("user32.dll", "GetDpiForWindow");
  MetricsForDpi systemParametersInfoForDpi = SystemCall<MetricsForDpi>("user32.dll", "SystemParametersInfoForDpi");
  WindowTheme setWindowTheme = SystemCall<WindowTheme>("uxtheme.dll", "SetWindowTheme");
  WindowAttribute dwmSetWindowAttribute = SystemCall<WindowAttribute>("dwmapi.dll", "DwmSetWindowAttribute");
};

const NewerCalls& Newer() {
  static const NewerCalls calls;
  return calls;
}

std::string PlaceKey(const char* name) { return std::string(kSettingsKey) + "\\" + name; }

void LoadCommonControls() {
  static const bool loaded = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)loaded;
}

BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
  SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

}  // namespace

HBRUSH BackgroundBrush() {
  static const HBRUSH brush = CreateSolidBrush(theme::kBackground);
  return brush;
}

HBRUSH ListBackgroundBrush() {
  static const HBRUSH brush = CreateSolidBrush(theme::kListBackground);
  return brush;
}

LRESULT ThemedControlColour(UINT message, WPARAM wParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, theme::kText);
  const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  SetBkColor(dc, field ? theme::kListBackground : theme::kBackground);
  return reinterpret_cast<LRESULT>(field ? ListBackgroundBrush() : BackgroundBrush());
}

void UseDarkTitleBar(HWND window) {
  if (!Newer().dwmSetWindowAttribute) return;
  const BOOL dark = TRUE;
  constexpr DWORD kUseImmersiveDarkMode = 20;
  Newer().dwmSetWindowAttribute(window, kUseImmersiveDarkMode, &dark, sizeof dark);
}

SingleInstance::SingleInstance(const char* windowClass)
    : windowClass_(windowClass), mutex_(("OxSingleInstance-" + windowClass_).c_str(), &anotherRuns_) {}

bool SingleInstance::HandOver(std::string_view text) const {
  const std::wstring name = Wide(windowClass_);
  HWND window = nullptr;
  const uint32_t start = Ticks();
  while (!(window = FindWindowW(name.c_str(), nullptr)) && TicksSince(start, Ticks()) < 5000) Sleep(50);
  if (!window) return false;
  // The running copy may take the foreground only when the one who has it allows it.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  AllowSetForegroundWindow(process);
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  COPYDATASTRUCT data{kHandOverData, static_cast<DWORD>(text.size()), const_cast<char*>(text.data())};
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &answer);
  return true;
}

bool ReadHandOver(LPARAM lParam, std::string* text) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!data || data->dwData != kHandOverData) return false;
  text->assign(static_cast<const char*>(data->lpData), data->lpData ? data->cbData : 0);
  return true;
}

void RestoreWindowPlace(HWND window, const char* name, int defaultWidth, int defaultHeight, int show) {
  const std::string key = PlaceKey(name);
  WINDOWPLACEMENT place{};
  place.length = sizeof place;
  GetWindowPlacement(window, &place);
  const SettingAt at{{}, key};
  const bool stored = SettingStored(setting::WindowWidth, at);
  RECT rect{};
  if (stored) {
    rect.left = ReadSigned(setting::WindowX, at);
    rect.top = ReadSigned(setting::WindowY, at);
    rect.right = rect.left + static_cast<int32_t>(ReadNumber(setting::WindowWidth, at));
    rect.bottom = rect.top + static_cast<int32_t>(ReadNumber(setting::WindowHeight, at));
  }
  // A rectangle too small to use, or one left on a monitor that is gone, is not taken.
  const bool usable = stored && rect.right - rect.left >= 100 && rect.bottom - rect.top >= 60 &&
                      MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
  if (usable) {
    place.rcNormalPosition = rect;
    const bool minimised = show == SW_SHOWMINNOACTIVE || show == SW_SHOWMINIMIZED || show == SW_MINIMIZE;
    if (!minimised && ReadNumber(setting::WindowMaximized, at)) show = SW_SHOWMAXIMIZED;
  } else {
    const UINT dpi = WindowDpi(window);
    const RECT& now = place.rcNormalPosition;
    place.rcNormalPosition = {now.left, now.top, now.left + ScaleToDpi(defaultWidth, dpi),
                              now.top + ScaleToDpi(defaultHeight, dpi)};
  }
  // A program started with a zeroed start-up record is given SW_SHOWDEFAULT, which is not among
  // the states a placement takes.
  if (show == SW_SHOWDEFAULT) show = SW_SHOWNORMAL;
  place.showCmd = static_cast<UINT>(show);
  place.flags = 0;
  SetWindowPlacement(window, &place);
}

void SaveWindowPlace(HWND window, const char* name) {
  WINDOWPLACEMENT place{};
  place.length = sizeof place;
  if (!GetWindowPlacement(window, &place)) return;
  const std::string key = PlaceKey(name);
  const RECT& r = place.rcNormalPosition;
  const SettingAt at{{}, key};
  WriteNumber(setting::WindowX, static_cast<uint32_t>(r.left), at);
  WriteNumber(setting::WindowY, static_cast<uint32_t>(r.top), at);
  WriteNumber(setting::WindowWidth, static_cast<uint32_t>(r.right - r.left), at);
  WriteNumber(setting::WindowHeight, static_cast<uint32_t>(r.bottom - r.top), at);
  WriteNumber(setting::WindowMaximized, place.showCmd == SW_SHOWMAXIMIZED ? 1 : 0, at);
}

UINT WindowDpi(HWND window) {
  if (Newer().getDpiForWindow && window) {
    const UINT dpi = Newer().getDpiForWindow(window);
    if (dpi) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void TakeSuggestedRect(HWND window, LPARAM lParam) {
  const RECT* r = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

MessageFont::MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  bool found = false;
  if (Newer().systemParametersInfoForDpi)
    found = Newer().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi) != FALSE;
  if (!found && SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    // These metrics are at the system's DPI.
    const int systemDpi = static_cast<int>(WindowDpi(nullptr));
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
    found = true;
  }
  if (!found) {
    metrics.lfMessageFont = LOGFONTW{};
    metrics.lfMessageFont.lfHeight = -ScaleToDpi(12, dpi);
    metrics.lfMessageFont.lfWeight = FW_NORMAL;
    std::wcscpy(metrics.lfMessageFont.lfFaceName, L"Segoe UI");
  }
  font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  lineHeight_ = std::abs(metrics.lfMessageFont.lfHeight) * 4 / 3;
  if (!font_) return;
  if (HDC screen = GetDC(nullptr)) {
    HGDIOBJ old = SelectObject(screen, font_);
    TEXTMETRICW text{};
    if (GetTextMetricsW(screen, &text)) lineHeight_ = text.tmHeight + text.tmExternalLeading;
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
  }
}

MessageFont::~MessageFont() {
  if (font_) DeleteObject(font_);
}

void SetFontOnChildren(HWND parent, HFONT font) {
  SendMessageW(parent, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EnumChildWindows(parent, SetChildFont, reinterpret_cast<LPARAM>(font));
}

HWND CreateOwnerDataList(HWND parent, int id, const ListColumn* columns, int columnCount, UINT dpi,
                         bool singleSelection) {
  LoadCommonControls();
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
  if (singleSelection) style |= LVS_SINGLESEL;
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", style, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!list) return nullptr;
  const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  if (Newer().setWindowTheme) {
    Newer().setWindowTheme(list, L"DarkMode_Explorer", nullptr);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (header) Newer().setWindowTheme(header, L"DarkMode_ItemsView", nullptr);
  }
  SendMessageW(list, LVM_SETBKCOLOR, 0, theme::kListBackground);
  SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, theme::kListBackground);
  SendMessageW(list, LVM_SETTEXTCOLOR, 0, theme::kText);
  for (int i = 0; i < columnCount; ++i) {
    std::wstring title = Wide(columns[i].title ? columns[i].title : "");
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    // The first column of a list view is always aligned left.
    column.fmt = columns[i].alignRight && i > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = ScaleToDpi(columns[i].width96, dpi);
    column.pszText = title.data();
    column.iSubItem = i;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  return list;
}

void ScaleListColumns(HWND list, const ListColumn* columns, int columnCount, UINT dpi) {
  for (int i = 0; i < columnCount; ++i)
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), ScaleToDpi(columns[i].width96, dpi));
}

LRESULT ListCustomDraw(LPARAM lParam, int markedRow) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int row = static_cast<int>(draw->nmcd.dwItemSpec);
      // An owner-data list keeps the selection itself: ask it rather than trust the state here.
      const bool selected =
          SendMessageW(draw->nmcd.hdr.hwndFrom, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
      draw->clrText = row == markedRow ? theme::kAccent : theme::kText;
      draw->clrTextBk = selected ? theme::kSelection : theme::kListBackground;
      // Left set, these make the list paint the row in the system's highlight colours.
      draw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

std::vector<int> SelectedListRows(HWND list) {
  std::vector<int> rows;
  for (int i = -1; (i = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
    rows.push_back(i);
  return rows;
}

POINT ListMenuPoint(HWND list, LPARAM lParam) {
  if (lParam != -1) return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const int focus = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  RECT item{LVIR_LABEL, 0, 0, 0};
  if (focus < 0 || !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(focus), reinterpret_cast<LPARAM>(&item)))
    item = RECT{0, 0, 0, 0};
  POINT at{item.left, item.bottom};
  ClientToScreen(list, &at);
  return at;
}

void FillDisplayText(LVITEMW& item, std::string_view text) {
  if (!item.pszText || item.cchTextMax <= 0) return;
  const std::wstring wide = Wide(text);
  const size_t room = static_cast<size_t>(item.cchTextMax - 1);
  size_t n = wide.size() < room ? wide.size() : room;
  // A surrogate pair is kept whole or left out.
  if (n > 0 && n < wide.size() && wide[n - 1] >= 0xD800 && wide[n - 1] <= 0xDBFF) --n;
  std::memcpy(item.pszText, wide.data(), n * sizeof(wchar_t));
  item.pszText[n] = 0;
}

}  // namespace ox
