#pragma once
// The feature extraction run: every waveform file of a folder through the time, FFT and wavelet
// features, one row per file in file order, written as FXData/FX_Results.txt.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "features/feature_columns.h"
#include "features/feature_params.h"
#include "features/feature_values.h"
#include "features/wt_features.h"
#include "platform/host.h"
#include "signal/waveform.h"

namespace plexo {

inline constexpr const char* kFeatureNoFilesMessage =
    "No files found in folder! Provide correct folder path!";

// What a run computes and writes.
struct FeatureRequest {
  std::string folder;
  FeatureParams params;
  bool useAic = false;
  FeatureColumns columns = DefaultFeatureColumns();
  bool withFileNames = false;  // a first column naming each row's file
  int jobs = 0;                // worker threads; 0: one per core. Never changes the table.
};

// The buffers one thread works in, kept between waveforms and runs.
struct FeatureThreadState {
  Waveform waveform;
  std::vector<double> magnitude;
  WaveletScratch wavelet;
};

struct FeatureWorkspace {
  std::vector<std::unique_ptr<FeatureThreadState>> threads;
  int processed = 0;  // rows written by the last run
};

std::string FeatureResultsFolder(const std::string& folder);  // folder/FXData
std::string FeatureResultsPath(const std::string& folder);    // folder/FXData/FX_Results.txt

// The progress divisor q for a file count: 1 up to 1000 files, then 10, 100, 1000, 10000 past
// 1000, 10000, 100000 and 1000000 files. The range is 0 .. count/q and file n shows n/q.
int FeatureProgressDivisor(int count);

// The features of the waveform in state.waveform (count samples, 1 .. MAX_SAMPLES, dt > 0).
// The wavelet values are computed only when `wavelet` is set (else they stay 0). Returns the
// message that refuses the waveform (a wavelet window wider than MAX_SAMPLES), else an empty
// text.
std::string ComputeWaveformFeatures(const FeatureSettings& settings, bool wavelet,
                                    FeatureThreadState& state, FeatureValues& values);

// Appends one data line: the selected columns, each followed by a tab, then "\n".
void AppendFeatureRow(std::string& out, const FeatureValues& values, const FeatureColumns& columns,
                      const std::string* fileName);

// The message that refuses the request before any file is read, or an empty text.
std::string FeatureRequestProblem(const FeatureRequest& request);

// The data lines of files[begin .. end-1], computed on request.jobs threads and joined in file
// order. after(file) runs on the calling thread once that file's line is added; false ends the
// work there. A file that cannot give a row ends it too: refusedFile names it (an index into
// `files`) and `message` says why, as the one-process run would show it.
struct FeatureRows {
  std::string text;
  int done = 0;          // files whose lines are in `text`
  int refusedFile = -1;  // -1: none refused
  std::string message;
};
FeatureRows ComputeFeatureRows(FeatureWorkspace& workspace, const FeatureRequest& request,
                               const std::vector<std::string>& files, int begin, int end,
                               const std::function<bool(int file)>& after);

// Runs the extraction. Refused (message, nothing written): the folder is missing, the wavelet
// grid does not fit, or a file has more than MAX_SAMPLES samples, no data, no valid sample
// interval or a wavelet window wider than MAX_SAMPLES; an earlier table then stays as it was.
// A folder without *.txt files gives a table of the header and units lines.
CalcStatus ExtractFeatures(FeatureWorkspace& workspace, const FeatureRequest& request,
                           CalcProgress& progress, Host& host);

}  // namespace plexo
