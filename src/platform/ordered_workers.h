#pragma once
// "Compute in parallel, consume in order": items 0 .. count-1 (files of a batch, rows of a map)
// are computed on several threads and handed to the calling thread one by one in item order, so
// that whatever joins them (a table, running sums, progress, messages) sees exactly what a plain
// loop would see, on any thread count.
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace plexo {

class OrderedWorkers {
 public:
  // compute(item, worker) may run on any of the threads and concurrently with other items;
  // worker (0 .. threads-1, 0 being the calling thread) names the thread, for per-thread
  // scratch. consume(item) runs on the calling thread, in item order, each once its item is
  // computed; false stops the run.
  using Compute = std::function<void(int item, int worker)>;
  using Consume = std::function<bool(int item)>;

  // What the calling thread does besides consuming.
  enum class Caller {
    kComputes,  // it is one of the `threads` and computes items while it waits (worker 0)
    kServes,    // it only consumes and runs OnCallingThread tasks at once, for computations that
                // hand it work often (windows to show); `threads` more compute (0 .. threads-1)
  };

  // `threads` computing in all (below 1: one). `ahead` > 0 bounds the items computed but not
  // yet consumed (item j starts only once items below j - ahead + 1 are consumed), for callers
  // that keep each item in one of `ahead` slots (slot j % ahead); 0: no bound.
  explicit OrderedWorkers(int threads, int ahead = 0, Caller caller = Caller::kComputes);
  OrderedWorkers(const OrderedWorkers&) = delete;
  OrderedWorkers& operator=(const OrderedWorkers&) = delete;

  // Runs the items as a plain loop `for item: compute(item); if (!consume(item)) break;` would,
  // and returns false when consume stopped it. The threads are started here (as many as the
  // system gives; when none, the calling thread computes everything) and joined before the
  // return; with Caller::kComputes the calling thread computes items itself whenever the one it
  // waits for is not ready.
  // After a stop, or an exception, no further item is started and the items in progress are
  // waited for. An exception thrown by compute reaches the caller where the loop would have
  // thrown it: after the items before it were consumed. One thrown by consume ends the run.
  bool Run(int count, const Compute& compute, const Consume& consume);

  // From inside compute: runs `task` on the calling thread of Run and returns once it has run
  // (at once when compute runs there itself), for what only that thread may do (show a window).
  // An exception of the task is thrown here.
  void OnCallingThread(const std::function<void()>& task);

 private:
  struct Task {
    const std::function<void()>* task;
    std::exception_ptr error;
    bool done = false;
  };

  bool Claimable() const;
  void ComputeGuarded(int item, int worker);
  void Work(int worker);
  // The calling thread's wait for item `k` (the lock held), computing or serving meanwhile.
  void WaitFor(std::unique_lock<std::mutex>& lock, int k);
  void RunTasks(std::unique_lock<std::mutex>& lock);

  const int threads_;
  const int ahead_;
  const Caller caller_role_;
  const Compute* compute_ = nullptr;
  std::thread::id caller_;

  std::mutex mutex_;
  std::condition_variable caller_wakes_;  // an item done, a task posted, a thread gone
  std::condition_variable room_;          // an item consumed, or the run ends
  std::condition_variable task_done_;
  int count_ = 0;
  int next_claim_ = 0;
  int consumed_ = 0;
  std::vector<char> done_;
  bool no_more_ = false;  // stop, exception or end: nothing more is started
  int failed_item_ = -1;  // the lowest item whose compute threw
  std::exception_ptr failure_;
  std::deque<Task*> tasks_;
  int running_ = 0;  // threads started and not yet gone
};

// OrderedWorkers(threads, ahead).Run(count, compute, consume).
bool RunInOrder(int count, int threads, const OrderedWorkers::Compute& compute,
                const OrderedWorkers::Consume& consume, int ahead = 0);

}  // namespace plexo
