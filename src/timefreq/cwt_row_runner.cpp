#include "timefreq/cwt_row_runner.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace plexo {

int CwtJobCount(int requested) {
  if (requested > 0) return requested;
  return std::max(1u, std::thread::hardware_concurrency());
}

bool RunRowsInOrder(int rows, int jobs, const std::function<void(int row, int worker)>& compute,
                    const std::function<bool(int row)>& after) {
  if (rows <= 0) return true;
  jobs = std::clamp(jobs, 1, rows);

  std::atomic<int> next{0};
  std::atomic<bool> abandon{false};
  std::mutex mutex;
  std::condition_variable row_done;
  std::vector<char> done(rows, 0);

  // Claims the next unstarted row and computes it; false when none is left.
  const auto run_next = [&](int worker) {
    const int row = next.fetch_add(1);
    if (row >= rows) return false;
    compute(row, worker);
    {
      std::lock_guard<std::mutex> lock(mutex);
      done[row] = 1;
    }
    row_done.notify_all();
    return true;
  };

  std::vector<std::thread> threads;
  for (int worker = 1; worker < jobs; ++worker) {
    try {
      threads.emplace_back([&, worker] {
        while (!abandon.load() && run_next(worker)) {
        }
      });
    } catch (const std::system_error&) {
      break;  // fewer threads: the calling thread takes up the remaining rows
    }
  }

  bool completed = true;
  for (int row = 0; row < rows && completed; ++row) {
    for (;;) {
      {
        std::unique_lock<std::mutex> lock(mutex);
        if (done[row]) break;
        if (next.load() >= rows) {
          row_done.wait(lock, [&] { return done[row] != 0; });
          break;
        }
      }
      run_next(0);
    }
    completed = after(row);
  }

  abandon.store(true);
  for (auto& thread : threads) thread.join();
  return completed;
}

}  // namespace plexo
