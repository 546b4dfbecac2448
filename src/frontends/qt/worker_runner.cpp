#include "frontends/qt/worker_runner.h"

#include <memory>

namespace plexo::qt {

WorkerRunner::~WorkerRunner() {
  // The dialog does not close while a run goes on; should it ever, the thread is waited for
  // rather than left with dangling references.
  if (thread_) {
    thread_->wait();
    delete thread_;
  }
}

void WorkerRunner::Start(Job job, Done done) {
  auto status = std::make_shared<CalcStatus>(CalcStatus::kFailed);
  QThread* thread = QThread::create([job = std::move(job), status] { *status = job(); });
  thread_ = thread;
  QObject::connect(thread, &QThread::finished, context_,
                   [this, thread, status, done = std::move(done)] {
                     thread->deleteLater();
                     thread_ = nullptr;
                     done(*status);
                   });
  thread->start();
}

}  // namespace plexo::qt
