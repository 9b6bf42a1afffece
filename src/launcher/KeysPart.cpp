// The Keys page: the 17 actions with their keys, a capture field that takes the next key pressed
// (with Shift, Ctrl and Alt), and the entries whose key would not reach them.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "base/Wide.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "launcher/PageParts.h"
#include "ui/KeyChoice.h"

namespace ox {
namespace {

constexpr const char* kActionNames[kKeyActions] = {
    "Play",
    "Play button (play, skip, resume)",
    "Skip back",
    "Seek forward",
    "Seek back",
    "Pause",
    "Stop",
    "Open files",
    "Volume up",
    "Volume down",
    "Mute",
    "Music collection",
    "Collection editor",
    "Playlist",
    "Previously played",
    "Power off",
    "Options menu",
};

constexpr int kListId = kFirstPartId + 30, kCaptureId = kFirstPartId + 31, kClearId = kFirstPartId + 32;

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// The capture field: an edit box that shows the chosen key and takes every key pressed in it.
LRESULT CALLBACK CaptureProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTMESSAGE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const Capture capture =
          CaptureKey(static_cast<uint32_t>(wParam), Held(VK_SHIFT), Held(VK_CONTROL), Held(VK_MENU));
      if (capture.step == CaptureStep::PassOn) {
        SetFocus(GetNextDlgTabItem(GetAncestor(field, GA_ROOT), field, Held(VK_SHIFT)));
      } else if (capture.step == CaptureStep::Take) {
        SetWindowLongPtrW(field, GWLP_USERDATA, static_cast<LONG_PTR>(capture.entry));
        SendMessageW(GetParent(field), WM_COMMAND, MAKEWPARAM(kCaptureId, kKeyCaptured),
                     reinterpret_cast<LPARAM>(field));
      }
      return 0;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return 0;  // no typing, and Alt opens no menu
  }
  return DefSubclassProc(field, message, wParam, lParam);
}

class Keys : public PagePart {
 public:
  int Build(HWND page, DpiLayout& layout, int top) override {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
      return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, page,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    };
    list_ = layout.Place(
        make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, kListId, WS_EX_CLIENTEDGE),
        0, top, 588, 262);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const struct {
      const wchar_t* title;
      int width;
    } columns[] = {{L"Action", 250}, {L"Key", 160}, {L"System-wide", 150}};
    for (int c = 0; c < 3; ++c) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = const_cast<wchar_t*>(columns[c].title);
      column.cx = layout.Px(columns[c].width);
      SendMessageW(list_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < kKeyActions; ++i) {
      keys_[i] = loaded_[i] = ReadNumber(setting::Key, {std::to_string(i)}) & 0x7FF;
      const std::wstring name = Wide(kActionNames[i]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = const_cast<wchar_t*>(name.c_str());
      SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      ShowRow(i);
    }
    layout.Place(make(L"STATIC", L"&Key (press it):", SS_LEFT, -1), 0, top + 272, 110, 20);
    capture_ = layout.Place(make(L"EDIT", L"", ES_READONLY | WS_TABSTOP, kCaptureId, WS_EX_CLIENTEDGE), 112, top + 268,
                            220, 24);
    SetWindowSubclass(capture_, CaptureProcedure, 1, 0);
    SetPropW(capture_, kKeyCaptureProperty, reinterpret_cast<HANDLE>(1));
    layout.Place(make(L"BUTTON", L"C&lear", BS_PUSHBUTTON | WS_TABSTOP, kClearId), 340, top + 267, 80, 26);
    conflicts_ = layout.Place(make(L"STATIC", L"", SS_LEFT, -1), 0, top + 298, 588, 36);
    Select(0);
    ShowConflicts();
    return top + 334;
  }

  bool Command(HWND control, UINT code) override {
    const int id = GetDlgCtrlID(control);
    if (id == kCaptureId && code == kKeyCaptured) {
      Set(static_cast<uint32_t>(GetWindowLongPtrW(control, GWLP_USERDATA)));
    } else if (id == kClearId && code == BN_CLICKED) {
      Set(0);
      SetFocus(capture_);
    } else {
      return false;
    }
    return true;
  }

  bool Notify(const NMHDR& header) override {
    if (header.hwndFrom != list_ || header.code != LVN_ITEMCHANGED) return false;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) Select(change.iItem);
    return true;
  }

  bool Changed() const override { return keys_ != loaded_; }

  bool ReadyToApply(HWND owner) override {
    if (!Changed() || conflictsText_.empty()) return true;
    const std::string question = "Some keys will not act as chosen:\n\n" + conflictsText_ + "\nSave the keys anyway?";
    return MessageBoxW(owner, Wide(question).c_str(), L"Orlavox Options", MB_YESNO | MB_ICONWARNING) == IDYES;
  }

  void Apply() override {
    for (int i = 0; i < kKeyActions; ++i)
      if (keys_[i] != loaded_[i]) WriteNumber(setting::Key, keys_[i], {std::to_string(i)});
    loaded_ = keys_;
    evt::ReloadKeyMappings.Set();
  }

  std::string Note() const override { return "At once: the keys (Apply tells the player to read them again)."; }

 private:
  void ShowRow(int i) {
    const std::wstring key = Wide(KeyEntryName(keys_[i])), hotkey = Wide(HotkeyName(keys_[i]));
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t*>(key.c_str());
    SendMessageW(list_, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 2;
    item.pszText = const_cast<wchar_t*>(hotkey.c_str());
    SendMessageW(list_, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
  }
  void Select(int i) {
    if (i < 0 || i >= kKeyActions) return;
    selected_ = i;
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
    ShowCapture();
  }
  void ShowCapture() {
    const uint32_t entry = keys_[selected_];
    std::string text = entry ? KeyEntryName(entry) : "(none)";
    if (IsHotkey(entry) && (entry & 0xFF)) text += "  \u2013 system-wide";
    SetWindowTextW(capture_, Wide(text).c_str());
  }
  void Set(uint32_t entry) {
    keys_[selected_] = entry;
    ShowRow(selected_);
    ShowCapture();
    ShowConflicts();
  }
  void ShowConflicts() {
    conflictsText_.clear();
    for (const KeyConflict& c : KeyConflicts(keys_)) {
      const uint32_t entry = keys_[c.action];
      const std::string key = c.hotkey ? HotkeyName(entry) : KeyEntryName(entry);
      conflictsText_ += std::string(kActionNames[c.action]) + ": " + key + " " +
                        (c.by >= 0 ? "goes to " + std::string(kActionNames[c.by]) : std::string("- ") + c.why) + "\n";
    }
    SetWindowTextW(conflicts_, Wide(conflictsText_.empty() ? "No key is taken twice." : conflictsText_).c_str());
  }

  HWND list_ = nullptr, capture_ = nullptr, conflicts_ = nullptr;
  KeyTable keys_{}, loaded_{};
  int selected_ = 0;
  std::string conflictsText_;
};

}  // namespace

std::unique_ptr<PagePart> KeysPart() { return std::make_unique<Keys>(); }

}  // namespace ox
