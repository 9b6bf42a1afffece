#include "engine/RealFft.h"

#include <xmmintrin.h>

#include <cmath>

namespace ox::fft {

namespace {

constexpr int kHalf = kSize / 2;  // the complex transform underneath: 256 = 4^4 points
constexpr double kPi = 3.14159265358979323846;

// Twiddles of the radix-4 stages (w^p, w^2p, w^3p for w = exp(-2 pi i / n)) and of the real/complex
// split (exp(-2 pi i k / 512)), split into real and imaginary arrays.
struct Tables {
  float w1r[85], w1i[85], w2r[85], w2i[85], w3r[85], w3i[85];  // 64 + 16 + 4 + 1 per-stage entries
  float splitR[kHalf / 2 + 4], splitI[kHalf / 2 + 4];  // + 3: the last group of four reads past 128
  Tables() {
    int at = 0;
    for (int n = kHalf; n >= 4; n /= 4)
      for (int p = 0; p < n / 4; ++p, ++at) {
        const double a = -2 * kPi * p / n;
        w1r[at] = float(std::cos(a)), w1i[at] = float(std::sin(a));
        w2r[at] = float(std::cos(2 * a)), w2i[at] = float(std::sin(2 * a));
        w3r[at] = float(std::cos(3 * a)), w3i[at] = float(std::sin(3 * a));
      }
    for (int k = 0; k < kHalf / 2 + 4; ++k) {
      splitR[k] = float(std::cos(2 * kPi * k / kSize));
      splitI[k] = float(std::sin(2 * kPi * k / kSize));
    }
  }
};

const Tables& T() {
  static const Tables tables;  // built once, thread-safely, then only read
  return tables;
}

// One radix-4 Stockham stage over n points with stride s, s a multiple of 4: four q side by side.
template <int n, int s>
inline void Stage(const float* __restrict xr, const float* __restrict xi, float* __restrict yr, float* __restrict yi,
                  const Tables& t, int at) {
  static_assert(s % 4 == 0, "four lanes");
  constexpr int n1 = n / 4;
  for (int p = 0; p < n1; ++p) {
    const __m128 w1r = _mm_set1_ps(t.w1r[at + p]), w1i = _mm_set1_ps(t.w1i[at + p]);
    const __m128 w2r = _mm_set1_ps(t.w2r[at + p]), w2i = _mm_set1_ps(t.w2i[at + p]);
    const __m128 w3r = _mm_set1_ps(t.w3r[at + p]), w3i = _mm_set1_ps(t.w3i[at + p]);
    const float* ar = xr + s * p;
    const float* ai = xi + s * p;
    float* br = yr + s * 4 * p;
    float* bi = yi + s * 4 * p;
    for (int q = 0; q < s; q += 4) {
      const __m128 a_r = _mm_loadu_ps(ar + q), a_i = _mm_loadu_ps(ai + q);
      const __m128 b_r = _mm_loadu_ps(ar + q + s * n1), b_i = _mm_loadu_ps(ai + q + s * n1);
      const __m128 c_r = _mm_loadu_ps(ar + q + 2 * s * n1), c_i = _mm_loadu_ps(ai + q + 2 * s * n1);
      const __m128 d_r = _mm_loadu_ps(ar + q + 3 * s * n1), d_i = _mm_loadu_ps(ai + q + 3 * s * n1);
      const __m128 apc_r = _mm_add_ps(a_r, c_r), apc_i = _mm_add_ps(a_i, c_i);
      const __m128 amc_r = _mm_sub_ps(a_r, c_r), amc_i = _mm_sub_ps(a_i, c_i);
      const __m128 bpd_r = _mm_add_ps(b_r, d_r), bpd_i = _mm_add_ps(b_i, d_i);
      const __m128 jbmd_r = _mm_sub_ps(d_i, b_i), jbmd_i = _mm_sub_ps(b_r, d_r);  // i * (b - d)
      _mm_storeu_ps(br + q, _mm_add_ps(apc_r, bpd_r));
      _mm_storeu_ps(bi + q, _mm_add_ps(apc_i, bpd_i));
      const __m128 u1r = _mm_sub_ps(amc_r, jbmd_r), u1i = _mm_sub_ps(amc_i, jbmd_i);
      _mm_storeu_ps(br + q + s, _mm_sub_ps(_mm_mul_ps(u1r, w1r), _mm_mul_ps(u1i, w1i)));
      _mm_storeu_ps(bi + q + s, _mm_add_ps(_mm_mul_ps(u1r, w1i), _mm_mul_ps(u1i, w1r)));
      const __m128 u2r = _mm_sub_ps(apc_r, bpd_r), u2i = _mm_sub_ps(apc_i, bpd_i);
      _mm_storeu_ps(br + q + 2 * s, _mm_sub_ps(_mm_mul_ps(u2r, w2r), _mm_mul_ps(u2i, w2i)));
      _mm_storeu_ps(bi + q + 2 * s, _mm_add_ps(_mm_mul_ps(u2r, w2i), _mm_mul_ps(u2i, w2r)));
      const __m128 u3r = _mm_add_ps(amc_r, jbmd_r), u3i = _mm_add_ps(amc_i, jbmd_i);
      _mm_storeu_ps(br + q + 3 * s, _mm_sub_ps(_mm_mul_ps(u3r, w3r), _mm_mul_ps(u3i, w3i)));
      _mm_storeu_ps(bi + q + 3 * s, _mm_add_ps(_mm_mul_ps(u3r, w3i), _mm_mul_ps(u3i, w3r)));
    }
  }
}

inline __m128 Reverse(__m128 v) { return _mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 1, 2, 3)); }

