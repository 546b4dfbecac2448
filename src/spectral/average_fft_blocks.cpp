#include "spectral/average_fft_blocks.h"

#include <algorithm>

#include "signal/waveform_file.h"
#include "spectral/batch_file_refusal.h"

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
    if (file.count > MAX_SAMPLES) break;
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
                                     const std::function<bool(int file)>& after, bool strict) {
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
      part.message = OverSampleLimitMessage(files[f], file.count);
      return part;
    }
    if (std::string reason = AverageFftSkipReason(files[f], file); !reason.empty()) {
      if (strict) {
        part.refusedFile = f;
        part.message = std::move(reason);
        return part;
      }
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
  for (int i = 0; i < bins; ++i) {
    SetAverageFftBin(ws, i, total.files, df, total.re[i], total.im[i], total.magnitude[i],
                     total.square[i], total.minimum[i], total.maximum[i]);
  }
  return ShowAndWriteAverageFft(ws, bins, nyquist, last.waveform, folder, host);
}

}  // namespace plexo
