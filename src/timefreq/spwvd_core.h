#pragma once
// The smoothed pseudo Wigner-Ville distribution of a real signal: for every time column the local
// autocorrelation over the lag, smoothed by a time window (WindowT) and a lag window (WindowF),
// transformed over the lag by FFTSplit; the magnitudes of the transform are the distribution.
#include <string>

#include "platform/host.h"
#include "timefreq/tft_matrix.h"

namespace plexo {

// The longest transform over the lag a run may ask for.
inline constexpr int SPWVD_MAX_TRANSFORM_LENGTH = MAX_SAMPLES;

// "Time window of <columns> columns exceeds program limit of 16384!"
std::string SpwvdColumnLimitMessage(long long columns);
// "Transform length of <length> exceeds program limit of 16384! Please increase the frequency
// resolution!"
std::string SpwvdTransformLengthMessage(long long length);

// Length of a smoothing window: trunc(length / divisor), increased by 1 when even, so the result
// is odd and at least 1 (a length below 0 counts as 0). divisor must be > 0.
int SpwvdWindowLength(int length, long long divisor);

struct SpwvdCoreInput {
  const double* x = nullptr;  // the real signal, signalLength values
  int signalLength = 0;       // N
  const double* windowT = nullptr;
  int lt = 0;  // odd
  const double* windowF = nullptr;
  int lf = 0;       // odd; the core divides by the centre value itself (the caller's array is kept)
  int nFreq = 0;    // transform length over the lag
  int nTime = 0;    // columns, at the time instants 0 .. nTime-1
  int workers = 1;  // threads sharing the columns; the result does not depend on it
};

// Column c of the distribution at bins k < outBins (outBins <= nFreq) goes to
// out[c * outBins + k]. Bins from outBins on are not computed.
//
// Refuses (message through the host, out untouched) when nFreq <= 0, nTime <= 0 or a window
// length is even. The progress position is set to c for every column
// c, in order, from the calling thread.
CalcStatus SpwvdCore(const SpwvdCoreInput& input, double* out, int outBins, CalcProgress& progress,
                     Host& host);

// Builds the two Hamming windows (lengths from SpwvdWindowLength with 5*windowParameter and
// windowParameter, mean 1), runs SpwvdCore over x (nTime values, one column each) and stores the
// magnitude of bin k, column c into matrix row k, column c (re; im = 0) for
// k < min(nFreq, TFT_MAX_ROWS). Refuses windowParameter <= 0, nTime above the matrix's columns,
// nFreq above SPWVD_MAX_TRANSFORM_LENGTH and whatever the core refuses.
CalcStatus SpwvdDistribution(TftMatrix& matrix, const double* x, int nTime, int nFreq,
                             int windowParameter, int workers, CalcProgress& progress, Host& host);

}  // namespace plexo
