#pragma once
// The Single TFT with the continuous wavelet transform: one waveform file -> the Gabor wavelet
// coefficients of a time window on a frequency grid, shown and saved as a preview BMP and
// written as a TFT file beside the input.
#include <string>
#include <vector>

#include "platform/host.h"
#include "signal/waveform.h"
#include "timefreq/cwt_row.h"
#include "timefreq/tft_matrix.h"
#include "timefreq/tft_request.h"

namespace plexo {

class ResultFiles;
struct CwtGrid;

// The buffers a wavelet transform keeps between runs, and its thread count.
struct CwtWorkspace {
  Waveform waveform;
  std::vector<Complex> window;  // the time window moved to index 0, zero beyond it
  TftMatrix matrix;
  int jobs = 0;  // threads computing rows; 0: one per hardware thread. Never changes results.
  // One per thread; what the fast rows keep (the wavelets' spectra) serves the next file too.
  std::vector<CwtRowScratch> rowScratch;
  bool writePreview = true;  // false: the table only (the preview is still shown)
};

// Output names for input P: P without its extension + "_wt" + the lower-case extension, and
// P without its extension + "_wt_preview.bmp".
std::string CwtFilePath(const std::string& input);
std::string CwtPreviewPath(const std::string& input);

// The calculation without files: the coefficients of the first `stored` samples of
// workspace.waveform (1 .. MAX_SAMPLES; its sample interval is the file's) on the request's grid
// into workspace.matrix, row r (frequency (r + 1) * grid.freqStep) for r < grid.ComputedRows(),
// column c for c < grid.columns. Refuses a grid that cannot be computed (message, kRefused);
// progress and stop requests as below.
CalcStatus ComputeCwt(CwtWorkspace& workspace, const TftRequest& request, int stored,
                      CalcProgress& progress, Host& host, CwtGrid& grid);

// Runs the calculation: reads the file (of a file over MAX_SAMPLES samples, the first
// MAX_SAMPLES; `workspace.waveform.count` keeps the full count), refuses what cannot be computed
// (message, nothing written), computes the rows (progress range 0 .. R, position k after row k; a
// stop request seen after a row ends the run with nothing written), shows the preview as "WT-File",
// saves it, and writes the TFT file in the form request.output asks for (modulus, complex or
// none). With `shared`, the waveform is read from the uncommitted file of
// that path in `shared` if it holds one, and the table and preview join `shared` uncommitted.
CalcStatus CalcSingleCwt(CwtWorkspace& workspace, const TftRequest& request, CalcProgress& progress,
                         Host& host, ResultFiles* shared = nullptr);

}  // namespace plexo
