#include "spectral/single_fft.h"

#include <algorithm>
#include <opencv2/core.hpp>

#include "platform/file_system.h"
#include "platform/result_files.h"
#include "plot/chart_data.h"
#include "plot/charts.h"
#include "plot/image_file.h"
#include "plot/line_plots.h"
#include "signal/waveform_file.h"
#include "spectral/fft.h"
#include "spectral/fft_file.h"
#include "spectral/sample_interval_check.h"
#include "spectral/spectrum_preview.h"

namespace plexo {

std::string FftFilePath(const std::string& input) {
  return PathWithoutExtension(input) + "_fft" + LowerCaseExtension(input);
}

std::string FftPreviewPath(const std::string& input) {
  return PathWithoutExtension(input) + "_fft_preview.bmp";
}

int SingleSpectrum(Waveform& wf, int count, std::vector<double>& frequencies) {
  const TransformSizeResult size = TransformSize(count);
  const double dt = wf.sampleInterval;
  const double nyquist = 1.0 / (2.0 * dt);
  const int bins = size.n / 2;
  const double df = bins > 0 ? nyquist / bins : 0.0;

  for (int i = count; i < size.n; ++i) wf.samples[i] = Complex{};
  FFT(FftDirection::kForward, size.m, wf.samples.data());

  frequencies.resize(std::max(MAX_SAMPLES, size.n) / 2 + 1);
  for (int j = 0; j <= bins; ++j) frequencies[j] = j * df;
  return bins;
}

CalcStatus SingleFFT(SingleFftWorkspace& ws, const std::string& path, int /*windowIndex*/,
                     Host& host) {
  if (LowerCaseExtension(path) != ".txt") {
    host.MessageBox("Filetype has the wrong format! Provide a valid file!");
    return CalcStatus::kRefused;
  }
  Waveform& wf = ws.waveform;
  // A header line the file lacks must not keep the value of the file read before.
  static_cast<WaveformHeader&>(wf) = WaveformHeader{};
  wf.limit = ws.maxSamples;
  const int count = ReadWaveform(path, wf);
  // Files of fewer than nine lines give negative counts: no data either.
  if (count <= 0) {
    host.MessageBox(wf.readProblem.empty() ? "No data present in file or error during loading!"
                                           : wf.readProblem);
    return CalcStatus::kRefused;
  }
  // Only wf.limit samples were stored; transforming more would leave the buffer.
  if (count > wf.limit) {
    host.MessageBox(SampleLimitMessage(count, wf.limit));
    return CalcStatus::kRefused;
  }
  if (const std::string problem = SampleIntervalProblem(path, wf.sampleInterval);
      !problem.empty()) {
    host.MessageBox(problem);
    return CalcStatus::kRefused;
  }

  const int bins = SingleSpectrum(wf, count, ws.frequencies);

  const SpectrumPreview shown(wf.samples.data(), bins);
  cv::Mat plot(300, shown.columns, CV_8UC3);
  const double largest =
      PlotComplexSpectrum(plot, ws.frequencies.data(), shown.bins, shown.columns, wf);
  const double highest = bins > 0 ? ws.frequencies[bins - 1] : 0.0;
  cv::Mat display = MakeSpectrumChart(plot, highest, largest, "V/DIV]");
  const ChartLine spectrum{
      {nullptr, wf.samples.data(), ChartValues::Part::kModulus}, bins, ws.frequencies.data()};
  host.ShowChart("FFT-File", display,
                 FrequencyChart(highest, {SpectrumPanel(spectrum, largest, "V")}));

  // The preview and the table replace the earlier ones together or not at all.
  ResultFiles result;
  if (ws.writePreview &&
      !WriteBmp(result.Add(FftPreviewPath(path), /*translate_newlines=*/false), display)) {
    return ReportIncomplete(FftPreviewPath(path), host);
  }
  WriteFFTText(result.Add(FftFilePath(path)), wf.samples.data(), ws.frequencies.data(), bins,
               wf.channel, wf.timeOfTest, wf.sampleInterval);
  return CommitResult(result, host) ? CalcStatus::kDone : CalcStatus::kFailed;
}

}  // namespace plexo
