// The 512-point real FFT of the equaliser. Forward replaces x[0..511] by the packed spectrum
// R0, R256, R1, I1, ..., R255, I255 with
// Rk = sum x[j] cos(2 pi j k / 512) and Ik = sum x[j] sin(2 pi j k / 512); Backward is its
// unnormalised inverse, so Forward then Backward multiplies by 256. Pure.
//
// The tables are built once per process on first use and only read afterwards, so any number of
// threads may transform at once; each call works in place on the caller's array plus a scratch
// array on the stack.
#pragma once

#include <cstdint>

namespace ox::fft {

constexpr int kSize = 512;

void Forward(float* x);   // x: kSize floats, in place
void Backward(float* x);  // x: kSize floats, in place

// The forward transform of an x whose second half (x[256..511]) is zero, which it does not read,
// with the spectrum in split form: X[k] = re[k] + i im[k] for k = 0..256 (im[0] and im[256] are 0).
// The equaliser designs its responses with it.
constexpr int kBins = kSize / 2 + 1;
void ForwardSplitHalf(const float* x, float* re, float* im);  // x: kSize floats; re, im: kBins

// The equaliser's overlap-add step for one channel: in[0..254] zero-padded to 512, transformed,
// multiplied by the response (hr, hi: kBins each), transformed back; then out[k] += y[k] * 2/512
// for k < 255 and out[k] = y[k] * 2/512 for k = 255..511.
void Filter(const int32_t* in, const float* hr, const float* hi, float* out);

}  // namespace ox::fft
