#include "spectral/average_fft.h"

#include <algorithm>
#include <cmath>
#include <opencv2/core.hpp>

#include "platform/file_system.h"
#include "platform/job_count.h"
#include "platform/result_files.h"
#include "platform/text_file.h"
#include "plot/chart_data.h"
#include "plot/charts.h"
#include "plot/image_file.h"
#include "plot/line_plots.h"
#include "signal/number_text.h"
#include "spectral/average_fft_csv.h"
#include "spectral/batch_file_refusal.h"
#include "spectral/spectrum_preview.h"

namespace plexo {

std::string AverageFftFolder(const std::string& input) {
  return BatchResultFolder(input, "avgFFTData");
}

std::string AverageFftTablePath(const std::string& folder, TableFormat format) {
  return JoinPath(AverageFftFolder(folder), std::string("average_FFT") + TableExtension(format));
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

void SetAverageFftBin(AverageFftWorkspace& ws, int i, double k, double df, const BinSums& sums) {
  AverageSpectrum& r = ws.result;
  const double a = sums.magnitude / k;
  r.frequency[i] = i * df;
  r.real[i] = sums.re / k;
  r.imaginary[i] = sums.im / k;
  r.magnitude[i] = a;
  r.deviation[i] = SampleDeviation(k, sums.magnitude, sums.square);
  r.minimum[i] = sums.minimum;
  r.maximum[i] = sums.maximum;
  ws.preview[i] = Complex{a, 0.0};
}

int AverageFftResult(AverageFftWorkspace& ws, const SpectrumSums& sums, const WaveformHeader& last,
                     int lastBins) {
  const int bins = std::min(lastBins, sums.bins);
  ws.result.Allocate(bins);
  if (ws.preview.size() < static_cast<size_t>(std::max(bins, MAX_SAMPLES)))
    ws.preview.resize(std::max(bins, MAX_SAMPLES));
  const double nyquist = 1.0 / (2.0 * last.sampleInterval);
  const double df = bins > 0 ? nyquist / bins : 0.0;
  for (int i = 0; i < bins; ++i) SetAverageFftBin(ws, i, sums.files, df, sums.Bin(i));
  return bins;
}

CalcStatus FinishAverageFft(AverageFftWorkspace& ws, const SpectrumSums& sums,
                            const WaveformHeader& last, int lastBins, const std::string& folder,
                            Host& host) {
  const int bins = AverageFftResult(ws, sums, last, lastBins);
  const double nyquist = 1.0 / (2.0 * last.sampleInterval);

  const SpectrumPreview shown(ws.preview.data(), bins);
  cv::Mat plot(300, shown.columns, CV_8UC3);
  const double largest =
      PlotComplexSpectrum(plot, ws.result.frequency.data(), shown.bins, shown.columns, last);
  cv::Mat display = MakeSpectrumChart(plot, nyquist, largest, "V/DIV]");
  const ChartLine spectrum{{ws.result.magnitude.data()}, bins, ws.result.frequency.data()};
  host.ShowChart("FFT-File", display,
                 FrequencyChart(nyquist, {SpectrumPanel(spectrum, largest, "V")}));

  // The preview and the table replace the earlier ones together or not at all.
  ResultFiles result;
  if (ws.writePreview &&
      !WriteBmp(result.Add(AverageFftPreviewPath(folder), /*translate_newlines=*/false), display)) {
    return ReportIncomplete(AverageFftPreviewPath(folder), host);
  }
  if (ws.tableFormat == TableFormat::kCsv) {
    WriteAverageFFTCsv(result.Add(AverageFftTablePath(folder, ws.tableFormat),
                                  /*translate_newlines=*/false),
                       ws.result, bins);
  } else {
    WriteAverageFFTText(result.Add(AverageFftTablePath(folder)), ws.result, bins);
  }
  return CommitResult(result, host) ? CalcStatus::kDone : CalcStatus::kFailed;
}

CalcStatus AverageFftSums(AverageFftWorkspace& ws, const WaveformSource& source, int windowIndex,
                          CalcProgress& progress, Host& host, int jobs, WaveformHeader& last,
                          int& lastBins) {
  ws.sums.Clear();
  ws.averaged = 0;
  ws.skipped = 0;
  ws.notes.Clear();
  progress.SetRange(0, source.Count());

  AverageFftJudge judge(ws.strict);
  CalcStatus ended = CalcStatus::kDone;
  SpectraInFileOrder(source, windowIndex, JobCount(jobs), ws.maxSamples, ws.files,
                     [&](int k, const FileSpectrum& file) {
                       progress.SetPos(k + 1);
                       const FileJudgement judged = judge.Judge(source.Label(k), file);
                       if (judged.verdict == FileVerdict::kRefuseRun) {
                         host.MessageBox(judged.text);
                         ended = CalcStatus::kRefused;
                         return false;
                       }
                       if (judged.verdict == FileVerdict::kAverage) {
                         ws.sums.Add(file);
                         last = static_cast<const WaveformHeader&>(file.waveform);
                         lastBins = file.Bins();
                       }
                       if (progress.StopRequested()) {
                         ended = CalcStatus::kStopped;
                         return false;
                       }
                       progress.DrainMessages();
                       return true;
                     });
  ws.averaged = judge.Averaged();
  ws.skipped = judge.Skipped();
  for (std::string& note : judge.Notes()) ws.notes.Add(std::move(note));
  return ended;
}

CalcStatus AverageFFT(AverageFftWorkspace& ws, const std::string& folder, int windowIndex,
                      CalcProgress& progress, Host& host, int jobs) {
  if (!IsWaveformDatabasePath(folder) && !IsDirectory(folder)) return CalcStatus::kRefused;
  ws.sums.Clear();
  ws.result.Allocate();
  if (ws.preview.size() < static_cast<size_t>(MAX_SAMPLES)) ws.preview.resize(MAX_SAMPLES);
  ws.averaged = 0;
  ws.skipped = 0;
  ws.notes.Clear();
  std::unique_ptr<WaveformSource> source;
  if (const auto ended = StartWaveformBatch(folder, AverageFftFolder(folder), source, host))
    return *ended;
  WaveformHeader last;  // the grid and preview header come from the last file averaged
  int last_bins = 0;
  if (const CalcStatus ended =
          AverageFftSums(ws, *source, windowIndex, progress, host, jobs, last, last_bins);
      ended != CalcStatus::kDone)
    return ended;
  ws.notes.Report(host);
  if (ws.averaged == 0) return CalcStatus::kRefused;
  return FinishAverageFft(ws, ws.sums, last, last_bins, folder, host);
}

}  // namespace plexo