// The first stage (n = 256, stride 1) has no inner loop to vectorise; it runs four butterflies
// (p .. p+3) side by side instead and transposes their outputs into place.
// With upperHalfZero the points 128..255 are known to be zero (a real input whose second half is
// zero): their loads and sums drop out.
template <bool upperHalfZero>
inline void FirstStage(const float* __restrict xr, const float* __restrict xi, float* __restrict yr,
                       float* __restrict yi, const Tables& t) {
  constexpr int n1 = 64;
  for (int p = 0; p < n1; p += 4) {
    const __m128 a_r = _mm_loadu_ps(xr + p), a_i = _mm_loadu_ps(xi + p);
    const __m128 b_r = _mm_loadu_ps(xr + p + n1), b_i = _mm_loadu_ps(xi + p + n1);
    const __m128 c_r = upperHalfZero ? _mm_setzero_ps() : _mm_loadu_ps(xr + p + 2 * n1);
    const __m128 c_i = upperHalfZero ? _mm_setzero_ps() : _mm_loadu_ps(xi + p + 2 * n1);
    const __m128 d_r = upperHalfZero ? _mm_setzero_ps() : _mm_loadu_ps(xr + p + 3 * n1);
    const __m128 d_i = upperHalfZero ? _mm_setzero_ps() : _mm_loadu_ps(xi + p + 3 * n1);
    const __m128 apc_r = _mm_add_ps(a_r, c_r), apc_i = _mm_add_ps(a_i, c_i);
    const __m128 amc_r = _mm_sub_ps(a_r, c_r), amc_i = _mm_sub_ps(a_i, c_i);
    const __m128 bpd_r = _mm_add_ps(b_r, d_r), bpd_i = _mm_add_ps(b_i, d_i);
    const __m128 jbmd_r = _mm_sub_ps(d_i, b_i), jbmd_i = _mm_sub_ps(b_r, d_r);  // i * (b - d)
    auto twiddle = [](__m128 ur, __m128 ui, const float* wr, const float* wi, __m128& outR, __m128& outI) {
      const __m128 cr = _mm_loadu_ps(wr), ci = _mm_loadu_ps(wi);
      outR = _mm_sub_ps(_mm_mul_ps(ur, cr), _mm_mul_ps(ui, ci));
      outI = _mm_add_ps(_mm_mul_ps(ur, ci), _mm_mul_ps(ui, cr));
    };
    __m128 y0r = _mm_add_ps(apc_r, bpd_r), y0i = _mm_add_ps(apc_i, bpd_i), y1r, y1i, y2r, y2i, y3r, y3i;
    twiddle(_mm_sub_ps(amc_r, jbmd_r), _mm_sub_ps(amc_i, jbmd_i), t.w1r + p, t.w1i + p, y1r, y1i);
    twiddle(_mm_sub_ps(apc_r, bpd_r), _mm_sub_ps(apc_i, bpd_i), t.w2r + p, t.w2i + p, y2r, y2i);
    twiddle(_mm_add_ps(amc_r, jbmd_r), _mm_add_ps(amc_i, jbmd_i), t.w3r + p, t.w3i + p, y3r, y3i);
    // y[4(p+k) + m] for k, m in 0..3: a 4 x 4 transpose puts each p's four outputs together.
    _MM_TRANSPOSE4_PS(y0r, y1r, y2r, y3r);
    _MM_TRANSPOSE4_PS(y0i, y1i, y2i, y3i);
    _mm_storeu_ps(yr + 4 * p, y0r), _mm_storeu_ps(yr + 4 * p + 4, y1r);
    _mm_storeu_ps(yr + 4 * p + 8, y2r), _mm_storeu_ps(yr + 4 * p + 12, y3r);
    _mm_storeu_ps(yi + 4 * p, y0i), _mm_storeu_ps(yi + 4 * p + 4, y1i);
    _mm_storeu_ps(yi + 4 * p + 8, y2i), _mm_storeu_ps(yi + 4 * p + 12, y3i);
  }
}

