#include "ui/SkinGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ox {

WindowPlace ClampIntoWorkArea(WindowPlace at, const SkinRect& group, const SkinRect& work) {
  const int64_t w = Width(group), h = Height(group);
  int64_t x = at.x, y = at.y;
  if (x + w > work.right) x = work.right - w;
  if (x < work.left) x = work.left;
  if (y + h > work.bottom) y = work.bottom - h;
  if (y < work.top) y = work.top;
  return {Saturate(x), Saturate(y)};
}

bool IsOnSomeWorkArea(WindowPlace at, int32_t width, int32_t height, const std::vector<SkinRect>& workAreas) {
  const int64_t needX = std::min<int64_t>(std::max(width, 1), 16), needY = std::min<int64_t>(std::max(height, 1), 16);
  for (const SkinRect& area : workAreas) {
    const int64_t across = std::min<int64_t>(int64_t{at.x} + std::max(width, 1), area.right) - std::max<int64_t>(at.x, area.left);
    const int64_t down = std::min<int64_t>(int64_t{at.y} + std::max(height, 1), area.bottom) - std::max<int64_t>(at.y, area.top);
    if (across >= needX && down >= needY) return true;
  }
  return false;
}

namespace {

// Another window's place: the first window's, plus the design offset between the two.
WindowPlace FollowFirst(const PlacementInput& in) {
  const WindowPlace first = in.firstNow ? *in.firstNow : in.firstRecord;
  return {Saturate(int64_t{first.x} + in.record.x - in.firstRecord.x),
          Saturate(int64_t{first.y} + in.record.y - in.firstRecord.y)};
}

}  // namespace

WindowPlace HomePosition(const PlacementInput& in) {
  const SkinRect& b = in.group;
  const SkinRect& w = in.work;
  const WindowPlace at{Saturate(int64_t{in.record.x} - b.left), Saturate(int64_t{in.record.y} - b.top)};
  auto usable = [&](WindowPlace p) { return in.workAreas.empty() || IsOnSomeWorkArea(p, in.width, in.height, in.workAreas); };
  switch (in.placement) {
    case 0:
      return ClampIntoWorkArea({Saturate(int64_t{in.cursor.x} - Width(b) / 2), Saturate(int64_t{in.cursor.y} - Height(b) / 2)},
                               b, w);
    case 1:
      if (!in.isFirst && in.firstNow && in.relative) {
        const WindowPlace p{Saturate(int64_t{in.relative->x} + in.firstNow->x),
                            Saturate(int64_t{in.relative->y} + in.firstNow->y)};
        if (usable(p)) return p;
      }
      if (in.saved && usable(*in.saved)) return *in.saved;
      if (in.isFirst)
        return {Saturate(w.left + (int64_t{Width(w)} / 2 - Width(b) / 2)),
                Saturate(w.top + (int64_t{Height(w)} / 2 - Height(b) / 2))};
      return FollowFirst(in);
    case 2:
      return in.isFirst ? WindowPlace{0, 0} : FollowFirst(in);
  }
  return at;
}

AnimationFrame AnimationStart(int32_t mode, WindowPlace home, int32_t width, int32_t height, const SkinRect& group,
                              const SkinRect& work) {
  AnimationFrame f{home, width, height, false};
  switch (mode) {
    case 1: f.at.y = Saturate(int64_t{work.top} - Height(group)); break;
    case 2: f.at.y = work.bottom; break;
    case 3: f.at.x = Saturate(int64_t{work.left} - Width(group)); break;
    case 4: f.at.x = work.right; break;
    case 5: f.height = 0; break;
    case 6: f.width = 0; break;
    case 7: f.at.y = Saturate(int64_t{home.y} + height); break;
    case 8: f.at.y = Saturate(int64_t{home.y} - height); break;
    case 9: f.at.x = Saturate(int64_t{home.x} + width); break;
    case 10: f.at.x = Saturate(int64_t{home.x} - width); break;
  }
  return f;
}

double AnimationFraction(int32_t mode, int64_t t) {
  constexpr double d = kAnimationMs;
  if (mode == 5 || mode == 6) return std::clamp(static_cast<double>(t) / d, 0.0, 1.0);
  const double ms = t < 1 ? 1.0 : static_cast<double>(t);
  return std::min(1.0, std::max(0.0, std::log10(ms) - 1) / (std::log10(d) - 1));
}

AnimationFrame AnimationAt(int32_t mode, bool closing, int64_t t, const AnimationFrame& start, WindowPlace home,
                           int32_t width, int32_t height) {
  if (t >= kAnimationMs) {
    if (closing) return {home, 0, 0, true};
    return {home, width, height, true};
  }
  const double f = AnimationFraction(mode, closing ? kAnimationMs - t : t);
  auto between = [f](int32_t from, int32_t to) {
    return static_cast<int32_t>(from + (static_cast<double>(to) - from) * f);
  };
  AnimationFrame frame = start;
  switch (mode) {
    case 1: case 2: case 7: case 8: frame.at.y = between(start.at.y, home.y); break;
    case 3: case 4: case 9: case 10: frame.at.x = between(start.at.x, home.x); break;
    case 5: frame.height = static_cast<int32_t>(height * f); break;
    case 6: frame.width = static_cast<int32_t>(width * f); break;
    default: return {home, width, height, true};
  }
  return frame;
}

