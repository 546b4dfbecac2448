#pragma once
// The Average FFT: the mean spectrum of every waveform of a folder (or database) with the spread of
// the bin magnitudes (mean, sample standard deviation, minimum, maximum), written as
// F/avgFFTData/average_FFT.txt (or as comma-separated text average_FFT.csv), with a preview of the
// mean magnitude spectrum shown and saved as F/avgFFTData/average_FFT_preview.bmp.
#include <string>
#include <vector>

#include "platform/file_notes.h"
#include "platform/host.h"
#include "signal/complex.h"
#include "signal/csv_text.h"
#include "spectral/average_fft_file.h"
#include "spectral/average_fft_judge.h"
#include "spectral/average_fft_pipeline.h"
#include "spectral/spectrum_sums.h"

namespace plexo {

// The buffers an Average FFT keeps between runs. The sums and extremes start afresh in every
// run; the per-file buffers are only overwritten where a file reads and pads.
struct AverageFftWorkspace {
  std::vector<FileSpectrum> files;  // X: one per read-ahead slot
  SpectrumSums sums;                // S, A, Q, MIN and MAX of the files averaged
  std::vector<Complex> preview;     // Y: mean magnitude, imaginary part 0
  AverageSpectrum result;

  // What the last run saw: files averaged (K), files skipped (no data, refused content, no
  // frequency bin), and notes naming the files refused for their content, without a bin, or
  // whose sample count or interval differs from the first file averaged.
  int averaged = 0;
  int skipped = 0;
  FileNotes notes;

  // A setting of the run: the first file left out stops it (its reason as the message, nothing
  // written) instead of being named and skipped.
  bool strict = false;
  // A setting of the run: the table as average_FFT.txt or as comma-separated average_FFT.csv.
  TableFormat tableFormat = TableFormat::kText;
  // False: the table only (the preview is still shown).
  bool writePreview = true;
  // A setting of the run: the most samples a waveform may have (--max-samples).
  int maxSamples = MAX_SAMPLES;
};

// Bin i of the result from its sums over k files: frequency i * df, the means, the sample
// deviation, the extremes, and the preview row.
void SetAverageFftBin(AverageFftWorkspace& ws, int i, double k, double df, const BinSums& sums);
// The statistics of `sums` (sums.files > 0) on the grid of the last file averaged (its sample
// interval gives the frequencies; at most sums.bins bins) into ws.result and ws.preview: the
// table's rows without the table. Returns the number of bins.
int AverageFftResult(AverageFftWorkspace& ws, const SpectrumSums& sums, const WaveformHeader& last,
                     int lastBins);
// The result of `sums` (sums.files > 0) on the grid of the last file averaged: its sample
// interval gives the frequencies, its header the preview's, and the table has its bins (at most
// sums.bins). The statistics, the preview (shown, saved) and the table, put in place together
// (a failure named through `host`).
CalcStatus FinishAverageFft(AverageFftWorkspace& ws, const SpectrumSums& sums,
                            const WaveformHeader& last, int lastBins, const std::string& folder,
                            Host& host);

// F/avgFFTData, or <stem>_avgFFTData beside a database <stem>.tradb (BatchResultFolder).
std::string AverageFftFolder(const std::string& input);
// .../average_FFT.txt (.csv for comma-separated text)
std::string AverageFftTablePath(const std::string& folder, TableFormat format = TableFormat::kText);
std::string AverageFftPreviewPath(const std::string& folder);  // .../average_FFT_preview.bmp

// The per-file half of a run, nothing written: the inputs of `source` read, judged and summed
// into ws.sums in order (ws.averaged, ws.skipped and ws.notes as the run below leaves them; the
// notes are not shown). `last` and `lastBins`: the header and bins of the last file averaged.
// kRefused (message) and kStopped as below; else kDone, also when nothing was averaged.
CalcStatus AverageFftSums(AverageFftWorkspace& ws, const WaveformSource& source, int windowIndex,
                          CalcProgress& progress, Host& host, int jobs, WaveformHeader& last,
                          int& lastBins);

// Runs the calculation over the *.txt files of `folder` (sorted by name), or over the records of
// a waveform database (`folder` a .tradb, in TRAI order; a record that cannot be read is a file
// the reader refuses, named by its TRAI). windowIndex 1 gates
// each waveform to 240..340 µs before its transform. `jobs` worker threads read and transform
// ahead (0: every core); the table does not depend on it. Files that cannot be read, hold no
// samples, are refused for their content (a sample that is not a finite number, a NUL byte),
// have no usable sample interval or whose single sample gives no frequency bin are skipped,
// named in the notes and not counted in K (with ws.strict the first of them stops the run:
// message naming it, kRefused, nothing written). A file whose sample count or
// interval differs from the first file averaged is averaged all the same, bin by bin (the table
// takes the last file's grid), and noted. The notes are shown as one message when the files have
// all been read.
//
// kRefused: the folder does not exist (nothing created), cannot be listed (message with the
// system's reason, nothing created), no file held data (no table), or a file holds more than
// MAX_SAMPLES samples (message naming the count and the file; no table). kFailed also when the
// result folder cannot be created (message with the reason). kStopped: the progress asked to stop
// (tested after each file; no table). kFailed: the preview or the table could not be written. An
// earlier table survives every run that does not complete.
CalcStatus AverageFFT(AverageFftWorkspace& workspace, const std::string& folder, int windowIndex,
                      CalcProgress& progress, Host& host, int jobs = 0);

}  // namespace plexo