// Complex 256-point DFT with the negative exponent, Stockham radix-4 (no bit reversal), four
// stages ping-ponging between (re, im) and the scratch (sr, si); the result ends in (re, im).
template <bool upperHalfZero = false>
void Complex256(float* __restrict re, float* __restrict im, float* __restrict sr, float* __restrict si) {
  const Tables& t = T();
  FirstStage<upperHalfZero>(re, im, sr, si, t);
  Stage<64, 4>(sr, si, re, im, t, 64);
  Stage<16, 16>(re, im, sr, si, t, 80);
  Stage<4, 64>(sr, si, re, im, t, 84);
}

}  // namespace

namespace {

template <bool upperHalfZero>
void ForwardSplitOf(const float* __restrict x, float* __restrict outR, float* __restrict outI) {
  const Tables& t = T();
  alignas(16) float zr[kHalf], zi[kHalf], sr[kHalf], si[kHalf];
  // z[m] = x[2m] + i x[2m+1], conjugated so that the negative-exponent transform gives the
  // conjugate of the positive-exponent one; the conjugation back is folded into the split below.
  constexpr int points = upperHalfZero ? kHalf / 2 : kHalf;
  for (int m = 0; m < points; ++m) zr[m] = x[2 * m], zi[m] = -x[2 * m + 1];
  Complex256<upperHalfZero>(zr, zi, sr, si);
  // With Z[k] = zr[k] - i zi[k]: X[k] = E[k] + exp(+2 pi i k / 512) O[k], and X[256 - k] from the
  // same pair, E and O taken from Z[k] and conj(Z[256 - k]).
  outR[0] = zr[0] - zi[0];
  outI[0] = 0;
  outR[kHalf] = zr[0] + zi[0];
  outI[kHalf] = 0;
  // Four k at a time: lanes k..k+3 against j = 256-k .. 253-k, read and written reversed. The
  // last group (k = 125..128) meets itself at 128, where both writes agree.
  const __m128 half = _mm_set1_ps(0.5f);
  for (int k = 1; k <= kHalf / 2; k += 4) {
    const int j = kHalf - k - 3;
    const __m128 zrk = _mm_loadu_ps(zr + k), zik = _mm_loadu_ps(zi + k);
    const __m128 zrj = Reverse(_mm_loadu_ps(zr + j)), zij = Reverse(_mm_loadu_ps(zi + j));
    const __m128 er = _mm_mul_ps(half, _mm_add_ps(zrk, zrj)), ei = _mm_mul_ps(half, _mm_sub_ps(zij, zik));
    const __m128 orr = _mm_mul_ps(half, _mm_sub_ps(_mm_setzero_ps(), _mm_add_ps(zik, zij)));
    const __m128 oi = _mm_mul_ps(half, _mm_sub_ps(zrj, zrk));
    const __m128 cr = _mm_loadu_ps(t.splitR + k), ci = _mm_loadu_ps(t.splitI + k);
    const __m128 tr = _mm_sub_ps(_mm_mul_ps(orr, cr), _mm_mul_ps(oi, ci));
    const __m128 ti = _mm_add_ps(_mm_mul_ps(orr, ci), _mm_mul_ps(oi, cr));
    _mm_storeu_ps(outR + k, _mm_add_ps(er, tr));
    _mm_storeu_ps(outI + k, _mm_add_ps(ei, ti));
    _mm_storeu_ps(outR + j, Reverse(_mm_sub_ps(er, tr)));
    _mm_storeu_ps(outI + j, Reverse(_mm_sub_ps(ti, ei)));
  }
}

}  // namespace

