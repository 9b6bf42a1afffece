// One window of a loaded skin: its record, its elements, the settings key it keeps its place under,
// and, while its show condition holds, the top-level window that shows it. Skin windows are made,
// walked and destroyed on the skin thread, under the skin lock.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/NamedEvent.h"
#include "ui/Bitmap.h"
#include "ui/SkinRecords.h"
#include "ui/SkinRules.h"
#include "ui/Window.h"

namespace ox {

class SkinWindow {
 public:
  // folder: the skin folder, with its trailing backslash.
  SkinWindow(std::string folder, SkinWindowRecords records);
  ~SkinWindow() { Destroy(); }
  SkinWindow(const SkinWindow&) = delete;
  SkinWindow& operator=(const SkinWindow&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Folder() const { return folder_; }
  const std::string& SettingsKey() const { return key_; }
  const std::string& ShowConditionText() const { return conditionText_; }
  const WindowRecord& Record() const { return record_; }
  const std::vector<SkinRecord>& Elements() const { return elements_; }
  bool IsMainWindow() const { return condition_ == ShowCondition::MainWindow; }

  // The window's own show condition (for a window that is not its group's first, the group adds
  // that the first one must be shown).
  bool ConditionHolds() const;

  // Makes the window: the background bitmap sets its size, the outline its shape. taskbar owns it
  // unless it (or the group's first window) is topmost. False when no window could be made.
  bool Create(const SkinWindow* first, HWND taskbar);
  // The closing: the window goes out of sight; the skin thread destroys it once it has finished.
  void StartClosing();
  bool ClosingFinished() const { return closing_; }
  void Destroy();

  bool IsCreated() const { return static_cast<bool>(window_); }
  bool IsVisible() const { return window_.IsVisible(); }
  bool IsMinimised() const { return window_.IsMinimised(); }
  bool IsTopmost() const { return record_.topmost != 0; }
  HWND Handle() const { return window_.Handle(); }
  // Draws everything again.
  void Invalidate() const;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // True when handled, with the answer in result.
  bool OnMessage(HWND window, UINT message, LRESULT& result);
  void ApplyOutline();

  std::string folder_;
  std::string name_;
  std::string key_;
  std::string conditionText_;
  WindowRecord record_;
  std::vector<SkinRecord> elements_;
  ShowCondition condition_;
  NamedEvent* event_ = nullptr;  // the condition's event, when it names one

  Window window_;
  Bitmap background_;
  bool closing_ = false;
};

}  // namespace ox
