// The arithmetic of skin windows: where a window opens, how it animates open and closed, how the
// windows of a group stack, dock, follow and snap while one is dragged, and what the wheel does to
// the volume. Pure: positions and sizes in, positions and sizes out.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/SkinRules.h"

namespace ox {

struct WindowPlace {
  int32_t x = 0, y = 0;
  bool operator==(const WindowPlace& o) const { return x == o.x && y == o.y; }
};

// A 64-bit result held to the 32-bit range: positions and sizes that skins, saved settings and
// screens give may lie anywhere in it, and their sums must not wrap.
inline int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}
// Width and height of any rectangle, saturated (a reversed one is negative).
inline int32_t Width(const SkinRect& r) { return Saturate(int64_t{r.right} - r.left); }
inline int32_t Height(const SkinRect& r) { return Saturate(int64_t{r.bottom} - r.top); }

// What decides where a window opens (its home position).
struct PlacementInput {
  int32_t placement = 0;      // 0 at the cursor, 1 remembered or centred, 2 at the design offset
  bool isFirst = true;        // the group's first window
  WindowPlace record;         // this window's record position
  WindowPlace firstRecord;    // the first window's record position
  std::optional<WindowPlace> firstNow;  // where the first window is, when it exists
  std::optional<WindowPlace> relative;  // "RX"/"RY" saved for this window
  std::optional<WindowPlace> saved;     // "X"/"Y" saved for this window
  WindowPlace cursor;
  SkinRect group;                     // the group's bounding rectangle
  SkinRect work;                      // the work area of the screen
  int32_t width = 0, height = 0;      // the window's own (bitmap) size
  std::vector<SkinRect> workAreas;    // every monitor's work area: a saved place off all of them is not used
};
WindowPlace HomePosition(const PlacementInput& in);

// A rectangle of the group's size at `at`, moved into the work area (right and bottom first, then
// left and top win).
WindowPlace ClampIntoWorkArea(WindowPlace at, const SkinRect& group, const SkinRect& work);

// Whether a window of the size at the place shows enough of itself on one of the work areas to be
// found and dragged back: 16 by 16 pixels, or all of it when it is smaller.
bool IsOnSomeWorkArea(WindowPlace at, int32_t width, int32_t height, const std::vector<SkinRect>& workAreas);

// Opening and closing animations: modes 1..10 move in from an edge or grow, over 750 ms.
constexpr uint32_t kAnimationMs = 750;
struct AnimationFrame {
  WindowPlace at;
  int32_t width = 0, height = 0;
  bool done = false;
};
// Where a window opening with this mode starts (and closing ends), and its size there.
AnimationFrame AnimationStart(int32_t mode, WindowPlace home, int32_t width, int32_t height, const SkinRect& group,
                              const SkinRect& work);
// The share of the way done after t ms: linear for modes 5 and 6, else logarithmic (0 for the
// first 10 ms, then fast, then slow).
double AnimationFraction(int32_t mode, int64_t t);
// The frame t ms after the animation began; closing runs the way backwards and ends at size 0.
AnimationFrame AnimationAt(int32_t mode, bool closing, int64_t t, const AnimationFrame& start, WindowPlace home,
                           int32_t width, int32_t height);

// Stacking: the windows in rank order (ties keep their order) and, for each from the second on,
// the window it goes directly behind: the nearest earlier one in that order with a strictly lower
// rank that exists. Indexes into the group.
struct StackStep {
  size_t window;
  std::optional<size_t> behind;
};
std::vector<StackStep> StackingPlan(const std::vector<int8_t>& ranks, const std::vector<bool>& exists);

// One window of a group as dragging sees it.
struct DragWindow {
  SkinRect rect;           // where it is (right and bottom exclusive)
  int32_t placement = 0;
  bool exists = true;
};
// At the start of a drag: the window docked below each window (its top on the other's last row,
// overlapping it across) and to its right (its left on the other's last column, overlapping it
// down); the first match in group order.
struct Docking {
  std::vector<std::optional<size_t>> below, right;
};
Docking FindDocking(const std::vector<DragWindow>& windows);
// The windows that move with the dragged one (index 0 is the group's first window).
std::vector<bool> WindowsThatMove(size_t dragged, const std::vector<DragWindow>& windows, const Docking& docking);
// Where a window of placement other than 2 shows when its home is `home`: each edge within 16
// pixels of another window of the group (not docked to it; for the first window not one of
// placement 2) snaps so the two share a pixel row or column.
WindowPlace Snapped(size_t self, WindowPlace home, const std::vector<DragWindow>& windows, const Docking& docking);

// The volume after a wheel turn of delta (120 a notch: 6 points), within 0..100.
int32_t VolumeAfterWheel(int32_t volume, int16_t delta);

}  // namespace ox
