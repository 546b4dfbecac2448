#include "distributed/distributed_features.h"

#include "distributed/byte_buffer.h"
#include "distributed/run_on_ranks.h"
#include "platform/contiguous_split.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

namespace plexo::distributed {
namespace {

std::string Pack(const FeatureRows& rows) {
  ByteWriter out;
  out.Int(rows.done);
  out.Text(rows.text);
  out.Int(rows.doubtful);
  out.Texts(rows.skipped);
  out.Texts(rows.rejected);
  out.Texts(rows.unlisted);
  out.Texts(rows.mismatched);
  return std::move(out.Bytes());
}

FeatureRows Unpack(const std::string& bytes) {
  ByteReader in(bytes);
  FeatureRows rows;
  rows.done = static_cast<int>(in.Int());
  rows.text = in.Text();
  rows.doubtful = static_cast<int>(in.Int());
  rows.skipped = in.Texts();
  rows.rejected = in.Texts();
  rows.unlisted = in.Texts();
  rows.mismatched = in.Texts();
  return rows;
}

}  // namespace

CalcStatus ExtractFeaturesOnRanks(const MpiSession& mpi, FeatureWorkspace& ws,
                                  const FeatureRequest& request, CalcProgress& progress,
                                  Host& host) {
  ClearRunNotes(ws);
  std::string table;
  RankRun run;
  // Rank 0 lists the input; the other ranks read the same folder or database through a source
  // of their own (the list they get names the files, or the records by their labels).
  std::unique_ptr<WaveformSource> source;
  std::string unusable;  // why this rank could not open the database rank 0 listed
  run.list = [&](std::vector<std::string>& files) {
    if (std::string refusal = FeatureInputRefusal(request, source); !refusal.empty()) {
      host.MessageBox(refusal);
      return CalcStatus::kRefused;
    }
    files.clear();
    for (const WaveformInput& input : source->Inputs()) files.push_back(input.label);
    MakeDirectory(FeatureResultsFolder(request.folder));  // a failure shows when writing
    return CalcStatus::kDone;
  };
  int count = 0;
  int divisor = 1;
  run.listed = [&](const std::vector<std::string>& files) {
    count = static_cast<int>(files.size());
    if (source == nullptr) source = ReopenWaveformSource(request.folder, files, unusable);
    divisor = request.progressPerFile ? 1 : FeatureProgressDivisor(count);
    if (mpi.IsRoot()) {
      progress.SetRange(0, count / divisor);
      progress.SetPos(0);
    }
    return divisor;
  };
  run.compute = [&](const std::vector<std::string>& /*files*/,
                    const std::function<bool(int)>& after) {
    const ItemRange mine = ContiguousPart(count, mpi.Size(), mpi.Rank());
    RankShare share;
    if (source == nullptr) {
      share.refusedFile = mine.begin;
      share.message = unusable;
      return share;
    }
    FeatureRows rows = ComputeFeatureRows(ws, request, *source, mine.begin, mine.end, after);
    share.refusedFile = rows.refusedFile;
    share.message = std::move(rows.message);
    if (rows.refusedFile < 0) share.packed = Pack(rows);
    return share;
  };
  run.join = [&](const std::string& packed) {
    FeatureRows rows = Unpack(packed);
    table += rows.text;
    AddRunNotes(ws, rows);
  };
  run.finish = [&] {
    progress.SetPos(count / divisor);
    return WriteFeatureTable(request, table, host);
  };
  const CalcStatus status = RunOnRanks(mpi, run, progress, host);
  if (status == CalcStatus::kRefused) {
    // A refused run leaves nothing counted, as one process does.
    ClearRunNotes(ws);
  }
  return status;
}

}  // namespace plexo::distributed
