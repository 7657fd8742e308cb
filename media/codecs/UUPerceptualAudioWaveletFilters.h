#pragma once
// The synthesis filters of the wavelet-packet tree.
//
// Two-band stages use the orthonormal Daubechies low-pass filters with 5,
// 10 and 20 vanishing moments (10, 20 and 40 taps); their high-pass partners
// are the alternating-sign mirrors g[n] = (-1)^n h[L - 1 - n]. The four-band
// stage is the paraunitary bank of a two-level tree merged into single
// filters: the 38-tap Daubechies pair (19 vanishing moments) at half rate
// followed by the 10-tap pair at full rate, f[2a + b][n] = sum over m of
// c_b[m] d_a[n - 2m], 10 + 2 x 37 = 84 taps. The values were computed by
// spectral factorisation of the maximally flat half-band polynomial at 60
// digits, and each bank was checked to be orthonormal under shifts of its
// upsampling factor.

namespace UUPerceptualAudio {

constexpr int kFourBandTaps = 84;

extern const double kDaubechies10[10];
extern const double kDaubechies20[20];
extern const double kDaubechies40[40];
extern const double kFourBand84[4][kFourBandTaps];

}  // namespace UUPerceptualAudio
