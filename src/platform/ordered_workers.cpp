#include "platform/ordered_workers.h"

#include <algorithm>
#include <system_error>

namespace plexo {

OrderedWorkers::OrderedWorkers(int threads, int ahead, Caller caller)
    : threads_(std::max(threads, 1)), ahead_(std::max(ahead, 0)), caller_role_(caller) {}

bool OrderedWorkers::Claimable() const {
  return !no_more_ && next_claim_ < count_ && (ahead_ == 0 || next_claim_ < consumed_ + ahead_);
}

void OrderedWorkers::ComputeGuarded(int item, int worker) {
  std::exception_ptr error;
  try {
    (*compute_)(item, worker);
  } catch (...) {
    error = std::current_exception();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  done_[static_cast<size_t>(item)] = 1;
  if (error) {
    // The loop would have thrown here: nothing after this item is started any more, and the
    // items before it (all started already) are still consumed.
    no_more_ = true;
    if (failed_item_ < 0 || item < failed_item_) {
      failed_item_ = item;
      failure_ = error;
    }
    room_.notify_all();
  }
}

void OrderedWorkers::Work(int worker) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    room_.wait(lock, [&] { return no_more_ || next_claim_ >= count_ || Claimable(); });
    if (!Claimable()) break;
    const int item = next_claim_++;
    lock.unlock();
    ComputeGuarded(item, worker);
    lock.lock();
    caller_wakes_.notify_one();
  }
  --running_;
  caller_wakes_.notify_one();
}

void OrderedWorkers::RunTasks(std::unique_lock<std::mutex>& lock) {
  while (!tasks_.empty()) {
    Task* task = tasks_.front();
    tasks_.pop_front();
    lock.unlock();
    try {
      (*task->task)();
    } catch (...) {
      task->error = std::current_exception();
    }
    lock.lock();
    task->done = true;
    task_done_.notify_all();
  }
}

void OrderedWorkers::WaitFor(std::unique_lock<std::mutex>& lock, int k) {
  while (!done_[static_cast<size_t>(k)]) {
    if (!tasks_.empty()) {
      RunTasks(lock);
    } else if (Claimable() && (caller_role_ == Caller::kComputes || running_ == 0)) {
      // Rather than sleep until a thread delivers item k, the calling thread takes the next
      // item itself: on a machine whose cores are all busy a woken thread costs more.
      const int item = next_claim_++;
      lock.unlock();
      ComputeGuarded(item, 0);
      lock.lock();
    } else {
      caller_wakes_.wait(lock);
    }
  }
}

bool OrderedWorkers::Run(int count, const Compute& compute, const Consume& consume) {
  if (count <= 0) return true;
  compute_ = &compute;
  caller_ = std::this_thread::get_id();
  count_ = count;
  next_claim_ = 0;
  consumed_ = 0;
  done_.assign(static_cast<size_t>(count), 0);
  no_more_ = false;
  failed_item_ = -1;
  failure_ = nullptr;

  std::vector<std::thread> threads;
  const int wanted = std::min(threads_, count);
  for (int worker = caller_role_ == Caller::kComputes ? 1 : 0; worker < wanted; ++worker) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++running_;
    }
    try {
      threads.emplace_back(&OrderedWorkers::Work, this, worker);
    } catch (const std::system_error&) {
      std::lock_guard<std::mutex> lock(mutex_);
      --running_;
      break;  // fewer threads: the calling thread takes up the rest
    }
  }

  bool completed = true;
  std::exception_ptr error;
  std::unique_lock<std::mutex> lock(mutex_);
  for (int k = 0; k < count; ++k) {
    WaitFor(lock, k);
    if (k == failed_item_) {
      error = failure_;
      break;
    }
    lock.unlock();
    bool go_on = false;
    try {
      go_on = consume(k);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    consumed_ = k + 1;
    if (ahead_ > 0) room_.notify_all();
    if (error || !go_on) {
      completed = false;
      break;
    }
  }
  if (error) completed = false;

  // The threads still computing may ask the calling thread for a task before they are done.
  no_more_ = true;
  room_.notify_all();
  while (running_ > 0) {
    if (!tasks_.empty()) {
      RunTasks(lock);
    } else {
      caller_wakes_.wait(lock);
    }
  }
  lock.unlock();
  for (std::thread& thread : threads) thread.join();
  compute_ = nullptr;
  if (error) std::rethrow_exception(error);
  return completed;
}

void OrderedWorkers::OnCallingThread(const std::function<void()>& task) {
  if (std::this_thread::get_id() == caller_) {
    task();
    return;
  }
  Task posted{&task, nullptr, false};
  std::unique_lock<std::mutex> lock(mutex_);
  tasks_.push_back(&posted);
  caller_wakes_.notify_one();
  task_done_.wait(lock, [&] { return posted.done; });
  lock.unlock();
  if (posted.error) std::rethrow_exception(posted.error);
}

bool RunInOrder(int count, int threads, const OrderedWorkers::Compute& compute,
                const OrderedWorkers::Consume& consume, int ahead) {
  OrderedWorkers workers(threads, ahead);
  return workers.Run(count, compute, consume);
}

}  // namespace plexo
