// The transform's entry points as a table, one per instruction set it is compiled for.
#pragma once

#include <cstdint>

namespace ox::fft {

struct Kernels {
  void (*forward)(float* x);
  void (*backward)(float* x);
  void (*forwardSplitHalf)(const float* x, float* re, float* im);
  void (*filter)(const int32_t* in, const float* hr, const float* hi, float* out);
};

const Kernels& SseKernels();   // SSE2: every x86 CPU the player runs on
const Kernels& Avx2Kernels();  // AVX2 and FMA: only where the CPU has them
bool CpuHasAvx2();

}  // namespace ox::fft
