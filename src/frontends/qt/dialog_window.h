#pragma once
// What every desktop dialog is: the widgets of its control table, a worker thread for the run
// it starts, a host for its messages (the desktop's own unless a test passes a recording one)
// and the toolkit-free logic that drives them. A dialog class adds only how its logic is made
// and wired to the widgets' events.
#include "frontends/qt/dialog_view.h"
#include "frontends/qt/qt_host.h"
#include "frontends/qt/worker_runner.h"

namespace plexo::qt {

template <class DialogLogic>
class DialogWindow {
 public:
  DialogView& View() { return view_; }
  DialogLogic& Logic() { return logic_; }

 protected:
  // make(controls, host, runner) returns the logic (made in place: the logic is not movable).
  template <class MakeLogic>
  DialogWindow(const DialogTemplate& controls, QWidget* parent, Host* host, MakeLogic make)
      : view_(controls, parent),
        runner_(&view_),
        logic_(make(view_, host != nullptr ? *host : qtHost_, runner_)) {}

  QtHost qtHost_;
  DialogView view_;
  WorkerRunner runner_;
  DialogLogic logic_;
};

}  // namespace plexo::qt
