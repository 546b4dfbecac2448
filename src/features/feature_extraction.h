#pragma once
// The feature extraction run: every waveform of a source (the files of a folder, the records of
// a waveform database) through the time, FFT and wavelet features, one row per waveform in the
// source's order, written as FXData/FX_Results.txt (or, as comma-separated text,
// FXData/FX_Results.csv) in the folder, or as <stem>_FXData/... beside a database <stem>.tradb.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "features/feature_columns.h"
#include "features/feature_params.h"
#include "features/feature_values.h"
#include "features/onset_table.h"
#include "features/wt_features.h"
#include "platform/file_notes.h"
#include "platform/host.h"
#include "signal/csv_text.h"
#include "signal/waveform.h"
#include "signal/waveform_source.h"

namespace plexo {

inline constexpr const char* kFeatureNoFilesMessage =
    "No files found in folder! Provide correct folder path!";

// The fixed text, then the folder as given on a second line.
std::string FeatureNoFilesMessage(const std::string& folder);

// What a run computes and writes. The front end parses the parameter texts once into `settings`
// (and shows their band check); the run and every file's steps take these numbers.
struct FeatureRequest {
  std::string folder;  // the folder of waveform files, or a waveform database (.tradb)
  FeatureSettings settings = DefaultFeatureSettings();
  FeatureColumns columns = DefaultFeatureColumns();
  bool withFileNames = false;    // a first column naming each row's file (a record's TRAI)
  bool strict = false;           // the first file the reader refuses stops the run
  bool progressPerFile = false;  // the progress counts files (not the desktop bar's steps)
  int jobs = 0;                  // worker threads; 0: one per core. Never changes the table.
  int maxSamples = MAX_SAMPLES;  // the most samples a waveform may have (--max-samples)
  TableFormat format = TableFormat::kText;  // FX_Results.txt, or the same table as .csv
  // Rows keep their numbers (FeatureRows::values) instead of their text: for front ends that
  // hand the numbers on (the Python module), not a table.
  bool keepValues = false;
  // Reviewed onsets (an onsets file): a listed waveform's window starts at its corrected pick
  // (and lasts settings.duration), a rejected one gives no row, an unlisted one is picked as
  // settings.useAic says. `onsetsPath` names the file in the notes.
  std::shared_ptr<const OnsetTable> onsets;
  std::string onsetsPath;
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
  FileNotes skipped;  // the files the last run skipped, each with its reason, in file order
  int doubtful = 0;   // rows of the last run that cannot mean anything (see DoubtfulRowsNote)
  // With reviewed onsets: the inputs left out as rejected, those the file does not list (picked
  // automatically), and those whose corrected time disagrees with the corrected sample.
  FileNotes rejected;
  FileNotes unlisted;
  FileNotes mismatched;
};

// folder/FXData, or <stem>_FXData beside a database <stem>.tradb (BatchResultFolder).
std::string FeatureResultsFolder(const std::string& input);
// folder/FXData/FX_Results.txt (.csv for comma-separated text).
std::string FeatureResultsPath(const std::string& folder, TableFormat format = TableFormat::kText);

// Why a read of input `path` (count as the source's Read returned it) gives no waveform to
// compute with, naming the input: the reader's problem, a file that cannot be read, no data, a
// sample interval that is not a positive finite number. Empty when it gives one.
std::string WaveformReadRefusal(const std::string& path, int count, const Waveform& wf);

// Reads input k of `source` into `wf` (its count into `count`) with the run's refusals: kStop
// with the message for a waveform over wf.limit samples, kSkip with WaveformReadRefusal's
// note, else kRead.
enum class InputRead { kRead, kSkip, kStop };
InputRead ReadBatchInput(const WaveformSource& source, int k, Waveform& wf, int& count,
                         std::string& why);

// The progress divisor q for a file count: 1 up to 1000 files, then 10, 100, 1000, 10000 past
// 1000, 10000, 100000 and 1000000 files. The range is 0 .. count/q and file n shows n/q.
int FeatureProgressDivisor(int count);

// The features of the waveform in state.waveform (count samples, 1 .. its limit, dt > 0).
// The wavelet values are computed only when `wavelet` is set (else they stay 0). Returns the
// message that refuses the waveform (a wavelet window wider than MAX_SAMPLES), else an empty
// text.
// With `onsetSample` the window starts at that sample (a reviewed pick) instead of the one the
// settings choose.
std::string ComputeWaveformFeatures(const FeatureSettings& settings, bool wavelet,
                                    FeatureThreadState& state, FeatureValues& values,
                                    SignalWindow* windowUsed = nullptr,
                                    const int* onsetSample = nullptr);

// Appends the text of one cell: the column's value in its number format.
void AppendFeatureCell(std::string& out, const FeatureValues& values, int column);
// Appends one data line: the selected columns, each followed by a tab, then "\n".
void AppendFeatureRow(std::string& out, const FeatureValues& values, const FeatureColumns& columns,
                      const std::string* fileName);

// The message that refuses the request before any file is read (a wavelet grid that does not
// fit, when a wavelet column is written), or an empty text.
std::string FeatureRequestProblem(const FeatureRequest& request);

// The checks before any waveform is read: the message that refuses the run (the request, a
// folder that is missing, cannot be listed or holds no *.txt file, a database that cannot be
// used or holds no record), else empty with `source` listing request.folder.
std::string FeatureInputRefusal(const FeatureRequest& request,
                                std::unique_ptr<WaveformSource>& source);

// The data lines of inputs begin .. end-1 of `source`, computed on request.jobs threads and
// joined in input order. after(file) runs on the calling thread once that file is done; false ends
// the work there. A file the reader refuses is skipped: its note joins `skipped` (in file order)
// unless request.strict, where it ends the work as a file that cannot give a row does: refusedFile
// names it (an input index) and `message` says why, as the one-process run shows it.
struct FeatureRows {
  std::string text;
  int done = 0;          // files whose lines are in `text`
  int refusedFile = -1;  // -1: none refused
  std::string message;
  std::vector<std::string> skipped;     // one note per skipped file, naming it and the reason
  int doubtful = 0;                     // rows among `done` that cannot mean anything
  std::vector<std::string> rejected;    // with reviewed onsets: the inputs left out, by label
  std::vector<std::string> unlisted;    // the inputs the onsets file does not list, by label
  std::vector<std::string> mismatched;  // notes of corrected times that disagree with the sample
  std::vector<FeatureValues> values;    // with request.keepValues: each row's numbers, in order
  std::vector<int> rowInputs;           // and the input index of each row
};
FeatureRows ComputeFeatureRows(FeatureWorkspace& workspace, const FeatureRequest& request,
                               const WaveformSource& source, int begin, int end,
                               const std::function<bool(int file)>& after);

// The counts and notes of a run: cleared before it, and each part's rows added (in input order).
void ClearRunNotes(FeatureWorkspace& workspace);
void AddRunNotes(FeatureWorkspace& workspace, const FeatureRows& rows);

// Puts the table of these data lines (in request.format, its header first) in place of the
// earlier one and tells the host what it wrote; a failure is shown through the host (kFailed).
CalcStatus WriteFeatureTable(const FeatureRequest& request, std::string_view rows, Host& host);

// The one line about rows that cannot mean anything (a window that is empty or past the end of
// the record, a band above the Nyquist frequency, a value that is not a number), or empty when
// `rows` is 0.
std::string DoubtfulRowsNote(int rows);

// Runs the extraction. Refused (message, nothing written; an earlier table stays as it was):
// the folder is missing or cannot be listed, holds no *.txt file, the wavelet grid does not
// fit, a file has more than MAX_SAMPLES samples or a wavelet window wider than MAX_SAMPLES, or
// (request.strict) the reader refuses a file. Otherwise files the reader refuses are skipped
// and listed in workspace.skipped; the caller shows them (a terminal names each, the desktop
// shows one message).
CalcStatus ExtractFeatures(FeatureWorkspace& workspace, const FeatureRequest& request,
                           CalcProgress& progress, Host& host);
// The same over the waveforms of a given source (request.folder then only places the table:
// FeatureResultsPath). The request's own checks (FeatureRequestProblem) are the caller's.
CalcStatus ExtractFeatures(FeatureWorkspace& workspace, const FeatureRequest& request,
                           const WaveformSource& source, CalcProgress& progress, Host& host);

}  // namespace plexo
