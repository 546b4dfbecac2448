#pragma once
// What the ranks tell each other while they work: files done (for rank 0's progress bar), a
// refused file (so that later ranks stop: their rows would be thrown away), and at the end each
// rank's packed result, gathered on rank 0.
#include <mpi.h>

#include <chrono>
#include <string>
#include <vector>

#include "distributed/mpi_session.h"
#include "platform/host.h"

namespace plexo::distributed {

// Counts files done on every rank. Ranks other than 0 send their count to rank 0 now and then
// (never more than one message in flight); rank 0 adds them up and moves its progress to
// trunc(total/divisor).
class RankProgress {
 public:
  RankProgress(const MpiSession& mpi, int divisor, CalcProgress& progress);
  ~RankProgress();  // waits for a message still in flight
  RankProgress(const RankProgress&) = delete;
  RankProgress& operator=(const RankProgress&) = delete;

  // One more file done on this rank (call on every rank, after each file).
  void FileDone();
  // Rank 0: takes the count in the progress message that MPI_Probe found from `source`.
  void Receive(int source);

 private:
  void Show();
  const MpiSession& mpi_;
  const int divisor_;
  CalcProgress& progress_;
  std::vector<int> done_;  // per rank (rank 0 knows them all, the others only their own)
  int shown_ = 0;
  int in_flight_ = 0;  // the count being sent
  MPI_Request request_ = MPI_REQUEST_NULL;
  std::chrono::steady_clock::time_point last_sent_{};
};

// The stop of a refused file: the rank that refuses tells every later rank, whose files come
// after it in the list and can no longer reach the table.
class StopSignal {
 public:
  explicit StopSignal(const MpiSession& mpi);
  ~StopSignal();  // waits for the stops it sent
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // True once an earlier rank has sent its stop.
  bool Received();
  // This rank refused file `index`: every later rank stops.
  void Send(int index);
  // After the results are known: receives the stops still on their way here from the ranks
  // that refused (refused[r] != 0), so that none is left unmatched at the end.
  void CollectPending(const std::vector<int>& refused);

 private:
  const MpiSession& mpi_;
  std::vector<char> from_;  // per rank: its stop received
  bool received_ = false;
  int index_ = 0;
  std::vector<MPI_Request> sent_;
};

// Rank 0: every rank's result, its own being `mine`, while it keeps taking progress messages.
// The other ranks send `mine` and get an empty list.
std::vector<std::string> GatherResults(const MpiSession& mpi, const std::string& mine,
                                       RankProgress& progress);

}  // namespace plexo::distributed
