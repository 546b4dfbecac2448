#include "platform/ordered_workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace plexo {
namespace {

// Items whose work is uneven (later items mostly quicker), so that they finish out of order.
void UnevenWork(int item) {
  std::this_thread::sleep_for(std::chrono::microseconds(((item * 7919) % 13) * 150));
}

class OrderedWorkersOnThreads : public ::testing::TestWithParam<int> {};

TEST_P(OrderedWorkersOnThreads, ConsumeEveryItemOnceInOrderOnTheCallingThread) {
  const int threads = GetParam();
  const int count = 60;
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<int> computed(count, 0);
  std::vector<int> consumed;
  std::set<int> workers;
  std::mutex workers_mutex;
  bool off_thread = false;
  const bool completed = RunInOrder(
      count, threads,
      [&](int item, int worker) {
        UnevenWork(item);
        ++computed[item];
        std::lock_guard<std::mutex> lock(workers_mutex);
        workers.insert(worker);
      },
      [&](int item) {
        if (std::this_thread::get_id() != caller) off_thread = true;
        // The item is complete when it is consumed.
        EXPECT_EQ(computed[item], 1) << item;
        consumed.push_back(item);
        return true;
      });
  EXPECT_TRUE(completed);
  std::vector<int> expected(count);
  for (int i = 0; i < count; ++i) expected[i] = i;
  EXPECT_EQ(consumed, expected);
  EXPECT_EQ(computed, std::vector<int>(count, 1));
  EXPECT_FALSE(off_thread);
  EXPECT_GE(*workers.begin(), 0);
  EXPECT_LT(*workers.rbegin(), std::max(threads, 1)) << "worker names 0 .. threads-1";
  if (threads <= 1) {
    EXPECT_EQ(workers, std::set<int>{0});
  }
}

// A stop from consume: nothing after it is consumed, no item beyond the look-ahead is started,
// and the call returns only when every item in progress is done.
TEST_P(OrderedWorkersOnThreads, StopEndsTheRunAfterTheItemsInProgress) {
  const int threads = GetParam();
  std::atomic<int> running{0};
  std::atomic<int> started{0};
  std::vector<int> consumed;
  const bool completed = RunInOrder(
      200, threads,
      [&](int item, int) {
        ++started;
        ++running;
        UnevenWork(item);
        --running;
      },
      [&](int item) {
        consumed.push_back(item);
        return item < 9;
      },
      /*ahead=*/4);
  EXPECT_FALSE(completed);
  EXPECT_EQ(consumed.size(), 10u);
  EXPECT_EQ(consumed.back(), 9);
  EXPECT_EQ(running.load(), 0);
  EXPECT_LE(started.load(), 10 + 4);
}

// An exception in one item's computation reaches the caller as a plain loop would throw it:
// the items before it consumed, none after it.
TEST_P(OrderedWorkersOnThreads, ExceptionOfAnItemComesAfterTheItemsBeforeIt) {
  const int threads = GetParam();
  std::vector<int> consumed;
  std::atomic<int> running{0};
  EXPECT_THROW(RunInOrder(
                   50, threads,
                   [&](int item, int) {
                     ++running;
                     UnevenWork(item);
                     --running;
                     if (item == 17 || item == 30) throw std::runtime_error("item");
                   },
                   [&](int item) {
                     consumed.push_back(item);
                     return true;
                   }),
               std::runtime_error);
  ASSERT_EQ(consumed.size(), 17u);
  EXPECT_EQ(consumed.back(), 16);
  EXPECT_EQ(running.load(), 0);
}

TEST_P(OrderedWorkersOnThreads, ExceptionOfConsumeEndsTheRun) {
  std::atomic<int> running{0};
  EXPECT_THROW(RunInOrder(
                   40, GetParam(),
                   [&](int item, int) {
                     ++running;
                     UnevenWork(item);
                     --running;
                   },
                   [&](int item) {
                     if (item == 5) throw std::logic_error("consume");
                     return true;
                   }),
               std::logic_error);
  EXPECT_EQ(running.load(), 0);
}

// With `ahead` slots an item is computed only once the item ahead slots before it is consumed:
// slot item % ahead is never written while it still holds an item not consumed.
TEST_P(OrderedWorkersOnThreads, BoundedLookAheadNeverOverwritesASlotInUse) {
  const int threads = GetParam();
  const int ahead = 3;
  std::vector<int> slot(ahead, -1);
  std::vector<std::atomic<int>> busy(ahead);
  std::vector<int> seen;
  std::atomic<bool> clash{false};
  RunInOrder(
      80, threads,
      [&](int item, int) {
        if (busy[item % ahead].exchange(1) != 0) clash = true;
        UnevenWork(item);
        slot[item % ahead] = item;
      },
      [&](int item) {
        seen.push_back(slot[item % ahead]);
        busy[item % ahead] = 0;
        return true;
      },
      ahead);
  EXPECT_FALSE(clash.load());
  for (int i = 0; i < 80; ++i) ASSERT_EQ(seen[i], i);
}

// What only the calling thread may do (show a window) runs there, one task at a time, while
// the other threads wait for it.
TEST_P(OrderedWorkersOnThreads, TasksRunOnTheCallingThreadOneAtATime) {
  const std::thread::id caller = std::this_thread::get_id();
  OrderedWorkers workers(GetParam());
  std::atomic<bool> inside{false};
  bool overlapped = false;
  bool off_thread = false;
  int tasks = 0;
  workers.Run(
      30,
      [&](int item, int) {
        UnevenWork(item);
        workers.OnCallingThread([&] {
          if (inside.exchange(true)) overlapped = true;
          if (std::this_thread::get_id() != caller) off_thread = true;
          ++tasks;
          inside = false;
        });
      },
      [](int) { return true; });
  EXPECT_EQ(tasks, 30);
  EXPECT_FALSE(overlapped);
  EXPECT_FALSE(off_thread);
}

// A calling thread that serves computes nothing itself while threads can be had, and the
// threads are named 0 .. threads-1; the items still come in order.
TEST_P(OrderedWorkersOnThreads, AServingCallerLeavesTheItemsToTheThreads) {
  const int threads = std::max(GetParam(), 1);
  const std::thread::id caller = std::this_thread::get_id();
  OrderedWorkers workers(threads, 0, OrderedWorkers::Caller::kServes);
  std::mutex mutex;
  std::set<int> names;
  bool on_caller = false;
  int tasks = 0;
  std::vector<int> consumed;
  workers.Run(
      25,
      [&](int item, int worker) {
        UnevenWork(item);
        workers.OnCallingThread([&] { ++tasks; });
        std::lock_guard<std::mutex> lock(mutex);
        names.insert(worker);
        if (std::this_thread::get_id() == caller) on_caller = true;
      },
      [&](int item) {
        consumed.push_back(item);
        return true;
      });
  EXPECT_FALSE(on_caller);
  EXPECT_EQ(tasks, 25);
  EXPECT_GE(*names.begin(), 0);
  EXPECT_LT(*names.rbegin(), threads);
  ASSERT_EQ(consumed.size(), 25u);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(consumed[i], i);
}

INSTANTIATE_TEST_SUITE_P(Threads, OrderedWorkersOnThreads, ::testing::Values(1, 2, 4, 9, 0));

TEST(OrderedWorkers, NoItemsIsACompletedRun) {
  bool called = false;
  EXPECT_TRUE(RunInOrder(
      0, 4, [&](int, int) { called = true; }, [&](int) { return called = true; }));
  EXPECT_FALSE(called);
}

}  // namespace
}  // namespace plexo
