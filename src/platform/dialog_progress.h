#pragma once
// The progress a dialog hands the run it starts: the dialog's bar control shows the range and
// the position, and the dialog's stop flag (set by its Stop/Abort button or by closing it, read
// from the run's thread) answers StopRequested.
#include <atomic>

#include "platform/controls.h"
#include "platform/host.h"

namespace plexo {

class DialogProgress : public CalcProgress {
 public:
  DialogProgress(Controls& controls, ControlId bar, const std::atomic<int>& stopFlag)
      : controls_(controls), bar_(bar), stopFlag_(stopFlag) {}
  void SetRange(int low, int high) override { controls_.SetProgressRange(bar_, low, high); }
  void SetPos(int pos) override { controls_.SetProgressPos(bar_, pos); }
  void DrainMessages() override {}
  bool StopRequested() const override { return stopFlag_.load() != 0; }

 private:
  Controls& controls_;
  ControlId bar_;
  const std::atomic<int>& stopFlag_;
};

}  // namespace plexo
