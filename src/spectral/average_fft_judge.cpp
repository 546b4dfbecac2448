#include "spectral/average_fft_judge.h"

#include <algorithm>

#include "signal/number_text.h"
#include "spectral/batch_file_refusal.h"

namespace plexo {

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

FileJudgement AverageFftJudge::Judge(const std::string& path, const FileSpectrum& file) {
  FileJudgement judged = Decide(path, file);
  if (judged.verdict == FileVerdict::kRefuseRun) return judged;
  ++(judged.verdict == FileVerdict::kAverage ? averaged_ : skipped_);
  if (!judged.text.empty()) notes_.push_back(judged.text);
  return judged;
}

FileJudgement AverageFftJudge::Decide(const std::string& path, const FileSpectrum& file) {
  if (file.count > MAX_SAMPLES)
    return {FileVerdict::kRefuseRun, OverSampleLimitMessage(path, file.count)};
  if (std::string reason = AverageFftSkipReason(path, file); !reason.empty())
    return {strict_ ? FileVerdict::kRefuseRun : FileVerdict::kSkip, std::move(reason)};
  if (!file.HasSpectrum()) return {FileVerdict::kSkip, {}};
  if (first_.path.empty()) {
    if (adopt_) first_ = {path, AverageFftGridText(file), file.count, file.waveform.sampleInterval};
    return {FileVerdict::kAverage, {}};
  }
  if (path != first_.path &&
      (file.count != first_.count || file.waveform.sampleInterval != first_.sampleInterval))
    return {FileVerdict::kAverage, AverageFftGridNote(path, file, first_.path, first_.grid)};
  return {FileVerdict::kAverage, {}};
}

FirstAveragedFile FindFirstAveragedFile(const WaveformSource& source, int windowIndex, int from) {
  FirstAveragedFile first;
  FileSpectrum file;
  AverageFftJudge judge(/*strict=*/false, FirstAveragedFile{});
  for (int k = std::max(from, 0); k < source.Count(); ++k) {
    const std::string& path = source.Label(k);
    ReadAndTransform(source, k, windowIndex, file);
    const FileVerdict verdict = judge.Judge(path, file).verdict;
    if (verdict == FileVerdict::kRefuseRun) break;
    if (verdict == FileVerdict::kAverage) {
      first = {path, AverageFftGridText(file), file.count, file.waveform.sampleInterval, k};
      break;
    }
  }
  return first;
}

}  // namespace plexo
