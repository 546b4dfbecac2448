#include "spectral/average_fft.h"

#include <algorithm>
#include <cmath>
#include <opencv2/core.hpp>

#include "platform/file_system.h"
#include "plot/charts.h"
#include "plot/image_file.h"
#include "plot/line_plots.h"
#include "signal/number_text.h"
#include "signal/result_files.h"
#include "signal/text_file.h"
#include "spectral/batch_file_refusal.h"

namespace plexo {
namespace {

template <typename T>
void EnsureSize(std::vector<T>& buffer, size_t size) {
  if (buffer.size() < size) buffer.resize(size);
}

void PrepareRun(AverageFftWorkspace& ws) {
  EnsureSize(ws.sum, MAX_SAMPLES);
  EnsureSize(ws.magnitudeSum, MAX_SAMPLES);
  EnsureSize(ws.squareSum, MAX_SAMPLES);
  EnsureSize(ws.minimum, MAX_SAMPLES);
  EnsureSize(ws.maximum, MAX_SAMPLES);
  EnsureSize(ws.preview, MAX_SAMPLES);
  ws.result.Allocate();
  std::fill(ws.sum.begin(), ws.sum.end(), Complex{});
  std::fill(ws.magnitudeSum.begin(), ws.magnitudeSum.end(), 0.0);
  std::fill(ws.squareSum.begin(), ws.squareSum.end(), 0.0);
  ws.averaged = 0;
  ws.skipped = 0;
  ws.notes.Clear();
}

}  // namespace

std::string AverageFftSkipReason(const std::string& path, const FileSpectrum& file) {
  if (std::string reason = WaveformSkipReason(path, file.count, file.waveform.readProblem,
                                              file.waveform.sampleInterval);
      !reason.empty())
    return reason;
  // One sample transforms to one point, below which there is no bin: counting the file in K
  // would only shrink every mean.
  if (file.HasSpectrum() && file.Bins() == 0)
    return path + ": " + std::to_string(file.count) +
           " sample gives no frequency bin; the file is not averaged.";
  if (file.HasSpectrum() && !file.finite)
    return path +
           ": its samples are too large for the transform (the spectrum overflows); the "
           "file is not averaged.";
  return {};
}

std::string AverageFftGridText(const FileSpectrum& file) {
  return std::to_string(file.count) + " samples at " + FormatE(file.waveform.sampleInterval) + " s";
}

std::string AverageFftGridNote(const std::string& path, const FileSpectrum& file,
                               const std::string& firstPath, const std::string& firstGrid) {
  return path + ": " + AverageFftGridText(file) + ", the first file " + firstPath + ": " +
         firstGrid + "; the spectra are averaged bin by bin all the same.";
}

namespace {

// Adds one file's bins to the sums. `seen` is how many bins already hold an extreme from this
// run: a bin first reached now (the first file, or a file with a longer transform than all
// before it) takes its magnitude as both extremes instead of a value left from an earlier run.
void Accumulate(AverageFftWorkspace& ws, const FileSpectrum& file, int& seen) {
  const Complex* x = file.waveform.samples.data();
  const double* g = file.magnitude.data();
  const int bins = file.Bins();
  // Plain loops without a branch per bin, so that the compiler can use vector instructions;
  // every bin's sums still take the files in order.
  Complex* sum = ws.sum.data();
  double* magnitude_sum = ws.magnitudeSum.data();
  double* square_sum = ws.squareSum.data();
  double* minimum = ws.minimum.data();
  double* maximum = ws.maximum.data();
  for (int i = 0; i < bins; ++i) {
    sum[i].re += x[i].re;
    sum[i].im += x[i].im;
    magnitude_sum[i] += g[i];
    square_sum[i] += g[i] * g[i];
  }
  const int both = std::min(seen, bins);
  for (int i = 0; i < both; ++i) {
    minimum[i] = std::min(minimum[i], g[i]);
    maximum[i] = std::max(maximum[i], g[i]);
  }
  for (int i = both; i < bins; ++i) {
    minimum[i] = g[i];
    maximum[i] = g[i];
  }
  seen = std::max(seen, bins);
}

void FinishStatistics(AverageFftWorkspace& ws, int bins, double df) {
  for (int i = 0; i < bins; ++i) {
    SetAverageFftBin(ws, i, ws.averaged, df, ws.sum[i].re, ws.sum[i].im, ws.magnitudeSum[i],
                     ws.squareSum[i], ws.minimum[i], ws.maximum[i]);
  }
}

}  // namespace

std::string AverageFftFolder(const std::string& folder) { return JoinPath(folder, "avgFFTData"); }

std::string AverageFftTablePath(const std::string& folder) {
  return JoinPath(AverageFftFolder(folder), "average_FFT.txt");
}

std::string AverageFftPreviewPath(const std::string& folder) {
  return JoinPath(AverageFftFolder(folder), "average_FFT_preview.bmp");
}

namespace {

// The sample standard deviation of k magnitudes from their sum and sum of squares. One
// magnitude has no spread: 0 rather than 0/0. Rounding can make k*Q - A^2 slightly negative
// for equal magnitudes; that is no spread either, not a square root of a negative number.
double SampleDeviation(double k, double sum, double square_sum) {
  if (k < 2) return 0.0;
  const double spread = k * square_sum - sum * sum;
  return std::sqrt((spread < 0.0 ? 0.0 : spread) / (k * (k - 1.0)));
}

}  // namespace

void SetAverageFftBin(AverageFftWorkspace& ws, int i, double k, double df, double reSum,
                      double imSum, double magnitudeSum, double squareSum, double minimum,
                      double maximum) {
  AverageSpectrum& r = ws.result;
  const double a = magnitudeSum / k;
  r.frequency[i] = i * df;
  r.real[i] = reSum / k;
  r.imaginary[i] = imSum / k;
  r.magnitude[i] = a;
  r.deviation[i] = SampleDeviation(k, magnitudeSum, squareSum);
  r.minimum[i] = minimum;
  r.maximum[i] = maximum;
  ws.preview[i] = Complex{a, 0.0};
}

CalcStatus ShowAndWriteAverageFft(AverageFftWorkspace& ws, int bins, double nyquist,
                                  const WaveformHeader& header, const std::string& folder,
                                  Host& host) {
  cv::Mat plot(300, bins, CV_8UC3);
  const double largest =
      PlotComplexSpectrum(plot, ws.result.frequency.data(), ws.preview.data(), bins, header);
  cv::Mat display = MakeSpectrumChart(plot, nyquist, largest, "V/DIV]");
  host.ShowImage("FFT-File", display);

  // The preview and the table replace the earlier ones together or not at all.
  ResultFiles result;
  if (ws.writePreview &&
      !WriteBmp(result.Add(AverageFftPreviewPath(folder), /*translate_newlines=*/false), display)) {
    return ReportIncomplete(AverageFftPreviewPath(folder), host);
  }
  WriteAverageFFTText(result.Add(AverageFftTablePath(folder)), ws.result, bins);
  return CommitResult(result, host) ? CalcStatus::kDone : CalcStatus::kFailed;
}

CalcStatus AverageFFT(AverageFftWorkspace& ws, const std::string& folder, int windowIndex,
                      CalcProgress& progress, Host& host, int jobs) {
  if (!IsDirectory(folder)) return CalcStatus::kRefused;
  PrepareRun(ws);
  std::vector<std::string> files;
  if (const auto ended = StartFolderBatch(folder, AverageFftFolder(folder), files, host))
    return *ended;
  const int count = static_cast<int>(files.size());
  progress.SetRange(0, count);

  WaveformHeader last;  // the grid and preview header come from the last file averaged
  TransformSizeResult last_size;
  int seen = 0;
  // The first file averaged: the others are expected to share its sample count and interval.
  std::string first_path, first_grid;
  int first_count = 0;
  double first_interval = 0.0;
  {
    SpectrumReadAhead reader(files, windowIndex, ResolveJobCount(jobs), ws.files);
    for (int k = 1; k <= count; ++k) {
      progress.SetPos(k);
      const FileSpectrum& file = reader.Next();
      if (file.count > MAX_SAMPLES) {
        host.MessageBox(OverSampleLimitMessage(files[k - 1], file.count));
        return CalcStatus::kRefused;
      }
      if (std::string reason = AverageFftSkipReason(files[k - 1], file); !reason.empty()) {
        if (ws.strict) {
          host.MessageBox(reason);
          return CalcStatus::kRefused;
        }
        ws.notes.Add(std::move(reason));
        ++ws.skipped;
      } else if (file.HasSpectrum()) {
        if (ws.averaged == 0) {
          first_path = files[k - 1];
          first_grid = AverageFftGridText(file);
          first_count = file.count;
          first_interval = file.waveform.sampleInterval;
        } else if (file.count != first_count || file.waveform.sampleInterval != first_interval) {
          ws.notes.Add(AverageFftGridNote(files[k - 1], file, first_path, first_grid));
        }
        Accumulate(ws, file, seen);
        ++ws.averaged;
        last = static_cast<const WaveformHeader&>(file.waveform);
        last_size = file.size;
      } else {
        ++ws.skipped;
      }
      if (progress.StopRequested()) return CalcStatus::kStopped;
      progress.DrainMessages();
    }
  }
  ws.notes.Report(host);
  if (ws.averaged == 0) return CalcStatus::kRefused;

  const int bins = last_size.n / 2;
  const double nyquist = 1.0 / (2.0 * last.sampleInterval);
  const double df = bins > 0 ? nyquist / bins : 0.0;
  FinishStatistics(ws, bins, df);
  return ShowAndWriteAverageFft(ws, bins, nyquist, last, folder, host);
}

}  // namespace plexo
