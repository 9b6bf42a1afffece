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

// One radix-4 Stockham stage over n points with stride s (both fixed at compile time, so the
// inner loop over q vectorises): x -> y.
template <int n, int s>
inline void Stage(const float* __restrict xr, const float* __restrict xi, float* __restrict yr, float* __restrict yi,
                  const Tables& t, int at) {
  constexpr int n1 = n / 4;
  for (int p = 0; p < n1; ++p) {
    const float w1r = t.w1r[at + p], w1i = t.w1i[at + p], w2r = t.w2r[at + p], w2i = t.w2i[at + p];
    const float w3r = t.w3r[at + p], w3i = t.w3i[at + p];
    const float* ar = xr + s * p;
    const float* ai = xi + s * p;
    float* br = yr + s * 4 * p;
    float* bi = yi + s * 4 * p;
    for (int q = 0; q < s; ++q) {
      const float a_r = ar[q], a_i = ai[q];
      const float b_r = ar[q + s * n1], b_i = ai[q + s * n1];
      const float c_r = ar[q + 2 * s * n1], c_i = ai[q + 2 * s * n1];
      const float d_r = ar[q + 3 * s * n1], d_i = ai[q + 3 * s * n1];
      const float apc_r = a_r + c_r, apc_i = a_i + c_i, amc_r = a_r - c_r, amc_i = a_i - c_i;
      const float bpd_r = b_r + d_r, bpd_i = b_i + d_i;
      const float jbmd_r = -(b_i - d_i), jbmd_i = b_r - d_r;  // i * (b - d)
      br[q] = apc_r + bpd_r;
      bi[q] = apc_i + bpd_i;
      const float u1r = amc_r - jbmd_r, u1i = amc_i - jbmd_i;
      br[q + s] = u1r * w1r - u1i * w1i;
      bi[q + s] = u1r * w1i + u1i * w1r;
      const float u2r = apc_r - bpd_r, u2i = apc_i - bpd_i;
      br[q + 2 * s] = u2r * w2r - u2i * w2i;
      bi[q + 2 * s] = u2r * w2i + u2i * w2r;
      const float u3r = amc_r + jbmd_r, u3i = amc_i + jbmd_i;
      br[q + 3 * s] = u3r * w3r - u3i * w3i;
      bi[q + 3 * s] = u3r * w3i + u3i * w3r;
    }
  }
}

inline __m128 Reverse(__m128 v) { return _mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 1, 2, 3)); }

// The first stage (n = 256, stride 1) has no inner loop to vectorise; it runs four butterflies
// (p .. p+3) side by side instead and transposes their outputs into place.
inline void FirstStage(const float* __restrict xr, const float* __restrict xi, float* __restrict yr,
                       float* __restrict yi, const Tables& t) {
  constexpr int n1 = 64;
  for (int p = 0; p < n1; p += 4) {
    const __m128 a_r = _mm_loadu_ps(xr + p), a_i = _mm_loadu_ps(xi + p);
    const __m128 b_r = _mm_loadu_ps(xr + p + n1), b_i = _mm_loadu_ps(xi + p + n1);
    const __m128 c_r = _mm_loadu_ps(xr + p + 2 * n1), c_i = _mm_loadu_ps(xi + p + 2 * n1);
    const __m128 d_r = _mm_loadu_ps(xr + p + 3 * n1), d_i = _mm_loadu_ps(xi + p + 3 * n1);
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
void Complex256(float* __restrict re, float* __restrict im, float* __restrict sr, float* __restrict si) {
  const Tables& t = T();
  FirstStage(re, im, sr, si, t);
  Stage<64, 4>(sr, si, re, im, t, 64);
  Stage<16, 16>(re, im, sr, si, t, 80);
  Stage<4, 64>(sr, si, re, im, t, 84);
}

}  // namespace

void ForwardSplit(const float* __restrict x, float* __restrict outR, float* __restrict outI) {
  const Tables& t = T();
  alignas(16) float zr[kHalf], zi[kHalf], sr[kHalf], si[kHalf];
  // z[m] = x[2m] + i x[2m+1], conjugated so that the negative-exponent transform gives the
  // conjugate of the positive-exponent one; the conjugation back is folded into the split below.
  for (int m = 0; m < kHalf; ++m) zr[m] = x[2 * m], zi[m] = -x[2 * m + 1];
  Complex256(zr, zi, sr, si);
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
