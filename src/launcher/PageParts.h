// The parts of the settings window's pages that are more than one value each: the lists of skins
// and visual plug-ins with a check box per entry, the key table, the equaliser presets, and the
// folder watch's "Scan now". The window builds each beside its page's rows, passes it the
// commands and notifications of its controls, and asks it on Apply.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "launcher/WindowBasics.h"

namespace ox {

class PagePart {
 public:
  virtual ~PagePart() = default;
  // Makes the part's controls on `page` from `top` (96-DPI units) down; returns where it ends.
  virtual int Build(HWND page, DpiLayout& layout, int top) = 0;
  // WM_COMMAND and WM_NOTIFY from the part's controls; true when it took the message.
  virtual bool Command(HWND /*control*/, UINT /*code*/) { return false; }
  virtual bool Notify(const NMHDR& /*header*/) { return false; }
  virtual bool Changed() const { return false; }
  // Asked before anything is written: false keeps the window open (the user wants to look again).
  virtual bool ReadyToApply(HWND /*owner*/) { return true; }
  virtual void Apply() {}
  // A line for the page's note on when its changes take effect.
  virtual std::string Note() const { return {}; }
};

std::unique_ptr<PagePart> SkinChoicePart();
std::unique_ptr<PagePart> VisualPluginsPart();
std::unique_ptr<PagePart> KeysPart();
std::unique_ptr<PagePart> EqPresetsPart();
std::unique_ptr<PagePart> ScanNowPart();

// The control ids parts use start here, far above the rows'.
constexpr int kFirstPartId = 5000;
// Marks the key capture field, whose keys (Alt+letter, Escape, Enter) the window's dialog keys
// must not take first.
constexpr wchar_t kKeyCaptureProperty[] = L"OxKeyCapture";
// Sent by the key capture field to its parent as WM_COMMAND with this code when a key was taken.
constexpr UINT kKeyCaptured = 0x4B43;

}  // namespace ox
