#pragma once
// How a dialog starts a calculation: the desktop runs it on a worker thread, tests and the
// command line run it at once. Either way `done` runs on the dialog's own thread afterwards.
#include <functional>

#include "platform/host.h"

namespace plexo {

class CalcRunner {
 public:
  using Job = std::function<CalcStatus()>;
  using Done = std::function<void(CalcStatus)>;

  virtual ~CalcRunner() = default;
  virtual void Start(Job job, Done done) = 0;
};

// Runs the job in the caller's thread before returning.
class InlineRunner : public CalcRunner {
 public:
  void Start(Job job, Done done) override { done(job()); }
};

}  // namespace plexo
