#pragma once
// The Average TFT: the waveforms of a folder (time-gated, optionally aligned on their first
// threshold crossing) averaged into one waveform, written as avgWTData/average_signal.txt, and
// the Single TFT of that file.
//
// The averaging runs in the frequency domain: every file's spectrum is added to a running sum,
// and one inverse transform of the mean spectrum gives the average waveform.
#include <functional>
#include <string>
#include <vector>

#include "platform/file_notes.h"
#include "platform/host.h"
#include "signal/waveform.h"
#include "timefreq/tft_request.h"

namespace plexo {

// The buffers an Average TFT keeps between runs. The work signal is zeroed on first use only;
// the sums start afresh in every run.
struct AverageTftWorkspace {
  Waveform waveform;                  // one file as read, gated, aligned, then its spectrum
  std::vector<Complex> spectrumSum;   // running sum of the spectra, then the mean waveform
  std::vector<double> averageSignal;  // real part of the mean waveform
  int averaged = 0;                   // files of the last run that took part in the average
  int skipped = 0;                    // files of the last run left out (WaveformSkipReason)
  FileNotes notes;      // the files left out, with the reason, and files on another grid
  bool strict = false;  // a setting: the first file left out stops the run (nothing written)
};

// The second line of the refusal of an inconsistent grid ("Non-valid input parameters! ..."):
// the first parameter that makes it inconsistent, with its value; empty for a consistent one.
std::string TftGridProblem(const TftRequest& grid);

// The outputs for folder F: F/avgWTData and F/avgWTData/average_signal.txt; for a database
// <stem>.tradb the folder <stem>_avgWTData beside it (BatchResultFolder).
std::string AverageTftFolder(const std::string& input);
std::string AverageSignalPath(const std::string& folder);

// The time window of the average: zeroes x[i] for i < timeStart/dt (compared in double, so a
// fractional quotient zeroes up to its ceiling minus one) and x[trunc(timeEnd/dt) .. n - 1].
// Only x[0 .. n - 1] is touched; a zero, negative or non-finite quotient never reaches an int.
void GateTimeWindow(Complex* x, int n, double timeStart, double timeEnd, double dt);

class ResultFiles;

// The Single TFT that a run ends with, given the request for the average waveform file and the
// result it joins: it reads the average from there and adds its files uncommitted.
using SingleTftRun = std::function<CalcStatus(const TftRequest&, ResultFiles&)>;

// Averages the *.txt files of `folder` (ListTxtFiles order), or the records of a waveform
// database (`folder` a .tradb, in TRAI order, a record that cannot be read named by TRAI), and
// writes the average waveform with
// the header of the last file averaged; then calls `single` with `grid`, its path replaced by
// the average waveform file and its timeRes by that file's sample interval, and returns what the
// single calculation returns. With autoThreshold every waveform is aligned on `threshold`
// before it is summed. Files the reader rejects, or without a usable sample interval, are skipped
// and named (with ws.strict the first of them ends the run, message naming it); a file whose
// sample count or interval differs from the first file averaged is averaged and named. Ends
// without writing anything when the folder does not exist (silently), cannot be listed or the
// result folder cannot be made (message with the system's reason), when a file has more than
// MAX_SAMPLES samples (message naming it), when no file could be read, or when the user asks to
// stop. The average file and the files of `single`
// replace the earlier ones together, only when `single` returns kDone; a file that cannot be
// written is reported by message (kFailed) and none is replaced.
CalcStatus AverageTft(AverageTftWorkspace& workspace, const std::string& folder,
                      const TftRequest& grid, double threshold, bool autoThreshold,
                      CalcProgress& progress, Host& host, const SingleTftRun& single);

}  // namespace plexo
