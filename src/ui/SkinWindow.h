// One window of a loaded skin: its record, its elements, the settings key it keeps its place under,
// and, while its show condition holds, the top-level window that shows it: placed, shaped by its
// outline, animated open and closed, painted through a back buffer, dragged with the windows docked
// to it. Skin windows are made, walked and destroyed on the skin thread, under the skin lock.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "base/NamedEvent.h"
#include "ui/Bitmap.h"
#include "ui/ButtonSet.h"
#include "ui/SkinElements.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinRecords.h"
#include "ui/SkinRules.h"
#include "ui/Tooltips.h"
#include "ui/Window.h"

namespace ox {

class SkinWindow;

// The windows of one skin file: they place, stack, dock and snap against each other, the first
// one leading.
struct SkinGroup {
  std::vector<std::unique_ptr<SkinWindow>> windows;
  SkinRect bounds;  // the union of the windows' record rectangles

  SkinWindow* First() const { return windows.empty() ? nullptr : windows.front().get(); }
  // Orders the made windows by rank; unless focus set it off, the front one comes to the top.
  void Restack(bool onFocus) const;
};

class SkinWindow {
 public:
  // folder: the skin folder, with its trailing backslash.
  SkinWindow(std::string folder, SkinWindowRecords records, SkinGroup* group);
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
  bool IsFirst() const { return group_->First() == this; }

  // The window's own show condition (for a window that is not its group's first, the group adds
  // that the first one must be shown).
  bool ConditionHolds() const;

  // Makes, places, shapes and shows the window and starts its opening animation. taskbar owns it
  // unless it (or the group's first window) is topmost. False when no window could be made.
  bool Create(HWND taskbar);
  // Starts the closing animation from where the window is; ClosingFinished tells when the skin
  // thread may destroy it.
  void StartClosing();
  bool ClosingFinished() const { return closed_; }
  // Saves the user events and the window's place, and frees the window.
  void Destroy();

  bool IsCreated() const { return static_cast<bool>(window_); }
  bool IsVisible() const { return window_ && IsWindowVisible(window_.Handle()); }
  bool IsMinimised() const { return window_.IsMinimised(); }
  bool IsTopmost() const { return record_.topmost != 0; }
  int8_t Rank() const { return record_.rank; }
  int32_t Placement() const { return record_.placement; }
  HWND Handle() const { return window_.Handle(); }
  WindowPlace Place() const { return {window_.X(), window_.Y()}; }
  // Where the window stands once an opening animation has brought it there: the place the others
  // of its group are placed and remembered against.
  WindowPlace SettledPlace() const { return mode_ && !closing_ ? home_ : Place(); }
  SkinRect Rect() const { return {window_.X(), window_.Y(), window_.X() + window_.Width(), window_.Y() + window_.Height()}; }

  // Redraws the back buffer from scratch and shows it.
  void Repaint();
  void Invalidate() const;

  // One step of the animation (timer 0); true while it runs.
  bool Animate();
  // The skin thread's 25 ms tick: scrolling and time texts.
  void AnimationTick();
  // Whether the window needs the fast paces now (an animation, a drag, or an element that moves
  // with the ticks); otherwise its refresh timer stops and the skin thread slows down, showing
  // the same.
  bool Busy() const;
  // While the refresh timer is stopped: the refresh, from the skin thread's check (every 100 ms).
  void IdleTick();

 private:
  // The screen rectangles of the title fields the track tooltip watches, while the window is shown.
  void PlaceTrackTooltip();
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // True when handled, with the answer in result.
  bool OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool ElementMouse(ElementMouse kind, LPARAM lParam);
  WindowPlace PlaceToOpen() const;
  void ApplyOutline();
  void MoveTo(const AnimationFrame& frame);
  void StartDrag();
  void Drag();
  void EndDrag();
  void OnDropFiles(HDROP drop);
  void SavePlace() const;

  std::string folder_;
  std::string name_;
  std::string key_;
  std::string conditionText_;
  WindowRecord record_;
  std::vector<SkinRecord> elements_;
  ShowCondition condition_;
  NamedEvent* event_ = nullptr;  // the condition's event, when it names one
  SkinGroup* group_;

  SkinElements controls_;  // the elements at run time
  TrackTooltip trackTooltip_;
  std::unique_ptr<ButtonSet> buttons_;
  Window window_;
  Bitmap background_;
  Bitmap backBuffer_;
  HWND taskbar_ = nullptr;
  WindowPlace home_;
  int32_t mode_ = 0;  // the animation running, 0 none
  bool closing_ = false, closed_ = false;
  uint32_t animationStart_ = 0;
  bool cursorInside_ = false;  // since a mouse move over the window, until the system reports it left
  bool fastRefresh_ = true;  // timer 0 runs (30 ms); stopped while nothing moves
  void SetRefreshPace(bool fast);
  void RefreshTick();  // timer 0's work: drag, animation, elements, the minimise request
  AnimationFrame start_;
};

}  // namespace ox
