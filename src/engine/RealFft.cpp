#include "engine/RealFft.h"

#include "engine/RealFftKernels.h"

namespace ox::fft {

bool CpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

namespace {

// Chosen once, at the first transform.
const Kernels& Use() {
  static const Kernels& kernels = CpuHasAvx2() ? Avx2Kernels() : SseKernels();
  return kernels;
}

}  // namespace

void Forward(float* x) { Use().forward(x); }
void Backward(float* x) { Use().backward(x); }
void ForwardSplitHalf(const float* x, float* re, float* im) { Use().forwardSplitHalf(x, re, im); }
void Filter(const int32_t* in, const float* hr, const float* hi, float* out) { Use().filter(in, hr, hi, out); }

}  // namespace ox::fft
