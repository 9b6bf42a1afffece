#include "launcher/PageParts.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "base/FileFinder.h"
#include "base/Path.h"
#include "base/Wide.h"
#include "core/EnsureRunning.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "launcher/OptionsMenu.h"
#include "ui/EqPresets.h"

namespace ox {
namespace {

HWND Make(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// Entries with a check box each, backed by one number per entry: checked while it is 0.
class ChecklistPart : public PagePart {
 public:
  ChecklistPart(const wchar_t* title, std::vector<std::string> names, const Setting& setting, bool nameIsKey,
                const char* note, NamedEvent* event)
      : title_(title), names_(std::move(names)), setting_(setting), nameIsKey_(nameIsKey), note_(note), event_(event) {}

  int Build(HWND page, DpiLayout& layout, int top) override {
    layout.Place(Make(page, L"STATIC", title_, SS_LEFT, -1), 0, top, 480, 20);
    list_ = layout.Place(
        Make(page, WC_LISTVIEWW, L"", LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
             kFirstPartId, WS_EX_CLIENTEDGE),
        0, top + 22, 300, 150);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = layout.Px(270);
    SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (size_t i = 0; i < names_.size(); ++i) {
      const std::wstring text = Wide(names_[i]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.pszText = const_cast<wchar_t*>(text.c_str());
      SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      loaded_.push_back(ReadNumber(setting_, At(i)) == 0);
      SetChecked(static_cast<int>(i), loaded_.back());
    }
    return top + 176;
  }
  bool Notify(const NMHDR& header) override { return header.hwndFrom == list_ && header.code == LVN_ITEMCHANGED; }
  bool Changed() const override {
    for (size_t i = 0; i < loaded_.size(); ++i)
      if (Checked(static_cast<int>(i)) != loaded_[i]) return true;
    return false;
  }
  void Apply() override {
    for (size_t i = 0; i < loaded_.size(); ++i) {
      const bool checked = Checked(static_cast<int>(i));
      if (checked == loaded_[i]) continue;
      WriteNumber(setting_, checked ? 0 : 1, At(i));
      loaded_[i] = checked;
    }
    if (event_) event_->Set();
  }
  std::string Note() const override { return note_; }

 private:
  SettingAt At(size_t i) const { return nameIsKey_ ? SettingAt{{}, names_[i]} : SettingAt{names_[i], {}}; }
  bool Checked(int i) const {
    return ((SendMessageW(list_, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
  }
  void SetChecked(int i, bool on) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    SendMessageW(list_, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
  }

  const wchar_t* title_;
  std::vector<std::string> names_;
  const Setting& setting_;
  bool nameIsKey_;
  std::string note_;
  NamedEvent* event_;
  HWND list_ = nullptr;
  std::vector<bool> loaded_;
};

std::vector<std::string> FileNames(const std::string& folder, const char* pattern) {
  std::vector<std::string> names;
  FileFinder files(folder, pattern);
  while (files.Next())
    if (!files.IsDirectory()) names.emplace_back(files.Name());
  return names;
}

// The .oeq and .eqf files of the presets folder: load one into the equaliser, rename, delete.
class PresetsPart : public PagePart {
 public:
  int Build(HWND page, DpiLayout& layout, int top) override {
    page_ = page;
    layout.Place(Make(page, L"STATIC", L"Presets in the presets folder:", SS_LEFT, -1), 0, top, 480, 20);
    list_ = layout.Place(Make(page, L"LISTBOX", L"", LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_TABSTOP, kFirstPartId + 10,
                              WS_EX_CLIENTEDGE),
                         0, top + 22, 300, 220);
    load_ = layout.Place(Make(page, L"BUTTON", L"&Load", BS_PUSHBUTTON | WS_TABSTOP, kFirstPartId + 11), 312, top + 22,
                         100, 28);
    remove_ = layout.Place(Make(page, L"BUTTON", L"&Delete\u2026", BS_PUSHBUTTON | WS_TABSTOP, kFirstPartId + 12), 312,
                           top + 56, 100, 28);
    layout.Place(Make(page, L"STATIC", L"New name:", SS_LEFT, -1), 312, top + 96, 180, 20);
    name_ = layout.Place(Make(page, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, kFirstPartId + 13, WS_EX_CLIENTEDGE),
                         312, top + 118, 180, 24);
    rename_ = layout.Place(Make(page, L"BUTTON", L"&Rename", BS_PUSHBUTTON | WS_TABSTOP, kFirstPartId + 14), 312,
                           top + 148, 100, 28);
    Refill();
    return top + 250;
  }
  bool Command(HWND control, UINT code) override {
    const std::string chosen = Chosen();
    if (control == list_ && code == LBN_SELCHANGE) {
      SetWindowTextW(name_, Wide(StripExtension(chosen)).c_str());
    } else if (code != BN_CLICKED || chosen.empty()) {
      return false;
    } else if (control == load_) {
      if (!LoadEqPresetFile(EqPresetFolder() + chosen))
        MessageBoxW(page_, L"The preset could not be read.", L"Orlavox Options", MB_OK | MB_ICONWARNING);
    } else if (control == remove_) {
      if (MessageBoxW(page_, Wide("Delete the preset " + chosen + "?").c_str(), L"Orlavox Options",
                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES)
        DeleteFileW(Wide(EqPresetFolder() + chosen).c_str());
      Refill();
    } else if (control == rename_) {
      std::wstring typed(260, L'\0');
      typed.resize(static_cast<size_t>(GetWindowTextW(name_, typed.data(), 260)));
      const std::string name = FromWide(typed);
      if (name.empty() || name.find_first_of("\\/:*?\"<>|") != std::string::npos) return true;
      const std::string target = EqPresetFolder() + name + ExtensionOf(chosen);
      if (!MoveFileW(Wide(EqPresetFolder() + chosen).c_str(), Wide(target).c_str()))
        MessageBoxW(page_, L"The preset could not be renamed (is the name taken?).", L"Orlavox Options",
                    MB_OK | MB_ICONWARNING);
      Refill();
    }
    return true;
  }
  std::string Note() const override {
    return "Load, Rename and Delete act at once: a loaded preset goes to the equaliser of the running player.";
  }

 private:
  std::string Chosen() const {
    const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(SendMessageW(list_, LB_GETTEXTLEN, index, 0)) + 1, L'\0');
    SendMessageW(list_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return FromWide(text.c_str());
  }
  void Refill() {
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const char* pattern : {"*.oeq", "*.eqf"})
      for (const std::string& name : FileNames(EqPresetFolder(), pattern))
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
  }

  HWND page_ = nullptr, list_ = nullptr, load_ = nullptr, remove_ = nullptr, name_ = nullptr, rename_ = nullptr;
};

class ScanNow : public PagePart {
 public:
  int Build(HWND page, DpiLayout& layout, int top) override {
    button_ = layout.Place(Make(page, L"BUTTON", L"&Scan now", BS_PUSHBUTTON | WS_TABSTOP, kFirstPartId + 20), 0, top,
                           120, 28);
    return top + 34;
  }
  bool Command(HWND control, UINT code) override {
    if (control != button_ || code != BN_CLICKED) return false;
    EnsurePlayerRunning();  // the player scans
    evt::OxTriggerFolderWatch.Set();
    return true;
  }
  std::string Note() const override { return "Scan now asks the player to scan at once (it is started if need be)."; }

 private:
  HWND button_ = nullptr;
};

}  // namespace

std::unique_ptr<PagePart> SkinChoicePart() {
  return std::make_unique<ChecklistPart>(L"Skins in the random choice:", InstalledSkins(), setting::SkinExcluded, false,
                                         "The next time a skin is chosen at random: the skins in the choice.", nullptr);
}

std::unique_ptr<PagePart> VisualPluginsPart() {
  return std::make_unique<ChecklistPart>(
      L"Visual plug-ins shown:", FileNames(VisualOutputFolder(), "*.dll"), setting::VisualHide, true,
      "At once: the plug-ins shown and hidden (Apply tells the player).", &evt::OxVisHideShow);
}

std::unique_ptr<PagePart> EqPresetsPart() { return std::make_unique<PresetsPart>(); }
std::unique_ptr<PagePart> ScanNowPart() { return std::make_unique<ScanNow>(); }

}  // namespace ox
