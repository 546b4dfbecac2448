#pragma once
// The MPI side of a run shared out over the ranks of one launch (mpirun, srun): start and end
// of MPI, and the few exchanges the runs need. Every call is made on the thread that started
// MPI; the calculations' own threads never touch it.
#include <mpi.h>

#include <chrono>
#include <string>
#include <vector>

namespace plexo::distributed {

// Message kinds between the ranks.
enum Tag : int {
  kTagProgress = 1,  // a rank's count of files done, to rank 0
  kTagResult = 2,    // a rank's packed result, to rank 0
  kTagStop = 3,      // a refused file's index, to every later rank
};

class MpiSession {
 public:
  MpiSession(int& argc, char**& argv);  // MPI_Init_thread (funneled)
  ~MpiSession();                        // MPI_Finalize
  MpiSession(const MpiSession&) = delete;
  MpiSession& operator=(const MpiSession&) = delete;

  int Rank() const { return rank_; }
  int Size() const { return size_; }
  bool IsRoot() const { return rank_ == 0; }

 private:
  int rank_ = 0;
  int size_ = 1;
};

// A rank that waits for others sleeps between looks instead of spinning as MPI's blocking calls
// do: with more ranks than cores, or beside other work, a spinning rank takes the core that a
// working one needs.
inline constexpr std::chrono::microseconds kIdlePoll{500};
void WaitIdle(MPI_Request& request);

// Rank 0's value on every rank.
int BroadcastInt(int value);
std::vector<int> BroadcastInts(std::vector<int> values);
std::vector<std::string> BroadcastStrings(const std::vector<std::string>& values);

// Sends `bytes` to rank 0 tagged as a result (ranks other than 0).
void SendResult(const std::string& bytes);
// Receives the byte size of a message that MPI_Probe found (source, tag) into a string.
std::string ReceiveBytes(int source, int tag);

}  // namespace plexo::distributed
