#include "spectral/average_fft_blocks.h"

#include <algorithm>
#include <cmath>
#include <opencv2/core.hpp>

#include "plot/charts.h"
#include "plot/image_file.h"
#include "plot/line_plots.h"
#include "signal/result_files.h"
#include "signal/waveform_file.h"

namespace plexo {

SpectrumFold MakeSpectrumFold() {
  return SpectrumFold([](SpectrumSums& left, const SpectrumSums& right) { left.Append(right); });
}

int SpectrumBlockCount(int files) {
  return (std::max(files, 0) + kAverageFftBlockFiles - 1) / kAverageFftBlockFiles;
}

FirstAveragedFile FindFirstAveragedFile(const std::vector<std::string>& files, int windowIndex) {
  FirstAveragedFile first;
  FileSpectrum file;
  for (const std::string& path : files) {
    ReadAndTransform(path, windowIndex, file);
    if (file.count > MAX_SAMPLES || (file.count > 0 && !file.intervalProblem.empty())) break;
    if (file.HasSpectrum() && AverageFftSkipReason(path, file).empty()) {
      first.path = path;
      first.grid = AverageFftGridText(file);
      first.count = file.count;
      first.sampleInterval = file.waveform.sampleInterval;
      break;
    }
  }
  return first;
}

SpectrumBlocksPart SumSpectrumBlocks(const std::vector<std::string>& files, int firstBlock,
                                     int endBlock, const FirstAveragedFile& firstAveraged,
                                     int windowIndex, int jobs, std::vector<FileSpectrum>& slots,
                                     const std::function<bool(int file)>& after) {
  SpectrumBlocksPart part;
  const int count = static_cast<int>(files.size());
  const int first = std::min(firstBlock * kAverageFftBlockFiles, count);
  const int end = std::min(endBlock * kAverageFftBlockFiles, count);
  if (first >= end) return part;
  const std::vector<std::string> mine(files.begin() + first, files.begin() + end);

  SpectrumFold fold = MakeSpectrumFold();
  SpectrumSums block;
  SpectrumReadAhead reader(mine, windowIndex, jobs, slots);
  for (int f = first; f < end; ++f) {
    const FileSpectrum& file = reader.Next();
    if (file.count > MAX_SAMPLES) {
      part.refusedFile = f;
      part.message = SamplingSizeMessage(file.count);
      return part;
    }
    if (file.count > 0 && !file.intervalProblem.empty()) {
      part.refusedFile = f;
      part.message = file.intervalProblem;
      return part;
    }
    if (std::string reason = AverageFftSkipReason(files[f], file); !reason.empty()) {
      part.notes.push_back(std::move(reason));
      ++part.skipped;
    } else if (file.HasSpectrum()) {
      if (!firstAveraged.path.empty() && files[f] != firstAveraged.path &&
          (file.count != firstAveraged.count ||
           file.waveform.sampleInterval != firstAveraged.sampleInterval)) {
        part.notes.push_back(
            AverageFftGridNote(files[f], file, firstAveraged.path, firstAveraged.grid));
      }
      block.Add(file);
      ++part.averaged;
      part.lastAveraged = f;
    } else {
      ++part.skipped;
    }
    if ((f + 1) % kAverageFftBlockFiles == 0 || f + 1 == end) {
      fold.Push(0, f / kAverageFftBlockFiles, std::move(block));
      block = SpectrumSums{};
    }
    if (!after(f)) {
      part.stopped = true;
      return part;
    }
  }
  part.nodes = std::move(fold.Nodes());
  return part;
}

namespace {

// The sample standard deviation of k magnitudes from their sum and sum of squares, as the
// one-process Average FFT takes it: 0 for one magnitude or a spread that rounding made negative.
double SampleDeviation(double k, double sum, double square_sum) {
  if (k < 2) return 0.0;
  const double spread = k * square_sum - sum * sum;
  return std::sqrt((spread < 0.0 ? 0.0 : spread) / (k * (k - 1.0)));
}

}  // namespace

CalcStatus FinishBlockedAverageFFT(AverageFftWorkspace& ws, const SpectrumSums& total,
                                   const std::string& lastFile, int windowIndex,
                                   const std::string& folder, Host& host) {
  // The last file again, for its header and transform size (one file: cheap).
  FileSpectrum last;
  ReadAndTransform(lastFile, windowIndex, last);
  if (!last.HasSpectrum() || total.files <= 0) return CalcStatus::kFailed;
  ws.result.Allocate();
  if (ws.preview.size() < static_cast<size_t>(MAX_SAMPLES)) ws.preview.resize(MAX_SAMPLES);
  const int bins = std::min(last.Bins(), total.bins);
  const double nyquist = 1.0 / (2.0 * last.waveform.sampleInterval);
  const double df = bins > 0 ? nyquist / bins : 0.0;
  const double k = total.files;
  AverageSpectrum& r = ws.result;
  for (int i = 0; i < bins; ++i) {
    const double a = total.magnitude[i] / k;
    r.frequency[i] = i * df;
    r.real[i] = total.re[i] / k;
    r.imaginary[i] = total.im[i] / k;
    r.magnitude[i] = a;
    r.deviation[i] = SampleDeviation(k, total.magnitude[i], total.square[i]);
    r.minimum[i] = total.minimum[i];
    r.maximum[i] = total.maximum[i];
    ws.preview[i] = Complex{a, 0.0};
  }
  const WaveformHeader& header = last.waveform;
  cv::Mat plot(300, bins, CV_8UC3);
  const double largest =
      PlotComplexSpectrum(plot, ws.result.frequency.data(), ws.preview.data(), bins, header);
  cv::Mat display = MakeSpectrumChart(plot, nyquist, largest, "V/DIV]");
  host.ShowImage("FFT-File", display);

  // The preview and the table replace the earlier ones together or not at all.
  ResultFiles result;
  if (!WriteBmp(result.Add(AverageFftPreviewPath(folder), /*translate_newlines=*/false), display)) {
    return ReportIncomplete(AverageFftPreviewPath(folder), host);
  }
  WriteAverageFFTText(result.Add(AverageFftTablePath(folder)), ws.result, bins);
  return CommitResult(result, host) ? CalcStatus::kDone : CalcStatus::kFailed;
}

}  // namespace plexo
