#include "launcher/SettingsWindow.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "base/Wide.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "engine/SoundOutputHost.h"
#include "launcher/OptionRows.h"
#include "launcher/OptionsMenu.h"
#include "launcher/PageParts.h"
#include "launcher/RowStore.h"
#include "launcher/SkinPreview.h"
#include "launcher/WindowBasics.h"
#include "ui/ShellCalls.h"
#include "ui/SiblingWindow.h"

namespace ox {
namespace {

constexpr wchar_t kPageClass[] = L"Orlavox Options Page";
constexpr char kPlaceName[] = "Options";
// The window in 96-DPI units: a tab control over the pages, the buttons below.
constexpr int kWidth = 620, kHeight = 500, kPageLeft = 16, kPageTop = 40, kPageWidth = 588, kPageHeight = 400;
constexpr int kLabelWidth = 230, kFieldLeft = 246, kFieldWidth = 330, kRowHeight = 28;
// The skin's picture on the Skins page, right of the skins in the random choice.
constexpr int kPreviewLeft = 316, kPreviewTop = 118, kPreviewWidth = 270, kPreviewHeight = 150;
constexpr int kTabId = 100, kApplyId = 101, kFirstRowId = 1000;

std::wstring ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::wstring ComboText(HWND combo) {
  const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(wcslen(text.c_str()));
  return text;
}

// A combo box of names with `current` chosen; a current name that is not among them is added, so
// that it is shown and kept unless the user picks another.
void FillNames(HWND combo, std::vector<std::string> names, const std::string& current) {
  bool found = false;
  for (const std::string& name : names) found = found || name == current;
  if (!found && !current.empty()) names.push_back(current);
  for (const std::string& name : names) {
    const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
    if (name == current) SendMessageW(combo, CB_SETCURSEL, index, 0);
  }
}

// One row of a page: its control, and what it showed when the values were read.
struct RowState {
  const OptionRow* row;
  HWND field = nullptr;
  HWND button = nullptr;    // Browse... or Configure...
  HWND preview = nullptr;   // the chosen skin's picture
  int64_t loaded = 0;       // check boxes and choices
  std::wstring loadedText;  // edits and name lists
};

struct Page {
  const char* title;
  HWND window = nullptr;
  const OptionPage* rows = nullptr;
  std::vector<RowState> states;
  std::vector<std::unique_ptr<PagePart>> parts;
};

class SettingsWindow {
 public:
  SettingsWindow();
  bool Create(int page);
  HWND Handle() const { return window_; }
  bool Closed() const { return closed_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void BuildPage(Page& page);
  int BuildRow(Page& page, RowState& state, int id, int top);
  void Load(RowState& state);
  bool RowChanged(const RowState& state) const;
  bool Changed() const;
  void UpdateApply();
  bool Apply();
  void ShowPage(int index);
  void RowCommand(RowState& state, HWND from, UINT code);

  HWND window_ = nullptr;
  HWND tabs_ = nullptr;
  HWND lastFocus_ = nullptr;  // the control that had the focus when the window was left
  DpiLayout layout_;
  std::vector<Page> pages_;
  std::unique_ptr<SoundOutputHost> outputs_;
  bool closed_ = false;
};

SettingsWindow::SettingsWindow() {
  const std::vector<OptionPage>& rows = OptionPages();
  const auto rowsOf = [&](const char* title) -> const OptionPage* {
    for (const OptionPage& p : rows)
      if (std::string(p.title) == title) return &p;
    return nullptr;
  };
  for (const char* title :
       {"Skins", "Playback", "Visual plug-ins", "Keys", "Window and tray", "Folder watch", "Equaliser presets"}) {
    Page page;
    page.title = title;
    page.rows = rowsOf(title);
    const std::string name = title;
    if (name == "Skins") page.parts.push_back(SkinChoicePart());
    if (name == "Visual plug-ins") page.parts.push_back(VisualPluginsPart());
    if (name == "Keys") page.parts.push_back(KeysPart());
    if (name == "Folder watch") page.parts.push_back(ScanNowPart());
    if (name == "Equaliser presets") page.parts.push_back(EqPresetsPart());
    pages_.push_back(std::move(page));
  }
}

bool SettingsWindow::Create(int page) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW frame{};
  frame.cbSize = sizeof frame;
  frame.lpfnWndProc = Procedure;
  frame.hInstance = instance;
  frame.hCursor = LoadCursor(nullptr, IDC_ARROW);
  frame.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  frame.hIcon = LoadIcon(instance, MAKEINTRESOURCE(101));
  frame.lpszClassName = kSettingsWindowClass;
  RegisterClassExW(&frame);
  WNDCLASSEXW pageClass = frame;
  pageClass.lpfnWndProc = PageProcedure;
  pageClass.hIcon = nullptr;
  pageClass.lpszClassName = kPageClass;
  RegisterClassExW(&pageClass);

  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kSettingsWindowClass, L"Orlavox Options",
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
  if (!window_) return false;
  layout_.SetDpi(WindowDpi(window_));
  outputs_ = std::make_unique<SoundOutputHost>(SoundOutputFolder());