std::vector<StackStep> StackingPlan(const std::vector<int8_t>& ranks, const std::vector<bool>& exists) {
  std::vector<size_t> order(ranks.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return ranks[a] < ranks[b]; });
  std::vector<StackStep> plan;
  for (size_t k = 0; k < order.size(); ++k) {
    StackStep step{order[k], std::nullopt};
    for (size_t j = k; j-- > 0;) {
      if (ranks[order[j]] < ranks[order[k]] && exists[order[j]]) {
        step.behind = order[j];
        break;
      }
    }
    plan.push_back(step);
  }
  return plan;
}

namespace {

// Rectangles in 64 bits: a window's edges at its place may lie past the 32-bit range.
struct WideRect {
  int64_t left, top, right, bottom;
};
WideRect Wide(const SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

bool OverlapAcross(const WideRect& a, const WideRect& b) { return a.left < b.right && b.left < a.right; }
bool OverlapDown(const WideRect& a, const WideRect& b) { return a.top < b.bottom && b.top < a.bottom; }

bool Docked(size_t a, size_t b, const Docking& d) {
  return d.below[a] == b || d.right[a] == b || d.below[b] == a || d.right[b] == a;
}

}  // namespace

Docking FindDocking(const std::vector<DragWindow>& windows) {
  Docking d{std::vector<std::optional<size_t>>(windows.size()), std::vector<std::optional<size_t>>(windows.size())};
  for (size_t i = 0; i < windows.size(); ++i) {
    if (!windows[i].exists) continue;
    const WideRect a = Wide(windows[i].rect);
    for (size_t j = 0; j < windows.size(); ++j) {
      if (j == i || !windows[j].exists) continue;
      const WideRect b = Wide(windows[j].rect);
      if (!d.below[i] && b.top == a.bottom - 1 && OverlapAcross(a, b)) d.below[i] = j;
      if (!d.right[i] && b.left == a.right - 1 && OverlapDown(a, b)) d.right[i] = j;
    }
  }
  return d;
}

std::vector<bool> WindowsThatMove(size_t dragged, const std::vector<DragWindow>& windows, const Docking& docking) {
  std::vector<bool> moves(windows.size(), false);
  if (dragged >= windows.size()) return moves;
  moves[dragged] = true;
  const bool followers = windows[dragged].placement == 2 || dragged == 0;
  for (size_t i = 0; i < windows.size(); ++i) {
    if (followers && windows[i].placement == 2) moves[i] = true;
  }
  if (windows[dragged].placement == 2 && !windows.empty()) moves[0] = true;
  for (bool grew = true; grew;) {
    grew = false;
    for (size_t i = 0; i < windows.size(); ++i) {
      if (!moves[i]) continue;
      for (const std::optional<size_t>& next : {docking.below[i], docking.right[i]}) {
        if (next && !moves[*next]) moves[*next] = grew = true;
      }
    }
  }
  for (size_t i = 0; i < windows.size(); ++i) moves[i] = moves[i] && windows[i].exists;
  return moves;
}

WindowPlace Snapped(size_t self, WindowPlace home, const std::vector<DragWindow>& windows, const Docking& docking) {
  constexpr int64_t kReach = 16;
  const DragWindow& me = windows[self];
  if (me.placement == 2) return home;
  const int64_t w = Width(me.rect), h = Height(me.rect);
  int64_t x = home.x, y = home.y;
  for (size_t i = 0; i < windows.size(); ++i) {
    const DragWindow& other = windows[i];
    if (i == self || !other.exists || Docked(self, i, docking) || (self == 0 && other.placement == 2)) continue;
    const WideRect b = Wide(other.rect);
    const WideRect a{x, y, x + w, y + h};
    if (OverlapDown(a, b)) {
      if (std::abs(a.right - 1 - b.left) <= kReach) x = b.left - w + 1;
      else if (std::abs(a.left - (b.right - 1)) <= kReach) x = b.right - 1;
    }
    const WideRect c{x, y, x + w, y + h};
    if (OverlapAcross(c, b)) {
      if (std::abs(c.bottom - 1 - b.top) <= kReach) y = b.top - h + 1;
      else if (std::abs(c.top - (b.bottom - 1)) <= kReach) y = b.bottom - 1;
    }
  }
  return {Saturate(x), Saturate(y)};
}

int32_t VolumeAfterWheel(int32_t volume, int16_t delta) {
  volume = std::clamp(volume, 0, 100);  // the shared value may hold anything another program wrote
  if (delta >= 1) volume += (delta + 19) / 20;
  else if (delta < 0) volume -= (19 - delta) / 20;
  return std::clamp(volume, 0, 100);
}

}  // namespace ox
