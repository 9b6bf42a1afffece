#include "engine/RealFftKernels.inc"

namespace ox::fft {
const Kernels& SseKernels() { return kKernels; }
}  // namespace ox::fft