  tabs_ = layout_.Place(CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0,
                                        0, 0, 0, window_, reinterpret_cast<HMENU>(kTabId), instance, nullptr),
                        8, 8, kWidth - 16, kHeight - 56);
  for (size_t i = 0; i < pages_.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring title = Wide(pages_[i].title);
    item.pszText = title.data();
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    BuildPage(pages_[i]);
  }
  const struct {
    int id;
    const wchar_t* text;
    int x;
  } buttons[] = {{IDOK, L"OK", kWidth - 264}, {IDCANCEL, L"Cancel", kWidth - 176}, {kApplyId, L"&Apply", kWidth - 88}};
  for (const auto& b : buttons)
    layout_.Place(
        CreateWindowExW(0, L"BUTTON", b.text,
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | (b.id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, 0, 0,
                        0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), instance, nullptr),
        b.x, kHeight - 40, 80, 28);
  UpdateApply();
  ShowPage(page >= 0 && page < static_cast<int>(pages_.size()) ? page : 0);
  RECT size{0, 0, layout_.Px(kWidth), layout_.Px(kHeight)};
  AdjustWindowRectEx(&size, GetWindowLongW(window_, GWL_STYLE), FALSE, WS_EX_CONTROLPARENT);
  RestoreWindowPlace(window_, kPlaceName, MulDiv(size.right - size.left, 96, static_cast<int>(layout_.Dpi())),
                     MulDiv(size.bottom - size.top, 96, static_cast<int>(layout_.Dpi())), SW_SHOWNORMAL);
  SetWindowPos(window_, nullptr, 0, 0, size.right - size.left, size.bottom - size.top, SWP_NOMOVE | SWP_NOZORDER);
  SetForegroundWindow(window_);
  // The pages lie above the tabs, so the first control of the page shown is first in the Tab
  // order; from the buttons the Tab key comes round to the tabs, as in a property sheet.
  SetFocus(GetNextDlgTabItem(window_, nullptr, FALSE));
  return true;
}

void SettingsWindow::BuildPage(Page& page) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  page.window = layout_.Place(CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0,
                                              0, window_, nullptr, instance, this),
                              kPageLeft, kPageTop, kPageWidth, kPageHeight);
  SetWindowPos(page.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  int top = 4;
  std::string note;
  if (page.rows) {
    page.states.reserve(page.rows->rows.size());
    for (const OptionRow& row : page.rows->rows) page.states.push_back({&row});
    int id = kFirstRowId + static_cast<int>(&page - pages_.data()) * 100;
    for (RowState& state : page.states) top = BuildRow(page, state, id += 2, top);
    note = TakesNote(*page.rows);
  }
  for (auto& part : page.parts) {
    top = part->Build(page.window, layout_, top + 4);
    const std::string line = part->Note();
    if (!line.empty()) note += (note.empty() ? "" : "\n") + line;
  }
  layout_.Place(CreateWindowExW(0, L"STATIC", Wide(note).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0,
                                page.window, nullptr, instance, nullptr),
                0, kPageHeight - 64, kPageWidth, 64);
}

int SettingsWindow::BuildRow(Page& page, RowState& state, int id, int top) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const OptionRow& row = *state.row;
  const auto make = [&](const wchar_t* cls, const std::wstring& text, DWORD style, DWORD exStyle, int controlId) {
    return CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, page.window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, nullptr);
  };
  const std::wstring label = Wide(row.label);
  if (row.control == RowControl::Check || row.control == RowControl::InverseCheck) {
    state.field = layout_.Place(make(L"BUTTON", label, BS_AUTOCHECKBOX | WS_TABSTOP, 0, id), 0, top, kPageWidth, 22);
  } else {
    layout_.Place(make(L"STATIC", label + L":", SS_LEFT, 0, -1), 0, top + 4, kLabelWidth, 20);
    int width = kFieldWidth;
    if (row.control == RowControl::Folder || row.control == RowControl::SoundOutput) width -= 90;
    const bool list = row.control == RowControl::Choice || row.control == RowControl::SkinName ||
                      row.control == RowControl::SoundOutput;
    if (list)
      state.field = layout_.Place(make(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, id),
                                  kFieldLeft, top, width, 200);
    else
      state.field = layout_.Place(make(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, id), kFieldLeft,
                                  top, width, 24);
    if (row.control == RowControl::Folder || row.control == RowControl::SoundOutput)
      state.button =
          layout_.Place(make(L"BUTTON", row.control == RowControl::Folder ? L"Browse\u2026" : L"Configure\u2026",
                             BS_PUSHBUTTON | WS_TABSTOP, 0, id + 1),
                        kFieldLeft + width + 6, top - 1, 84, 26);
  }
  if (row.control == RowControl::SkinName) {
    // Beside the list of skins below the rows.
    state.preview = layout_.Place(make(L"STATIC", L"", SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN, 0, -1), kPreviewLeft,
                                  kPreviewTop, kPreviewWidth, kPreviewHeight);
  }
  Load(state);
  return top + kRowHeight;
}

