#pragma once
// The Single TFT with the smoothed pseudo Wigner-Ville distribution: one waveform file -> the
// distribution's magnitude over a decimated time window, shown and saved as a preview BMP and
// written as a TFT file beside the input.
#include <string>
#include <vector>

#include "platform/host.h"
#include "signal/waveform.h"
#include "timefreq/tft_matrix.h"
#include "timefreq/tft_request.h"

namespace plexo {

class ResultFiles;
struct SpwvdGrid;

// The buffers a Wigner-Ville run keeps between runs, and its thread count.
struct SpwvdWorkspace {
  Waveform waveform;
  std::vector<Complex> window;  // the time window moved to index 0, zero beyond it
  std::vector<double> real;     // its real parts, then decimated: the distribution's input
  TftMatrix matrix;             // bin k, column c at row k (magnitude in re, im = 0)
  int jobs = 0;  // threads sharing the columns; 0: one per hardware thread. Never changes results.
  bool writePreview = true;  // false: the table only (the preview is still shown)
};

// Output names for input P: P without its extension + "_spvwd" + the lower-case extension, and
// P without its extension + "_spvwd_preview.bmp".
std::string SpwvdFilePath(const std::string& input);
std::string SpwvdPreviewPath(const std::string& input);

// The calculation without files: the distribution of the first `stored` samples of
// workspace.waveform (1 .. MAX_SAMPLES; its sample interval is the file's) on the request's
// window and grid into workspace.matrix, bin k (frequency k * grid.binStep) at row k for
// k < grid.FileRows(), column c (time (c + 1) * grid.decimatedDt + timeStart) for
// c < grid.columns. Refuses what cannot be computed (message, kRefused); progress as below.
CalcStatus ComputeSpwvd(SpwvdWorkspace& workspace, const TftRequest& request, int stored,
                        CalcProgress& progress, Host& host, SpwvdGrid& grid);

// Runs the calculation: reads the file (of a file over MAX_SAMPLES samples, the first
// MAX_SAMPLES; `workspace.waveform.count` keeps the full count), moves and decimates the time
// window, refuses what cannot be computed (message, nothing written), computes the distribution
// (progress range 0 .. N_time, position c for column c), shows the preview as "SPVWD-File", saves
// it, and writes the TFT file in the form request.output asks for (modulus, complex cells
// holding the magnitude and 0, or none): one line per bin from 0 Hz to the
// first bin at or above freqEnd, labelled with the bin's frequency (SpwvdGrid). No stop test: the
// run is short. With `shared`, the waveform is read from the uncommitted file of that path in
// `shared` if it holds one, and the table and preview join `shared` uncommitted.
CalcStatus CalcSingleSpwvd(SpwvdWorkspace& workspace, const TftRequest& request,
                           CalcProgress& progress, Host& host, ResultFiles* shared = nullptr);

}  // namespace plexo