void ForwardSplit(const float* x, float* re, float* im) { ForwardSplitOf<false>(x, re, im); }
void ForwardSplitHalf(const float* x, float* re, float* im) { ForwardSplitOf<true>(x, re, im); }

void BackwardSplit(const float* __restrict inR, const float* __restrict inI, float* __restrict x) {
  const Tables& t = T();
  alignas(16) float zr[kHalf], zi[kHalf], sr[kHalf], si[kHalf];
  // Z[k] = E[k] + i O[k], E = (X[k] + conj X[256-k]) / 2, O = (X[k] - conj X[256-k]) exp(-2 pi i k/512) / 2.
  zr[0] = 0.5f * (inR[0] + inR[kHalf]);
  zi[0] = 0.5f * (inR[0] - inR[kHalf]);
  const __m128 half = _mm_set1_ps(0.5f);
  for (int k = 1; k <= kHalf / 2; k += 4) {  // four at a time, as in ForwardSplit
    const int j = kHalf - k - 3;
    const __m128 rk = _mm_loadu_ps(inR + k), ik = _mm_loadu_ps(inI + k);
    const __m128 rj = Reverse(_mm_loadu_ps(inR + j)), ij = Reverse(_mm_loadu_ps(inI + j));
    const __m128 er = _mm_mul_ps(half, _mm_add_ps(rk, rj)), ei = _mm_mul_ps(half, _mm_sub_ps(ik, ij));
    const __m128 dr = _mm_mul_ps(half, _mm_sub_ps(rk, rj)), di = _mm_mul_ps(half, _mm_add_ps(ik, ij));
    const __m128 cr = _mm_loadu_ps(t.splitR + k), ci = _mm_sub_ps(_mm_setzero_ps(), _mm_loadu_ps(t.splitI + k));
    const __m128 orr = _mm_sub_ps(_mm_mul_ps(dr, cr), _mm_mul_ps(di, ci));
    const __m128 oi = _mm_add_ps(_mm_mul_ps(dr, ci), _mm_mul_ps(di, cr));
    _mm_storeu_ps(zr + k, _mm_sub_ps(er, oi));
    _mm_storeu_ps(zi + k, _mm_add_ps(ei, orr));
    _mm_storeu_ps(zr + j, Reverse(_mm_add_ps(er, oi)));  // Z[256 - k] = conj(E) + i conj(O)
    _mm_storeu_ps(zi + j, Reverse(_mm_sub_ps(orr, ei)));
  }
  // The unnormalised inverse is the negative-exponent transform itself.
  Complex256(zr, zi, sr, si);
  for (int m = 0; m < kHalf; ++m) x[2 * m] = zr[m], x[2 * m + 1] = zi[m];
}

void Forward(float* x) {
  alignas(16) float re[kHalf + 1], im[kHalf + 1];
  ForwardSplit(x, re, im);
  x[0] = re[0];
  x[1] = re[kHalf];
  for (int k = 1; k < kHalf; ++k) x[2 * k] = re[k], x[2 * k + 1] = im[k];
}

void Backward(float* x) {
  alignas(16) float re[kHalf + 1], im[kHalf + 1];
  re[0] = x[0], im[0] = 0;
  re[kHalf] = x[1], im[kHalf] = 0;
  for (int k = 1; k < kHalf; ++k) re[k] = x[2 * k], im[k] = x[2 * k + 1];
  BackwardSplit(re, im, x);
}

}  // namespace ox::fft