void SettingsWindow::Load(RowState& state) {
  const OptionRow& row = *state.row;
  switch (row.control) {
    case RowControl::Check:
    case RowControl::InverseCheck:
      state.loaded = LoadRowValue(row);
      SendMessageW(state.field, BM_SETCHECK, state.loaded ? BST_CHECKED : BST_UNCHECKED, 0);
      return;
    case RowControl::Choice:
      for (const char* choice : row.choices)
        SendMessageW(state.field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(choice).c_str()));
      state.loaded = LoadRowValue(row);
      SendMessageW(state.field, CB_SETCURSEL, static_cast<WPARAM>(state.loaded), 0);
      return;
    case RowControl::SkinName:
      FillNames(state.field, InstalledSkins(), LoadRowText(row));
      break;
    case RowControl::SoundOutput: {
      std::vector<std::string> names;
      for (const SoundOutputPlugin& plugin : outputs_->Plugins()) names.push_back(plugin.name);
      FillNames(state.field, names, LoadRowText(row));
      break;
    }
    default:
      SetWindowTextW(state.field, Wide(LoadRowText(row)).c_str());
  }
  state.loadedText = row.control == RowControl::SkinName || row.control == RowControl::SoundOutput
                         ? ComboText(state.field)
                         : ControlText(state.field);
  if (row.control == RowControl::SoundOutput || row.control == RowControl::SkinName)
    RowCommand(state, state.field, CBN_SELCHANGE);
}

