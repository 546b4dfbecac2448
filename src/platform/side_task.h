#pragma once
// A piece of work run on a thread of its own while the caller does another, for the two halves
// of a run's end that share nothing but read-only inputs (a table and a preview of the same
// matrix). When no thread can be started the work runs on the caller's thread instead.
#include <functional>
#include <system_error>
#include <thread>

namespace plexo {

class SideTask {
 public:
  explicit SideTask(std::function<bool()> work) : work_(std::move(work)) {
    try {
      thread_ = std::thread([this] { result_ = work_(); });
    } catch (const std::system_error&) {
      result_ = work_();
    }
  }
  ~SideTask() { Join(); }
  SideTask(const SideTask&) = delete;
  SideTask& operator=(const SideTask&) = delete;

  // Waits for the work and returns what it returned.
  bool Join() {
    if (thread_.joinable()) thread_.join();
    return result_;
  }

 private:
  std::function<bool()> work_;
  std::thread thread_;
  bool result_ = false;
};

}  // namespace plexo
