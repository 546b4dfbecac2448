#include "distributed/mpi_session.h"

#include <mpi.h>

#include <chrono>
#include <climits>
#include <thread>

namespace plexo::distributed {

MpiSession::MpiSession(int& argc, char**& argv) {
  int provided = 0;
  MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided);
  MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
  MPI_Comm_size(MPI_COMM_WORLD, &size_);
}

MpiSession::~MpiSession() { MPI_Finalize(); }

void WaitIdle(MPI_Request& request) {
  for (;;) {
    int done = 0;
    MPI_Test(&request, &done, MPI_STATUS_IGNORE);
    if (done != 0) return;
    std::this_thread::sleep_for(kIdlePoll);
  }
}

namespace {
void Broadcast(void* data, int count, MPI_Datatype type) {
  MPI_Request request;
  MPI_Ibcast(data, count, type, 0, MPI_COMM_WORLD, &request);
  WaitIdle(request);
}
}  // namespace

int BroadcastInt(int value) {
  Broadcast(&value, 1, MPI_INT);
  return value;
}

std::vector<int> BroadcastInts(std::vector<int> values) {
  int count = BroadcastInt(static_cast<int>(values.size()));
  values.resize(static_cast<size_t>(count));
  if (count > 0) Broadcast(values.data(), count, MPI_INT);
  return values;
}

std::vector<std::string> BroadcastStrings(const std::vector<std::string>& values) {
  // One buffer of the texts, each ended by a zero byte (file names hold none). Sent in pieces
  // that an int counts, however long the list.
  std::string joined;
  for (const std::string& value : values) {
    joined += value;
    joined += '\0';
  }
  long long size = static_cast<long long>(joined.size());
  Broadcast(&size, 1, MPI_LONG_LONG);
  joined.resize(static_cast<size_t>(size));
  constexpr long long kPiece = INT_MAX / 2;
  for (long long at = 0; at < size; at += kPiece) {
    const int piece = static_cast<int>(size - at < kPiece ? size - at : kPiece);
    Broadcast(joined.data() + at, piece, MPI_CHAR);
  }
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i < joined.size(); ++i) {
    if (joined[i] != '\0') continue;
    out.emplace_back(joined, start, i - start);
    start = i + 1;
  }
  return out;
}

void SendResult(const std::string& bytes) {
  MPI_Request request;
  MPI_Isend(bytes.data(), static_cast<int>(bytes.size()), MPI_CHAR, 0, kTagResult, MPI_COMM_WORLD,
            &request);
  WaitIdle(request);
}

std::string ReceiveBytes(int source, int tag) {
  MPI_Status status;
  MPI_Probe(source, tag, MPI_COMM_WORLD, &status);
  int count = 0;
  MPI_Get_count(&status, MPI_CHAR, &count);
  std::string bytes(static_cast<size_t>(count), '\0');
  MPI_Recv(bytes.data(), count, MPI_CHAR, source, tag, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  return bytes;
}

}  // namespace plexo::distributed