bool SettingsWindow::RowChanged(const RowState& state) const {
  switch (state.row->control) {
    case RowControl::Check:
    case RowControl::InverseCheck:
      return (SendMessageW(state.field, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0) != state.loaded;
    case RowControl::Choice:
      return SendMessageW(state.field, CB_GETCURSEL, 0, 0) != state.loaded;
    case RowControl::SkinName:
    case RowControl::SoundOutput:
      return ComboText(state.field) != state.loadedText;
    default:
      return ControlText(state.field) != state.loadedText;
  }
}

bool SettingsWindow::Changed() const {
  for (const Page& page : pages_) {
    for (const RowState& state : page.states)
      if (RowChanged(state)) return true;
    for (const auto& part : page.parts)
      if (part->Changed()) return true;
  }
  return false;
}

// Apply is enabled while something changed; the focus leaves it when it goes grey.
void SettingsWindow::UpdateApply() {
  HWND apply = GetDlgItem(window_, kApplyId);
  const bool changed = Changed();
  if (!changed && GetFocus() == apply) SetFocus(GetDlgItem(window_, IDOK));
  EnableWindow(apply, changed);
}

bool SettingsWindow::Apply() {
  // Everything is checked before anything is written.
  for (size_t p = 0; p < pages_.size(); ++p) {
    for (RowState& state : pages_[p].states) {
      const RowControl control = state.row->control;
      if ((control != RowControl::Number && control != RowControl::NumberText && control != RowControl::Tenths) ||
          !RowChanged(state) || ParseRowText(*state.row, FromWide(ControlText(state.field))))
        continue;
      ShowPage(static_cast<int>(p));
      MessageBoxW(window_, Wide(std::string(state.row->label) + " takes a number.").c_str(), L"Orlavox Options",
                  MB_OK | MB_ICONWARNING);
      SetFocus(state.field);
      return false;
    }
    for (auto& part : pages_[p].parts) {
      if (part->ReadyToApply(window_)) continue;
      ShowPage(static_cast<int>(p));
      return false;
    }
  }
  for (Page& page : pages_) {
    for (RowState& state : page.states) {
      if (!RowChanged(state)) continue;
      const OptionRow& row = *state.row;
      switch (row.control) {
        case RowControl::Check:
        case RowControl::InverseCheck:
          state.loaded = SendMessageW(state.field, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
          StoreRowValue(row, state.loaded);
          break;
        case RowControl::Choice:
          state.loaded = SendMessageW(state.field, CB_GETCURSEL, 0, 0);
          StoreRowValue(row, state.loaded);
          break;
        case RowControl::SkinName:
        case RowControl::SoundOutput:
          state.loadedText = ComboText(state.field);
          StoreRowText(row, FromWide(state.loadedText));
          if (row.setting == &setting::ActiveSkin) evt::OxNewSkin.Set();
          break;
        default:
          // Checked above: a number row holds a number. It shows the value as stored.
          StoreRowText(row, FromWide(ControlText(state.field)));
          SetWindowTextW(state.field, Wide(LoadRowText(row)).c_str());
          state.loadedText = ControlText(state.field);
      }
    }
    for (auto& part : page.parts)
      if (part->Changed()) part->Apply();
  }
  UpdateApply();
  return true;
}

void SettingsWindow::ShowPage(int index) {
  SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  for (size_t i = 0; i < pages_.size(); ++i)
    ShowWindow(pages_[i].window, static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
}

void SettingsWindow::RowCommand(RowState& state, HWND from, UINT code) {
  if (from == state.button && code == BN_CLICKED) {
    if (state.row->control == RowControl::Folder) {
      const std::string folder = BrowseForFolder(window_, state.row->label);
      if (!folder.empty()) SetWindowTextW(state.field, Wide(folder).c_str());
    } else {
      const std::string name = FromWide(ComboText(state.field));
      for (const SoundOutputPlugin& plugin : outputs_->Plugins())
        if (plugin.name == name && plugin.ShowAboutOptionsPage) plugin.ShowAboutOptionsPage(window_);
    }
  } else if (from == state.field && code == CBN_SELCHANGE && state.preview) {
    HBITMAP picture = SkinPreview(FromWide(ComboText(state.field)), layout_.Px(kPreviewWidth) - 4,
                                  layout_.Px(kPreviewHeight) - 4);
    HGDIOBJ old = reinterpret_cast<HGDIOBJ>(
        SendMessageW(state.preview, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
    if (old) DeleteObject(old);
  } else if (from == state.field && code == CBN_SELCHANGE && state.button) {
    const std::string name = FromWide(ComboText(state.field));
    bool configurable = false;
    for (const SoundOutputPlugin& plugin : outputs_->Plugins())
      configurable = configurable || (plugin.name == name && plugin.ShowAboutOptionsPage);
    EnableWindow(state.button, configurable);
  }
}

LRESULT CALLBACK SettingsWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<SettingsWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<SettingsWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->Handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

// A page passes its controls' messages to the window.
LRESULT CALLBACK SettingsWindow::PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_NOTIFY) return SendMessageW(GetParent(window), message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SettingsWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const UINT code = HIWORD(wParam);
      const HWND from = reinterpret_cast<HWND>(lParam);
      if (id == IDOK) {
        if (Apply()) DestroyWindow(window_);
        return 0;
      }
      if (id == IDCANCEL) {
        DestroyWindow(window_);
        return 0;
      }
      if (id == kApplyId) {
        Apply();
        return 0;
      }
      for (Page& page : pages_) {
        for (RowState& state : page.states)
          if (from && (from == state.field || from == state.button)) RowCommand(state, from, code);
        for (auto& part : page.parts)
          if (from && GetParent(from) == page.window) part->Command(from, code);
      }
      UpdateApply();
      return 0;
    }
    case WM_NOTIFY: {
      const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.hwndFrom == tabs_ && header.code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
        return 0;
      }
      for (Page& page : pages_)
        for (auto& part : page.parts)
          if (GetParent(header.hwndFrom) == page.window && part->Notify(header)) {
            UpdateApply();
            return 0;
          }
      return 0;
    }
    case WM_ACTIVATE:
      // As a dialog does: back with the focus where the user left it, not on the window itself.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_DPICHANGED:
      TakeSuggestedRect(window_, lParam);
      layout_.SetDpi(HIWORD(wParam));
      layout_.Refit();
      return 0;
    case WM_CLOSE:
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      SaveWindowPlace(window_, kPlaceName);
      closed_ = true;
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace

void RunSettingsWindow(int page) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  SettingsWindow settings;
  if (!settings.Create(page)) return;
  MSG message;
  while (!settings.Closed() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages, as in every tabbed dialog.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) &&
        !GetPropW(message.hwnd, kKeyCaptureProperty)) {
      HWND tabs = GetDlgItem(settings.Handle(), kTabId);
      const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
      const int step = (GetKeyState(VK_SHIFT) & 0x8000) ? count - 1 : 1;
      const int next = (static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) + step) % count;
      SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(next), 0);
      continue;
    }
    if (!GetPropW(message.hwnd, kKeyCaptureProperty) && IsDialogMessageW(settings.Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace ox
