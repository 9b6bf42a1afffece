#include "queue/QueueEdit.h"

#include <algorithm>
#include <cstring>

namespace ox {

namespace {

bool SameTrack(const TrackRecord& a, const TrackRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

int64_t TakenSince(const std::vector<QueueRecord>& seen, const std::vector<QueueRecord>& now) {
  for (size_t d = 0; d <= seen.size(); ++d) {
    const size_t left = seen.size() - d;
    if (left > now.size()) continue;
    // Only a d whose first row is the file's head can be the one; most fail on that compare.
    if (left > 0 && !SameTrack(seen[d].track, now[0].track)) continue;
    size_t i = 1;
    while (i < left && SameTrack(seen[d + i].track, now[i].track)) ++i;
    if (i >= left) return static_cast<int64_t>(d);
  }
  return -1;  // not reached: d = seen.size() always fits
}

bool ApplyQueueEdit(const std::vector<QueueRecord>& seen, const std::vector<QueueRecord>& now,
                    const std::vector<int64_t>& order, const std::vector<TrackRecord>& added,
                    std::vector<QueueRecord>& out) {
  const int64_t taken = TakenSince(seen, now);
  if (taken < 0) return false;
  const size_t d = static_cast<size_t>(taken), kept = seen.size() - d;
  std::vector<QueueRecord> result;
  result.reserve(order.size() + now.size() - kept);
  std::vector<bool> used(seen.size(), false);
  for (int64_t v : order) {
    if (v >= 0) {
      const size_t row = static_cast<size_t>(v);
      if (row >= seen.size() || used[row]) return false;  // each row once: never write one twice
      used[row] = true;
      if (row >= d) result.push_back(now[row - d]);
    } else {
      const size_t k = static_cast<size_t>(-1 - v);
      if (k >= added.size()) return false;
      QueueRecord q{};
      q.track = added[k];
      result.push_back(q);
    }
  }
  result.insert(result.end(), now.begin() + static_cast<std::ptrdiff_t>(kept), now.end());
  out = std::move(result);
  return true;
}

std::vector<int64_t> OrderWithout(const std::vector<bool>& marked) {
  std::vector<int64_t> order;
  for (size_t i = 0; i < marked.size(); ++i)
    if (!marked[i]) order.push_back(static_cast<int64_t>(i));
  return order;
}

std::vector<int64_t> OrderStepped(const std::vector<bool>& marked, int step) {
  std::vector<int64_t> order(marked.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int64_t>(i);
  std::vector<bool> moving = marked;
  const size_t n = order.size();
  if (step < 0) {
    for (size_t i = 1; i < n; ++i)
      if (moving[i] && !moving[i - 1]) std::swap(order[i], order[i - 1]), moving.swap(moving[i], moving[i - 1]);
  } else if (step > 0) {
    for (size_t i = n > 0 ? n - 1 : 0; i-- > 0;)
      if (moving[i] && !moving[i + 1]) std::swap(order[i], order[i + 1]), moving.swap(moving[i], moving[i + 1]);
  }
  return order;
}

std::vector<int64_t> OrderMovedBefore(const std::vector<bool>& marked, size_t before) {
  std::vector<int64_t> order, moved;
  for (size_t i = 0; i < marked.size(); ++i) (marked[i] ? moved : order).push_back(static_cast<int64_t>(i));
  size_t at = 0;
  while (at < order.size() && order[at] < static_cast<int64_t>(before)) ++at;
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), moved.begin(), moved.end());
  return order;
}

std::vector<TrackRecord> RemoveFromHistory(const std::vector<TrackRecord>& seen, const std::vector<TrackRecord>& now,
                                           const std::vector<size_t>& removed) {
  // a: records put at the front since; the seen rows follow them, cut where the file now ends.
  // a = now.size() always fits: every seen row has fallen off.
  size_t a = 0;
  for (; a < now.size(); ++a) {
    const size_t overlap = std::min(seen.size(), now.size() - a);
    size_t i = 0;
    while (i < overlap && SameTrack(seen[i], now[a + i])) ++i;
    if (i == overlap) break;
  }
  std::vector<bool> drop(now.size(), false);
  for (size_t row : removed)
    if (row < seen.size() && a + row < now.size()) drop[a + row] = true;
  std::vector<TrackRecord> result;
  result.reserve(now.size());
  for (size_t k = 0; k < now.size(); ++k)
    if (!drop[k]) result.push_back(now[k]);
  return result;
}

}  // namespace ox
