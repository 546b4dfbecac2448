#pragma once
// The choreography every run shared out over the ranks follows, written once: rank 0 checks
// and lists the input, every rank computes its share while rank 0 shows the progress of all,
// a rank that refuses a file stops the later ranks, and rank 0 joins the shares in rank order
// and writes the result. A driver hands over what is its own: the listing, its share of the
// work, the packing of a share, the joining and the writing.
#include <functional>
#include <string>
#include <vector>

#include "distributed/mpi_session.h"
#include "platform/host.h"

namespace plexo::distributed {

// What one rank hands to rank 0.
struct RankShare {
  int refusedFile = -1;  // the file of the list that refuses the run there (-1: none)
  std::string message;   // its message, as the one-process run shows it
  std::string packed;    // the driver's result of the share (ByteWriter)
};

struct RankRun {
  // Rank 0, before any file is read: lists the input into `files`, or shows why not (through
  // its host) and returns the status that ends the run on every rank (anything but kDone).
  std::function<CalcStatus(std::vector<std::string>& files)> list;
  // Every rank, once the list is known: readies the share and returns how many files make one
  // step of rank 0's progress (whose range rank 0 sets here).
  std::function<int(const std::vector<std::string>& files)> listed;
  // Every rank: computes its share of `files`, calling after(file) after each file, in order;
  // false from after (an earlier rank refused a file) stops the share.
  std::function<RankShare(const std::vector<std::string>& files,
                          const std::function<bool(int file)>& after)>
      compute;
  // Rank 0, in rank order: joins a share (packed) for every rank before the first that refused.
  std::function<void(const std::string& packed)> join;
  // Rank 0, when no rank refused: what the joined shares give (writes the result).
  std::function<CalcStatus()> finish;
};

// Runs `run` on every rank of the launch; every rank returns rank 0's status. A share that
// refuses a file makes rank 0 show its message (the first refusing rank's: the ranks hold
// consecutive runs of the list, so that is the first refused file of the list) and return
// kRefused, with nothing written.
CalcStatus RunOnRanks(const MpiSession& mpi, const RankRun& run, CalcProgress& progress,
                      Host& host);

}  // namespace plexo::distributed
