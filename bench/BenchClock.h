// The benchmarks' clock: seconds from the performance counter.
#pragma once

#include <windows.h>

inline double Now() {
  LARGE_INTEGER now, rate;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&rate);
  return double(now.QuadPart) / rate.QuadPart;
}
