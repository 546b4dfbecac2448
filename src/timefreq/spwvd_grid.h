#pragma once
// The time and frequency grid of a Wigner-Ville run, derived from the request, and the limits
// that keep it inside the result matrix and the preview.
#include <string>

#include "timefreq/tft_matrix.h"
#include "timefreq/tft_request.h"

namespace plexo {

// Bins shown in the preview (matrix rows 0 .. D-1).
inline constexpr int kSpwvdMaxShownBins = TFT_MAX_ROWS;
// Bins written to the TFT file (one line each): what the file's reader keeps, and below the
// matrix's last row.
inline constexpr int kSpwvdMaxFileRows = TFT_MAX_ROWS - 1;
// Samples of the time window: the signal buffer holds no more.
inline constexpr int kSpwvdMaxWindowSamples = MAX_SAMPLES;

struct SpwvdGrid {
  double dt = 0.0;            // the sample interval (the file's with autoTimeRes)
  bool windowDefined = true;  // false when a window bound is not a number
  long long first = 0;        // h = trunc(timeStart/dt): first sample of the window
  long long samples = 0;      // e - h, e = trunc(timeEnd/dt)
  // From here on only meaningful with subsampling > 0.
  double decimatedDt = 0.0;  // dt' = dt * subsampling
  double decimatedFs = 0.0;  // fs' = 1/dt'
  long long columns = 0;     // N_time = trunc((e - h)/subsampling)
  double span = 0.0;         // freqEnd - freqStart
  double freqStep = 0.0;     // delta f: span/1200 with autoFreqRes, else freqRes (sets N_freq)
  long long nFreq = 0;       // N_freq: 600 with autoFreqRes, else trunc(fs'/delta f)
  // The lag product x[n + tau] x[n - tau] spans 2 tau samples, so bin k of a column stands for
  // k fs'/(2 N_freq): the bins are half as far apart as fs'/N_freq.
  double binStep = 0.0;
  long long shownBins = 0;  // D = 2 trunc(span N_freq/fs'): bins 0 .. D-1 cover 0 .. span
  // The first bin at or above freqEnd (a bin within a billionth of a step counts as on it),
  // at most N_freq - 1: the file holds bins 0 .. topBin, so it covers 0 .. freqEnd.
  long long topBin = -1;
  long long lines = 0;  // R = topBin + 2: lines of the TFT matrix (the header line and the bins)

  // Rows of the TFT file below its header line: bins 0 .. R-2, bin k labelled k * binStep.
  int FileRows() const { return lines > 1 ? static_cast<int>(lines - 1) : 0; }
  // The frequency height of the preview's map: D bins of binStep each.
  double ShownFrequencySpan() const { return static_cast<double>(shownBins) * binStep; }
};

// dt and the window (the part that does not depend on subsampling).
SpwvdGrid SpwvdWindowOf(const TftRequest& request, double fileSampleInterval);
// Completes the grid with the decimated and frequency values; subsampling must be > 0.
void CompleteSpwvdGrid(SpwvdGrid& grid, const TftRequest& request);

// The message that refuses dt or the window before anything is computed, or an empty text:
// dt must be a positive number and the window at most kSpwvdMaxWindowSamples samples long. An
// empty window passes: the distribution refuses it with its own message.
std::string SpwvdWindowProblem(const SpwvdGrid& grid);
// "Subsampling size <s> is not allowed! Value has to be > 0!" for s <= 0, else empty.
std::string SpwvdSubsamplingProblem(int subsampling);
// True when fs'/4, computed as pow(dt, -1)/subsampling*0.25, lies below freqEnd.
bool SpwvdSubsamplingTooHigh(const SpwvdGrid& grid, const TftRequest& request);
// The message that refuses the frequency grid, or an empty text: delta f must be a positive
// number, N_freq at most SPWVD_MAX_TRANSFORM_LENGTH, D between 1 and kSpwvdMaxShownBins and the
// file's bins at most kSpwvdMaxFileRows (N_freq = 0 is left to the distribution, which refuses
// it with its own message).
std::string SpwvdFrequencyProblem(const SpwvdGrid& grid);

}  // namespace plexo
