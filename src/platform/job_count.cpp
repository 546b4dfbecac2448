#include "platform/job_count.h"

#include <thread>

namespace plexo {

int CoreCount() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 0 ? static_cast<int>(cores) : 1;
}

int JobCount(int requested) { return requested > 0 ? requested : CoreCount(); }

}  // namespace plexo
