#include "spectral/average_fft_blocks.h"

#include <algorithm>

namespace plexo {

SpectrumFold MakeSpectrumFold() {
  return SpectrumFold([](SpectrumSums& left, const SpectrumSums& right) { left.Append(right); });
}

int SpectrumBlockCount(int files) {
  return (std::max(files, 0) + kAverageFftBlockFiles - 1) / kAverageFftBlockFiles;
}

namespace {

// The inputs first .. end-1 of a source, as a source of their own for the read-ahead.
class SourcePart : public WaveformSource {
 public:
  SourcePart(const WaveformSource& whole, int first, int end) : whole_(whole), first_(first) {
    inputs_.assign(whole.Inputs().begin() + first, whole.Inputs().begin() + end);
  }
  int Read(int k, Waveform& wf) const override { return whole_.Read(first_ + k, wf); }

 private:
  const WaveformSource& whole_;
  int first_;
};

}  // namespace

SpectrumBlocksPart SumSpectrumBlocks(const WaveformSource& source, int firstBlock, int endBlock,
                                     const FirstAveragedFile& firstAveraged, int windowIndex,
                                     int jobs, std::vector<FileSpectrum>& slots,
                                     const std::function<bool(int file)>& after, bool strict,
                                     int sampleLimit) {
  SpectrumBlocksPart part;
  const int count = source.Count();
  const int first = std::min(firstBlock * kAverageFftBlockFiles, count);
  const int end = std::min(endBlock * kAverageFftBlockFiles, count);
  if (first >= end) return part;
  const SourcePart mine(source, first, end);

  SpectrumFold fold = MakeSpectrumFold();
  SpectrumSums block;
  AverageFftJudge judge(strict, firstAveraged);
  const bool completed = SpectraInFileOrder(
      mine, windowIndex, jobs, sampleLimit, slots, [&](int k, const FileSpectrum& file) {
        const int f = first + k;
        FileJudgement judged = judge.Judge(source.Label(f), file);
        if (judged.verdict == FileVerdict::kRefuseRun) {
          part.refusedFile = f;
          part.message = std::move(judged.text);
          return false;
        }
        if (judged.verdict == FileVerdict::kAverage) {
          block.Add(file);
          part.lastAveraged = f;
        }
        if ((f + 1) % kAverageFftBlockFiles == 0 || f + 1 == end) {
          fold.Push(0, f / kAverageFftBlockFiles, std::move(block));
          block = SpectrumSums{};
        }
        if (!after(f)) {
          part.stopped = true;
          return false;
        }
        return true;
      });
  part.averaged = judge.Averaged();
  part.skipped = judge.Skipped();
  part.notes = std::move(judge.Notes());
  if (completed) part.nodes = std::move(fold.Nodes());
  return part;
}

CalcStatus FinishBlockedAverageFFT(AverageFftWorkspace& ws, const SpectrumSums& total,
                                   const WaveformSource& source, int lastFile, int windowIndex,
                                   const std::string& folder, Host& host) {
  // The last file again, for its header and transform size (one file: cheap).
  FileSpectrum last;
  last.waveform.limit = ws.maxSamples;
  ReadAndTransform(source, lastFile, windowIndex, last);
  if (!last.HasSpectrum() || total.files <= 0) return CalcStatus::kFailed;
  return FinishAverageFft(ws, total, last.waveform, last.Bins(), folder, host);
}

}  // namespace plexo
