#pragma once
// What every binding does around a calculation: the GIL is released while it runs, a Ctrl+C
// is looked for between files (the GIL taken back for that moment only), and the messages
// the calculation gave become the exception.
#include <pybind11/pybind11.h>

#include <chrono>
#include <string>

#include "platform/host.h"
#include "platform/recording_host.h"

namespace plexo::python {

// The progress of a calculation run with the GIL released: a stop is asked for when Python has
// a signal to raise (KeyboardInterrupt for Ctrl+C), checked with the GIL held for the moment
// of the test. The raised exception stays pending for Raise().
class InterruptibleProgress : public CalcProgress {
 public:
  // Made with the GIL held. Only Python's main thread runs signal handlers: a calculation
  // started from another thread never needs the GIL back.
  InterruptibleProgress()
      : mainThread_(PyThread_get_thread_ident() == pybind11::module_::import("threading")
                                                       .attr("main_thread")()
                                                       .attr("ident")
                                                       .cast<unsigned long>()) {}

  void SetRange(int, int) override {}
  void SetPos(int) override {}
  void DrainMessages() override {}
  // Looks at most every 20 ms, so that a batch of small files does not wait for the GIL on
  // every file while other Python threads run.
  bool StopRequested() const override {
    if (interrupted_ || !mainThread_) return interrupted_;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastCheck_ < std::chrono::milliseconds(20)) return false;
    lastCheck_ = now;
    pybind11::gil_scoped_acquire gil;
    if (PyErr_CheckSignals() != 0) interrupted_ = true;
    return interrupted_;
  }
  // Raises the pending exception when the run was interrupted (GIL held again).
  void RaiseIfInterrupted() const {
    if (interrupted_) throw pybind11::error_already_set();
  }

 private:
  bool mainThread_;
  mutable bool interrupted_ = false;
  mutable std::chrono::steady_clock::time_point lastCheck_{};
};

// The calculation's messages joined by line ends (or `fallback` when it gave none), as the
// ValueError of a refused run.
[[noreturn]] inline void RaiseMessages(const RecordingHost& host, const std::string& fallback) {
  std::string text;
  for (const std::string& message : host.messages) text += (text.empty() ? "" : "\n") + message;
  throw pybind11::value_error(text.empty() ? fallback : text);
}

}  // namespace plexo::python
