#include "timefreq/spwvd.h"

#include <algorithm>
#include <opencv2/core.hpp>

#include "platform/file_system.h"
#include "platform/job_count.h"
#include "platform/result_files.h"
#include "plot/charts.h"
#include "plot/line_plots.h"
#include "plot/matrix_paint.h"
#include "signal/waveform_file.h"
#include "timefreq/spwvd_core.h"
#include "timefreq/spwvd_grid.h"
#include "timefreq/tft_file.h"
#include "timefreq/tft_result.h"

namespace plexo {
namespace {

// window[i] = sample h + i for i < samples, zero where that lies outside the loaded samples and
// from index `samples` on.
void MoveWindow(const Waveform& wf, int stored, long long first, long long samples,
                std::vector<Complex>& window) {
  window.assign(MAX_SAMPLES, Complex{});
  for (long long i = 0; i < samples && i < MAX_SAMPLES; ++i) {
    const long long k = first + i;
    if (k >= 0 && k < stored) window[i] = wf.samples[k];
  }
}

// real[i] = re of window[i], then real[i] = real[i * subsampling], positions beyond the array
// reading as zero (in place: i * subsampling >= i).
void DecimateRealParts(const std::vector<Complex>& window, int subsampling,
                       std::vector<double>& real) {
  real.resize(MAX_SAMPLES);
  for (int i = 0; i < MAX_SAMPLES; ++i) real[i] = window[i].re;
  for (long long i = 0; i < MAX_SAMPLES; ++i) {
    const long long k = i * subsampling;
    real[i] = k < MAX_SAMPLES ? real[k] : 0.0;
  }
}

// The 800 x 700 composite: bins 0 .. D-1 of the N_time columns above the signal strip, both
// labelled with the undecimated window length (e - h + 1) dt; the map's frequency label counts
// the D bins it paints, binStep apart.
TftPreview MakeSpwvdPreview(const SpwvdWorkspace& ws, const SpwvdGrid& grid, int sampleCount) {
  const int columns = static_cast<int>(grid.columns);
  const int bins = static_cast<int>(grid.shownBins);
  const int stripWidth = static_cast<int>(grid.samples + 1);
  const double timeSpan = static_cast<double>(grid.samples + 1) * grid.dt;

  cv::Mat map(bins, columns, CV_8UC3);
  const double largest = PaintComplexMatrix(map, ws.matrix.Data(), columns, bins);
  const cv::Mat chart = MakeTimeFrequencyChart(map, timeSpan, grid.ShownFrequencySpan(), largest,
                                               ColourBarTitle::kWignerVille);

  cv::Mat signal(100, stripWidth, CV_8UC3);
  const double amplitude = PlotComplexSignal(signal, ws.window.data(), sampleCount, ws.waveform);
  const cv::Mat strip = MakeSignalStrip(signal, timeSpan, amplitude, ws.waveform.units);

  // The chart borrows the matrix and the window buffer, which stay while the window is shown.
  const ChartMap coefficients{{nullptr, ws.matrix.Data(), ChartValues::Part::kModulus},
                              bins,
                              columns,
                              TFT_ROW_STRIDE,
                              columns > 0 ? timeSpan / columns : 0.0,
                              grid.binStep,
                              largest};
  const ChartLine samples{{nullptr, ws.window.data(), ChartValues::Part::kRealPart},
                          sampleCount,
                          nullptr,
                          0.0,
                          grid.dt};
  return {MakePreviewComposite(chart, strip),
          TimeChart(timeSpan, {MapPanel(coefficients, "SPWVD-coefficient"),
                               SignalPanel(samples, amplitude, ws.waveform.units)})};
}

}  // namespace

std::string SpwvdFilePath(const std::string& input) {
  return PathWithoutExtension(input) + "_spvwd" + LowerCaseExtension(input);
}

std::string SpwvdPreviewPath(const std::string& input) {
  return PathWithoutExtension(input) + "_spvwd_preview.bmp";
}

CalcStatus ComputeSpwvd(SpwvdWorkspace& ws, const TftRequest& request, int stored,
                        CalcProgress& progress, Host& host, SpwvdGrid& grid) {
  auto refuse = [&host](const std::string& message) {
    host.MessageBox(message);
    return CalcStatus::kRefused;
  };
  const Waveform& wf = ws.waveform;
  grid = SpwvdWindowOf(request, wf.sampleInterval);
  if (const std::string problem = SpwvdWindowProblem(grid); !problem.empty()) {
    return refuse(problem);
  }
  MoveWindow(wf, stored, grid.first, grid.samples, ws.window);

  if (const std::string problem = SpwvdSubsamplingProblem(request.subsampling); !problem.empty()) {
    return refuse(problem);
  }
  DecimateRealParts(ws.window, request.subsampling, ws.real);

  CompleteSpwvdGrid(grid, request);
  progress.SetRange(0, static_cast<int>(std::clamp<long long>(grid.columns, 0, MAX_SAMPLES)));
  if (SpwvdSubsamplingTooHigh(grid, request)) {
    return refuse("Subsampling rate to high. Please reduce!");
  }
  if (const std::string problem = SpwvdFrequencyProblem(grid); !problem.empty()) {
    return refuse(problem);
  }

  // Columns of N_time cannot exceed the window's samples; N_freq is bounded above. The matrix
  // region the preview paints (bins below D) and the file reads (bins 0 .. topBin) starts from
  // zero; the distribution overwrites its bins below min(N_freq, TFT_MAX_ROWS).
  const int columns = static_cast<int>(std::max<long long>(grid.columns, 0));
  ws.matrix.ZeroRegion(static_cast<int>(std::max<long long>(grid.shownBins, grid.FileRows())),
                       columns);
  return SpwvdDistribution(ws.matrix, ws.real.data(), static_cast<int>(grid.columns),
                           static_cast<int>(grid.nFreq), request.windowParameter, JobCount(ws.jobs),
                           progress, host);
}

CalcStatus CalcSingleSpwvd(SpwvdWorkspace& ws, const TftRequest& request, CalcProgress& progress,
                           Host& host, ResultFiles* shared) {
  auto refuse = [&host](const std::string& message) {
    host.MessageBox(message);
    return CalcStatus::kRefused;
  };
  if (LowerCaseExtension(request.path) != ".txt") {
    return refuse("Filetype has the wrong format! Provide a valid file!");
  }
  Waveform& wf = ws.waveform;
  // A header line the file lacks must not keep the value of the file read before.
  static_cast<WaveformHeader&>(wf) = WaveformHeader{};
  const int count = ReadWaveform(StagedOrOwnPath(request.path, shared), wf);
  // Files of fewer than nine lines give negative counts: no data either.
  if (count <= 0) {
    return refuse(wf.readProblem.empty() ? "No valid data present in file or error during loading!"
                                         : wf.readProblem);
  }
  // A longer file is computed on the MAX_SAMPLES samples the reader stored; the window reads
  // zeros beyond them.
  const int stored = std::min(count, MAX_SAMPLES);

  SpwvdGrid grid;
  if (const CalcStatus status = ComputeSpwvd(ws, request, stored, progress, host, grid);
      status != CalcStatus::kDone)
    return status;
  const int columns = static_cast<int>(std::max<long long>(grid.columns, 0));

  // The table and the preview only read the matrix. The table's k-th line after the line of
  // times holds bin k, labelled with the bin's own frequency.
  const TftFileLines lines{static_cast<int>(grid.lines), grid.binStep, 0};
  TftResultParts parts;
  if (TftTableWanted(request.output)) parts.tablePath = SpwvdFilePath(request.path);
  if (ws.writePreview) parts.previewPath = SpwvdPreviewPath(request.path);
  parts.title = "SPVWD-File";
  parts.writeTable = [&](TextFileWriter& out) {
    return WriteTftTable(request.output, out, ws.matrix, lines, columns, request.timeStart,
                         wf.channel, wf.timeOfTest, grid.decimatedDt);
  };
  parts.makePreview = [&] { return MakeSpwvdPreview(ws, grid, stored); };
  return FinishTftResult(parts, shared, host);
}

}  // namespace plexo
