#include "distributed/run_on_ranks.h"

#include "distributed/byte_buffer.h"
#include "distributed/rank_exchange.h"

namespace plexo::distributed {
namespace {

std::string Pack(const RankShare& share) {
  ByteWriter out;
  out.Int(share.refusedFile);
  out.Text(share.message);
  out.Text(share.packed);
  return std::move(out.Bytes());
}

RankShare Unpack(const std::string& bytes) {
  ByteReader in(bytes);
  RankShare share;
  share.refusedFile = static_cast<int>(in.Int());
  share.message = in.Text();
  share.packed = in.Text();
  return share;
}

}  // namespace

CalcStatus RunOnRanks(const MpiSession& mpi, const RankRun& run, CalcProgress& progress,
                      Host& host) {
  std::vector<std::string> files;
  int listed = static_cast<int>(CalcStatus::kDone);
  if (mpi.IsRoot()) listed = static_cast<int>(run.list(files));
  if (const int status = BroadcastInt(listed); status != static_cast<int>(CalcStatus::kDone))
    return static_cast<CalcStatus>(status);
  files = BroadcastStrings(files);
  const int divisor = run.listed(files);

  std::vector<std::string> results;
  std::vector<int> refusing(static_cast<size_t>(mpi.Size()), 0);
  int status = static_cast<int>(CalcStatus::kDone);
  StopSignal stop(mpi);
  {
    RankProgress tracker(mpi, divisor, progress);
    const RankShare share = run.compute(files, [&](int /*file*/) {
      tracker.FileDone();
      return !stop.Received();
    });
    if (share.refusedFile >= 0) stop.Send(share.refusedFile);
    results = GatherResults(mpi, Pack(share), tracker);
  }

  if (mpi.IsRoot()) {
    // Ranks hold consecutive runs of the list: the first rank that refused holds the first
    // refused file, and every rank before it is complete.
    for (size_t r = 0; r < results.size(); ++r) {
      const RankShare share = Unpack(results[r]);
      std::string().swap(results[r]);
      if (share.refusedFile >= 0) refusing[r] = 1;
      if (status != static_cast<int>(CalcStatus::kDone)) continue;
      if (share.refusedFile >= 0) {
        host.MessageBox(share.message);
        status = static_cast<int>(CalcStatus::kRefused);
        continue;
      }
      run.join(share.packed);
    }
    if (status == static_cast<int>(CalcStatus::kDone)) status = static_cast<int>(run.finish());
  }
  status = BroadcastInt(status);
  stop.CollectPending(BroadcastInts(refusing));
  return static_cast<CalcStatus>(status);
}

}  // namespace plexo::distributed
