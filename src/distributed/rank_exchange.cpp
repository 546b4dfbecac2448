#include "distributed/rank_exchange.h"

#include <numeric>
#include <thread>

namespace plexo::distributed {
namespace {
// Often enough for a progress bar, rarely enough to cost nothing.
constexpr std::chrono::milliseconds kProgressInterval{200};
}  // namespace

RankProgress::RankProgress(const MpiSession& mpi, int divisor, CalcProgress& progress)
    : mpi_(mpi),
      divisor_(divisor > 0 ? divisor : 1),
      progress_(progress),
      done_(static_cast<size_t>(mpi.Size()), 0) {}

RankProgress::~RankProgress() { WaitIdle(request_); }

void RankProgress::FileDone() {
  ++done_[static_cast<size_t>(mpi_.Rank())];
  if (mpi_.IsRoot()) {
    for (;;) {
      int waiting = 0;
      MPI_Status status;
      MPI_Iprobe(MPI_ANY_SOURCE, kTagProgress, MPI_COMM_WORLD, &waiting, &status);
      if (waiting == 0) break;
      Receive(status.MPI_SOURCE);
    }
    Show();
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - last_sent_ < kProgressInterval) return;
  int finished = 0;
  MPI_Test(&request_, &finished, MPI_STATUS_IGNORE);
  if (finished == 0) return;
  in_flight_ = done_[static_cast<size_t>(mpi_.Rank())];
  MPI_Isend(&in_flight_, 1, MPI_INT, 0, kTagProgress, MPI_COMM_WORLD, &request_);
  last_sent_ = now;
}

void RankProgress::Receive(int source) {
  int count = 0;
  MPI_Recv(&count, 1, MPI_INT, source, kTagProgress, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  done_[static_cast<size_t>(source)] = count;
  Show();
}

void RankProgress::Show() {
  const int total = std::accumulate(done_.begin(), done_.end(), 0);
  const int position = total / divisor_;
  if (position == shown_) return;
  progress_.SetPos(position);
  progress_.DrainMessages();
  shown_ = position;
}

StopSignal::StopSignal(const MpiSession& mpi)
    : mpi_(mpi), from_(static_cast<size_t>(mpi.Size()), 0) {}

StopSignal::~StopSignal() {
  for (MPI_Request& request : sent_) WaitIdle(request);
}

bool StopSignal::Received() {
  if (received_) return true;
  int waiting = 0;
  MPI_Status status;
  MPI_Iprobe(MPI_ANY_SOURCE, kTagStop, MPI_COMM_WORLD, &waiting, &status);
  if (waiting == 0) return false;
  int index = 0;
  MPI_Recv(&index, 1, MPI_INT, status.MPI_SOURCE, kTagStop, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  from_[static_cast<size_t>(status.MPI_SOURCE)] = 1;
  received_ = true;
  return true;
}

void StopSignal::Send(int index) {
  index_ = index;
  for (int to = mpi_.Rank() + 1; to < mpi_.Size(); ++to) {
    sent_.emplace_back();
    MPI_Isend(&index_, 1, MPI_INT, to, kTagStop, MPI_COMM_WORLD, &sent_.back());
  }
}

void StopSignal::CollectPending(const std::vector<int>& refused) {
  for (int from = 0; from < mpi_.Rank() && from < static_cast<int>(refused.size()); ++from) {
    if (refused[static_cast<size_t>(from)] == 0 || from_[static_cast<size_t>(from)] != 0) continue;
    int index = 0;
    MPI_Request request;
    MPI_Irecv(&index, 1, MPI_INT, from, kTagStop, MPI_COMM_WORLD, &request);
    WaitIdle(request);
    from_[static_cast<size_t>(from)] = 1;
  }
}

std::vector<std::string> GatherResults(const MpiSession& mpi, const std::string& mine,
                                       RankProgress& progress) {
  if (!mpi.IsRoot()) {
    SendResult(mine);
    return {};
  }
  std::vector<std::string> results(static_cast<size_t>(mpi.Size()));
  results[0] = mine;
  // A rank's progress messages come before its result (messages between two ranks keep their
  // order), so none is left behind once every result is in.
  for (int missing = mpi.Size() - 1; missing > 0;) {
    MPI_Status status;
    int waiting = 0;
    MPI_Iprobe(MPI_ANY_SOURCE, MPI_ANY_TAG, MPI_COMM_WORLD, &waiting, &status);
    if (waiting == 0) {
      std::this_thread::sleep_for(kIdlePoll);
    } else if (status.MPI_TAG == kTagProgress) {
      progress.Receive(status.MPI_SOURCE);
    } else if (status.MPI_TAG == kTagResult) {
      results[static_cast<size_t>(status.MPI_SOURCE)] = ReceiveBytes(status.MPI_SOURCE, kTagResult);
      --missing;
    }
  }
  return results;
}

}  // namespace plexo::distributed
