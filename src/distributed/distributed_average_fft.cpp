#include "distributed/distributed_average_fft.h"

#include <algorithm>

#include "distributed/byte_buffer.h"
#include "distributed/run_on_ranks.h"
#include "platform/contiguous_split.h"
#include "platform/file_system.h"
#include "platform/job_count.h"
#include "platform/text_file.h"
#include "spectral/average_fft_blocks.h"

namespace plexo::distributed {
namespace {

std::string Pack(const SpectrumBlocksPart& part) {
  ByteWriter out;
  out.Int(part.averaged);
  out.Int(part.skipped);
  out.Int(part.lastAveraged);
  out.Texts(part.notes);
  out.Int(static_cast<int64_t>(part.nodes.size()));
  for (const SpectrumFold::Node& node : part.nodes) {
    const SpectrumSums& s = node.value;
    out.Int(node.level);
    out.Int(node.index);
    out.Int(s.bins);
    out.Int(s.files);
    for (const std::vector<double>* v :
         {&s.re, &s.im, &s.magnitude, &s.square, &s.minimum, &s.maximum})
      out.Doubles(*v, s.bins);
  }
  return std::move(out.Bytes());
}

SpectrumBlocksPart Unpack(const std::string& bytes) {
  ByteReader in(bytes);
  SpectrumBlocksPart part;
  part.averaged = static_cast<int>(in.Int());
  part.skipped = static_cast<int>(in.Int());
  part.lastAveraged = static_cast<int>(in.Int());
  part.notes = in.Texts();
  const int64_t nodes = in.Int();
  for (int64_t n = 0; n < nodes; ++n) {
    SpectrumFold::Node node;
    node.level = static_cast<int>(in.Int());
    node.index = in.Int();
    SpectrumSums& s = node.value;
    s.bins = static_cast<int>(std::clamp<int64_t>(in.Int(), 0, kLargestSampleLimit));
    s.files = static_cast<int>(in.Int());
    for (std::vector<double>* v : {&s.re, &s.im, &s.magnitude, &s.square, &s.minimum, &s.maximum})
      in.Doubles(*v, s.bins);
    part.nodes.push_back(std::move(node));
  }
  return part;
}

}  // namespace

CalcStatus AverageFFTOnRanks(const MpiSession& mpi, AverageFftWorkspace& ws,
                             const std::string& folder, int windowIndex, CalcProgress& progress,
                             Host& host, int jobs) {
  ws.averaged = 0;
  ws.skipped = 0;
  ws.notes.Clear();
  RankRun run;
  // Rank 0 lists the input; the other ranks read the same folder or database through a source
  // of their own (the list they get names the files, or the records by their labels).
  std::unique_ptr<WaveformSource> source;
  std::string unusable;  // why this rank could not open the database rank 0 listed
  run.list = [&](std::vector<std::string>& files) {
    std::string why;
    if (!IsWaveformDatabasePath(folder) && !IsDirectory(folder)) return CalcStatus::kRefused;
    source = ListWaveformSource(folder, why);
    if (source == nullptr) {
      host.MessageBox(why);
      return CalcStatus::kRefused;
    }
    files.clear();
    for (const WaveformInput& input : source->Inputs()) files.push_back(input.label);
    if (!MakeDirectory(AverageFftFolder(folder), &why)) {
      ReportFileError();  // stdout says so as for every result that cannot be written
      host.MessageBox(FolderNotCreatedMessage(AverageFftFolder(folder), why));
      return CalcStatus::kFailed;
    }
    return CalcStatus::kDone;
  };
  // Every rank compares its files with the first file averaged in list order, as one process
  // does; rank 0 finds it (one file to read, nearly always) and every rank reads that one file.
  FirstAveragedFile first_averaged;
  int count = 0;
  run.listed = [&](const std::vector<std::string>& files) {
    count = static_cast<int>(files.size());
    if (source == nullptr) source = ReopenWaveformSource(folder, files, unusable);
    int first_index = -1;
    if (mpi.IsRoot())
      first_index = FindFirstAveragedFile(*source, windowIndex, 0, ws.maxSamples).index;
    first_index = BroadcastInt(first_index);
    if (first_index >= 0 && source != nullptr)
      first_averaged = FindFirstAveragedFile(*source, windowIndex, first_index, ws.maxSamples);
    if (mpi.IsRoot()) progress.SetRange(0, static_cast<int>(files.size()));
    return 1;
  };
  run.compute = [&](const std::vector<std::string>& /*files*/,
                    const std::function<bool(int)>& after) {
    const ItemRange blocks = ContiguousPart(SpectrumBlockCount(count), mpi.Size(), mpi.Rank());
    if (source == nullptr) {
      RankShare share;
      share.refusedFile = std::min(blocks.begin * kAverageFftBlockFiles, count);
      share.message = unusable;
      return share;
    }
    SpectrumBlocksPart part =
        SumSpectrumBlocks(*source, blocks.begin, blocks.end, first_averaged, windowIndex,
                          JobCount(jobs), ws.files, after, ws.strict, ws.maxSamples);
    RankShare share;
    share.refusedFile = part.refusedFile;
    share.message = std::move(part.message);
    if (part.refusedFile < 0) share.packed = Pack(part);
    return share;
  };
  SpectrumFold fold = MakeSpectrumFold();
  int last = -1;
  run.join = [&](const std::string& packed) {
    SpectrumBlocksPart part = Unpack(packed);
    ws.averaged += part.averaged;
    ws.skipped += part.skipped;
    for (std::string& note : part.notes) ws.notes.Add(std::move(note));
    last = std::max(last, part.lastAveraged);
    for (SpectrumFold::Node& node : part.nodes)
      fold.Push(node.level, node.index, std::move(node.value));
  };
  run.finish = [&] {
    ws.notes.Report(host);
    const SpectrumSums total = fold.Finish();
    if (ws.averaged == 0 || last < 0) return CalcStatus::kRefused;
    progress.SetPos(count);
    return FinishBlockedAverageFFT(ws, total, *source, last, windowIndex, folder, host);
  };
  return RunOnRanks(mpi, run, progress, host);
}

}  // namespace plexo::distributed
