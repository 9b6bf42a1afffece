#include "base/Ticks.h"

#include <windows.h>

#include <atomic>

namespace ox {

namespace {

std::atomic<uint32_t> g_offset{0};

}  // namespace

uint32_t Ticks() { return GetTickCount() + g_offset.load(std::memory_order_relaxed); }

void SetTicksNow(uint32_t at) { g_offset.store(at - GetTickCount(), std::memory_order_relaxed); }

}  // namespace ox
