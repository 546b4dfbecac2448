#pragma once
// Runs a dialog's calculation on a worker thread, so that the dialog stays responsive; the
// dialog hears of the end on the GUI thread.
#include <QObject>
#include <QPointer>
#include <QThread>

#include "platform/calc_runner.h"

namespace plexo::qt {

class WorkerRunner : public CalcRunner {
 public:
  // `context` is the dialog: `done` is delivered through its event queue.
  explicit WorkerRunner(QObject* context) : context_(context) {}
  ~WorkerRunner() override;

  void Start(Job job, Done done) override;
  bool Running() const { return thread_ != nullptr; }

 private:
  QObject* context_;
  QPointer<QThread> thread_;
};

}  // namespace plexo::qt
