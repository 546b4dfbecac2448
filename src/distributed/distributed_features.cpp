#include "distributed/distributed_features.h"

#include "distributed/byte_buffer.h"
#include "distributed/rank_exchange.h"
#include "platform/contiguous_split.h"
#include "platform/file_system.h"

namespace plexo::distributed {
namespace {

std::string Pack(const FeatureRows& rows) {
  ByteWriter out;
  out.Int(rows.refusedFile);
  out.Int(rows.done);
  out.Text(rows.refusedFile >= 0 ? rows.message : rows.text);
  out.Int(rows.doubtful);
  out.Int(static_cast<int>(rows.skipped.size()));
  for (const std::string& note : rows.skipped) out.Text(note);
  return std::move(out.Bytes());
}

FeatureRows Unpack(const std::string& bytes) {
  ByteReader in(bytes);
  FeatureRows rows;
  rows.refusedFile = static_cast<int>(in.Int());
  rows.done = static_cast<int>(in.Int());
  (rows.refusedFile >= 0 ? rows.message : rows.text) = in.Text();
  rows.doubtful = static_cast<int>(in.Int());
  rows.skipped.resize(static_cast<size_t>(in.Int()));
  for (std::string& note : rows.skipped) note = in.Text();
  return rows;
}

}  // namespace

CalcStatus ExtractFeaturesOnRanks(const MpiSession& mpi, FeatureWorkspace& ws,
                                  const FeatureRequest& request, CalcProgress& progress,
                                  Host& host) {
  ws.processed = 0;
  ws.skipped.Clear();
  ws.doubtful = 0;
  std::vector<std::string> files;
  int refused = 0;
  if (mpi.IsRoot()) {
    if (std::string refusal = FeatureFolderRefusal(request, files); !refusal.empty()) {
      host.MessageBox(refusal);
      refused = 1;
    } else {
      MakeDirectory(FeatureResultsFolder(request.folder));  // a failure shows when writing
    }
  }
  if (BroadcastInt(refused) != 0) return CalcStatus::kRefused;
  files = BroadcastStrings(files);

  const int count = static_cast<int>(files.size());
  const int divisor = request.progressPerFile ? 1 : FeatureProgressDivisor(count);
  if (mpi.IsRoot()) {
    progress.SetRange(0, count / divisor);
    progress.SetPos(0);
  }
  const ItemRange mine = ContiguousPart(count, mpi.Size(), mpi.Rank());
  std::vector<std::string> results;
  std::vector<int> refusing(static_cast<size_t>(mpi.Size()), 0);
  int status = static_cast<int>(CalcStatus::kDone);
  StopSignal stop(mpi);
  {
    RankProgress tracker(mpi, divisor, progress);
    FeatureRows rows =
        ComputeFeatureRows(ws, request, files, mine.begin, mine.end, [&](int /*file*/) {
          tracker.FileDone();
          return !stop.Received();
        });
    if (rows.refusedFile >= 0) stop.Send(rows.refusedFile);
    results = GatherResults(mpi, Pack(rows), tracker);
  }

  if (mpi.IsRoot()) {
    // The ranks hold consecutive runs of the list: the first one that refused a file holds the
    // first refused file, and every rank before it is complete.
    std::string table;  // the data lines; WriteFeatureTable puts the header before them
    int processed = 0;
    int doubtful = 0;
    std::vector<std::string> skipped;
    for (size_t r = 0; r < results.size(); ++r) {
      FeatureRows rows = Unpack(results[r]);
      if (rows.refusedFile >= 0) refusing[r] = 1;
      if (status != static_cast<int>(CalcStatus::kDone)) continue;
      if (rows.refusedFile >= 0) {
        host.MessageBox(rows.message);
        status = static_cast<int>(CalcStatus::kRefused);
        continue;
      }
      table += rows.text;
      processed += rows.done;
      doubtful += rows.doubtful;
      for (std::string& note : rows.skipped) skipped.push_back(std::move(note));
    }
    if (status == static_cast<int>(CalcStatus::kDone)) {
      progress.SetPos(count / divisor);
      ws.processed = processed;
      ws.doubtful = doubtful;
      for (std::string& note : skipped) ws.skipped.Add(std::move(note));
      status = static_cast<int>(WriteFeatureTable(request, table, host));
    }
  }
  status = BroadcastInt(status);
  stop.CollectPending(BroadcastInts(refusing));
  return static_cast<CalcStatus>(status);
}

}  // namespace plexo::distributed
