#include "timefreq/average_tft.h"

#include <algorithm>
#include <cmath>

#include "platform/file_system.h"
#include "platform/result_files.h"
#include "platform/text_file.h"
#include "signal/number_text.h"
#include "signal/waveform_file.h"
#include "spectral/batch_file_refusal.h"
#include "spectral/fft.h"
#include "timefreq/align_on_threshold.h"

namespace plexo {
namespace {

constexpr const char* kNoValidDataMessage =
    "No valid data present in folder or error during loading!";

void PrepareRun(AverageTftWorkspace& ws) {
  if (ws.spectrumSum.size() < static_cast<size_t>(MAX_SAMPLES)) ws.spectrumSum.resize(MAX_SAMPLES);
  if (ws.averageSignal.size() < static_cast<size_t>(MAX_SAMPLES))
    ws.averageSignal.resize(MAX_SAMPLES);
  std::fill(ws.spectrumSum.begin(), ws.spectrumSum.end(), Complex{});
  std::fill(ws.averageSignal.begin(), ws.averageSignal.end(), 0.0);
  ws.averaged = 0;
  ws.skipped = 0;
  ws.notes.Clear();
}

// Pads, gates, optionally aligns and transforms the file just read (count samples), then adds
// its 2^m bins to the sum. Bins beyond a file's own transform get nothing from it: the work
// signal there still holds a longer earlier file's spectrum, which must not be counted twice.
void AddSpectrum(AverageTftWorkspace& ws, int count, const TransformSizeResult& size,
                 const TftRequest& grid, double threshold, bool autoThreshold) {
  Complex* x = ws.waveform.samples.data();
  const double dt = ws.waveform.sampleInterval;
  std::fill(x + count, x + size.n, Complex{});
  GateTimeWindow(x, count, grid.timeStart, grid.timeEnd, dt);
  if (autoThreshold) {
    AlignOnThreshold(x, count, threshold, AlignmentTarget(grid.timeStart, grid.timeEnd, dt));
  }
  FFT(FftDirection::kForward, size.m, x);
  for (int i = 0; i < size.n; ++i) {
    ws.spectrumSum[i].re += x[i].re;
    ws.spectrumSum[i].im += x[i].im;
  }
}

// The mean spectrum back in the time domain: the real part of its first `count` entries.
void InvertMeanSpectrum(AverageTftWorkspace& ws, int count, const TransformSizeResult& size) {
  // The forward and the inverse transform are both unscaled: 2^m undoes their product.
  const double divisor = static_cast<double>(size.n) * ws.averaged;
  Complex* sum = ws.spectrumSum.data();
  for (int i = 0; i < size.n; ++i) {
    sum[i].re /= divisor;
    sum[i].im /= divisor;
  }
  FFT(FftDirection::kInverse, size.m, sum);
  for (int i = 0; i < count; ++i) ws.averageSignal[i] = sum[i].re;
}

// "4096 samples at 1.000000e-007 s", as the Average FFT names a file's grid.
std::string TftGridText(int count, double sampleInterval) {
  return std::to_string(count) + " samples at " + FormatE(sampleInterval) + " s";
}

}  // namespace

std::string TftGridProblem(const TftRequest& r) {
  const auto named = [](const char* what, double value, const char* rule) {
    return std::string(what) + " = " + FormatE(value) + " " + rule;
  };
  // In the order of the check; a NaN fails every comparison and is named where it stands.
  if (!(r.timeStart >= 0)) return named("time start", r.timeStart, "s: must be 0 or more.");
  if (!(r.timeEnd >= 0)) return named("time end", r.timeEnd, "s: must be 0 or more.");
  if (!(r.timeEnd >= r.timeStart))
    return named("time end", r.timeEnd, "s: must not be before time start") + " (" +
           FormatE(r.timeStart) + " s).";
  if (!(r.timeRes > 0)) return named("time resolution", r.timeRes, "s: must be above 0.");
  if (!(r.freqStart >= 0)) return named("frequency start", r.freqStart, "Hz: must be 0 or more.");
  if (!(r.freqEnd >= 0)) return named("frequency end", r.freqEnd, "Hz: must be 0 or more.");
  if (!(r.freqEnd >= r.freqStart))
    return named("frequency end", r.freqEnd, "Hz: must not be below frequency start") + " (" +
           FormatE(r.freqStart) + " Hz).";
  if (!(r.freqRes > 0)) return named("frequency resolution", r.freqRes, "Hz: must be above 0.");
  return {};
}

std::string AverageTftFolder(const std::string& input) {
  return BatchResultFolder(input, "avgWTData");
}

std::string AverageSignalPath(const std::string& folder) {
  return JoinPath(AverageTftFolder(folder), "average_signal.txt");
}

void GateTimeWindow(Complex* x, int n, double timeStart, double timeEnd, double dt) {
  const double start = timeStart / dt;
  for (int i = 0; i < n && i < start; ++i) x[i] = Complex{};
  const double end = std::trunc(timeEnd / dt);
  // Also false for a quotient that is not a number: nothing to zero then.
  if (end < n) {
    const int first = end > 0 ? static_cast<int>(end) : 0;
    for (int i = first; i < n; ++i) x[i] = Complex{};
  }
}

CalcStatus AverageTft(AverageTftWorkspace& ws, const std::string& folder, const TftRequest& grid,
                      double threshold, bool autoThreshold, CalcProgress& progress, Host& host,
                      const SingleTftRun& single) {
  PrepareRun(ws);
  if (!IsWaveformDatabasePath(folder) && !IsDirectory(folder)) return CalcStatus::kRefused;
  std::unique_ptr<WaveformSource> source;
  if (const auto ended = StartWaveformBatch(folder, AverageTftFolder(folder), source, host))
    return *ended;
  const std::string average_path = AverageSignalPath(folder);

  const int file_count = source->Count();
  progress.SetRange(0, file_count);

  Waveform& wf = ws.waveform;
  WaveformHeader last;  // the header of the last file averaged
  int last_count = 0;
  TransformSizeResult last_size;
  // The first file averaged: the others are expected to share its sample count and interval.
  std::string first_path, first_grid;
  int first_count = 0;
  double first_interval = 0.0;
  for (int k = 1; k <= file_count; ++k) {
    progress.SetPos(k);
    const std::string& path = source->Label(k - 1);
    const WaveformHeader before = wf;
    const int count = source->Read(k - 1, wf);
    if (count > MAX_SAMPLES) {
      host.MessageBox(OverSampleLimitMessage(path, count));
      return CalcStatus::kRefused;
    }
    std::string reason = WaveformSkipReason(path, count, wf.readProblem, wf.sampleInterval);
    if (!reason.empty() && ws.strict) {
      host.MessageBox(reason);
      return CalcStatus::kRefused;
    }
    if (reason.empty()) {
      if (ws.averaged == 0) {
        first_path = path;
        first_grid = TftGridText(count, wf.sampleInterval);
        first_count = count;
        first_interval = wf.sampleInterval;
      } else if (count != first_count || wf.sampleInterval != first_interval) {
        ws.notes.Add(path + ": " + TftGridText(count, wf.sampleInterval) + ", the first file " +
                     first_path + ": " + first_grid + "; the waveforms are averaged all the same.");
      }
      const TransformSizeResult size = TransformSize(count);
      AddSpectrum(ws, count, size, grid, threshold, autoThreshold);
      ++ws.averaged;
      last = wf;
      last_count = count;
      last_size = size;
    } else {
      // Nothing of a rejected file may reach the next one: header lines that the next file
      // lacks keep the values they had before, as they would without the rejected file.
      static_cast<WaveformHeader&>(wf) = before;
      ++ws.skipped;
      ws.notes.Add(std::move(reason));
    }
    if (progress.StopRequested()) return CalcStatus::kStopped;
    progress.DrainMessages();
  }
  ws.notes.Report(host);
  if (ws.averaged == 0) {
    // Writing an empty average would replace the result of an earlier run with nothing.
    // The fixed text, then which folder and why (the files left out were named just before).
    host.MessageBox(std::string(kNoValidDataMessage) + "\n" +
                    (IsWaveformDatabasePath(folder)
                         ? folder + ": none of its " + std::to_string(file_count) +
                               " records is a readable waveform."
                     : file_count == 0 ? folder + " holds no *.txt file."
                                       : folder + ": none of its " + std::to_string(file_count) +
                                             " *.txt files is a readable waveform."));
    return CalcStatus::kRefused;
  }

  InvertMeanSpectrum(ws, last_count, last_size);
  // The average waveform and the transform's table and preview are one result: the transform
  // reads the average from its uncommitted file, and all three replace the earlier ones only
  // when the transform is done.
  ResultFiles result;
  TextFileWriter& average = result.Add(average_path);
  WriteWaveform(average, ws.averageSignal.data(), last_count, last);
  if (!average.Finish()) {
    // Without it the transform has nothing to read: the run cannot go on.
    ReportFileError();
    host.MessageBox(average.Error());
    return CalcStatus::kFailed;
  }
  TftRequest request = grid;
  request.path = average_path;
  request.timeRes = last.sampleInterval;
  const CalcStatus status = single(request, result);
  if (status != CalcStatus::kDone) return status;
  return CommitResult(result, host) ? CalcStatus::kDone : CalcStatus::kFailed;
}

}  // namespace plexo
