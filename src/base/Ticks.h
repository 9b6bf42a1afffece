// The one clock of the interface and the engine's timing: milliseconds since the system started,
// as GetTickCount gives them. A tick count wraps to 0 every 49.7 days and is past 2^31 for half of
// that time, so two counts are compared only as a difference, never as numbers.
#pragma once

#include <cstdint>

namespace ox {

// The tick count now, moved by the offset a test set.
uint32_t Ticks();

// Tests run the code at a chosen time of the wrap: from now on Ticks() gives `at` and counts on
// from there. Process-wide.
void SetTicksNow(uint32_t at);

// Milliseconds from `earlier` to `now`, across a wrap.
constexpr uint32_t TicksSince(uint32_t earlier, uint32_t now) { return now - earlier; }

// Whether `now` has reached `deadline`, for deadlines less than 24.8 days ahead, across a wrap.
constexpr bool TickReached(uint32_t now, uint32_t deadline) { return static_cast<int32_t>(now - deadline) >= 0; }

}  // namespace ox
