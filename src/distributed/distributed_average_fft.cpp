#include "distributed/distributed_average_fft.h"

#include <algorithm>

#include "distributed/byte_buffer.h"
#include "distributed/rank_exchange.h"
#include "platform/contiguous_split.h"
#include "platform/file_system.h"
#include "platform/text_file.h"
#include "spectral/average_fft_blocks.h"

namespace plexo::distributed {
namespace {

std::string Pack(const SpectrumBlocksPart& part) {
  ByteWriter out;
  out.Int(part.refusedFile);
  out.Text(part.message);
  out.Int(part.averaged);
  out.Int(part.skipped);
  out.Int(part.lastAveraged);
  out.Int(static_cast<int64_t>(part.notes.size()));
  for (const std::string& note : part.notes) out.Text(note);
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
  part.refusedFile = static_cast<int>(in.Int());
  part.message = in.Text();
  part.averaged = static_cast<int>(in.Int());
  part.skipped = static_cast<int>(in.Int());
  part.lastAveraged = static_cast<int>(in.Int());
  const int64_t notes = in.Int();
  for (int64_t n = 0; n < notes; ++n) part.notes.push_back(in.Text());
  const int64_t nodes = in.Int();
  for (int64_t n = 0; n < nodes; ++n) {
    SpectrumFold::Node node;
    node.level = static_cast<int>(in.Int());
    node.index = in.Int();
    SpectrumSums& s = node.value;
    s.bins = static_cast<int>(std::clamp<int64_t>(in.Int(), 0, MAX_SAMPLES));
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
  std::vector<std::string> files;
  int refused = 0;
  if (mpi.IsRoot()) {
    std::string why;
    if (!IsDirectory(folder)) {
      refused = static_cast<int>(CalcStatus::kRefused);
    } else if (!ListTxtFiles(folder, files, why)) {
      host.MessageBox(FolderNotListedMessage(folder, why));
      refused = static_cast<int>(CalcStatus::kRefused);
    } else if (!MakeDirectory(AverageFftFolder(folder), &why)) {
      ReportFileError();  // stdout says so as for every result that cannot be written
      host.MessageBox(FolderNotCreatedMessage(AverageFftFolder(folder), why));
      refused = static_cast<int>(CalcStatus::kFailed);
    }
  }
  if (const int stop_status = BroadcastInt(refused); stop_status != 0)
    return static_cast<CalcStatus>(stop_status);
  files = BroadcastStrings(files);
  ws.notes.Clear();
  // Every rank compares its files with the first file averaged in list order, as one process
  // does; rank 0 finds it (one file to read, nearly always) and every rank reads that one file.
  int first_index = -1;
  if (mpi.IsRoot()) {
    const FirstAveragedFile found = FindFirstAveragedFile(files, windowIndex);
    for (size_t i = 0; i < files.size() && !found.path.empty(); ++i) {
      if (files[i] == found.path) {
        first_index = static_cast<int>(i);
        break;
      }
    }
  }
  first_index = BroadcastInt(first_index);
  FirstAveragedFile first_averaged;
  if (first_index >= 0) {
    first_averaged = FindFirstAveragedFile({files[static_cast<size_t>(first_index)]}, windowIndex);
  }

  const int count = static_cast<int>(files.size());
  if (mpi.IsRoot()) progress.SetRange(0, count);
  const ItemRange blocks = ContiguousPart(SpectrumBlockCount(count), mpi.Size(), mpi.Rank());
  std::vector<std::string> results;
  std::vector<int> refusing(static_cast<size_t>(mpi.Size()), 0);
  int status = static_cast<int>(CalcStatus::kDone);
  StopSignal stop(mpi);
  {
    RankProgress tracker(mpi, 1, progress);
    const SpectrumBlocksPart part = SumSpectrumBlocks(
        files, blocks.begin, blocks.end, first_averaged, windowIndex, ResolveJobCount(jobs),
        ws.files,
        [&](int /*file*/) {
          tracker.FileDone();
          return !stop.Received();
        },
        ws.strict);
    if (part.refusedFile >= 0) stop.Send(part.refusedFile);
    results = GatherResults(mpi, Pack(part), tracker);
  }

  if (mpi.IsRoot()) {
    // Ranks hold consecutive blocks: the first rank that refused holds the first refused file.
    SpectrumFold fold = MakeSpectrumFold();
    int last = -1;
    for (size_t r = 0; r < results.size(); ++r) {
      SpectrumBlocksPart part = Unpack(results[r]);
      std::string().swap(results[r]);
      if (part.refusedFile >= 0) refusing[r] = 1;
      if (status != static_cast<int>(CalcStatus::kDone)) continue;
      if (part.refusedFile >= 0) {
        host.MessageBox(part.message);
        status = static_cast<int>(CalcStatus::kRefused);
        continue;
      }
      ws.averaged += part.averaged;
      ws.skipped += part.skipped;
      for (std::string& note : part.notes) ws.notes.Add(std::move(note));
      last = std::max(last, part.lastAveraged);
      for (SpectrumFold::Node& node : part.nodes)
        fold.Push(node.level, node.index, std::move(node.value));
    }
    if (status == static_cast<int>(CalcStatus::kDone)) {
      ws.notes.Report(host);
      const SpectrumSums total = fold.Finish();
      if (ws.averaged == 0 || last < 0) {
        status = static_cast<int>(CalcStatus::kRefused);
      } else {
        progress.SetPos(count);
        status = static_cast<int>(FinishBlockedAverageFFT(
            ws, total, files[static_cast<size_t>(last)], windowIndex, folder, host));
      }
    }
  }
  status = BroadcastInt(status);
  stop.CollectPending(BroadcastInts(refusing));
  return static_cast<CalcStatus>(status);
}

}  // namespace plexo::distributed
