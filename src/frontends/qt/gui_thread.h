#pragma once
// Running a piece of code on the GUI thread from wherever the caller is.
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <utility>

namespace plexo::qt {

inline bool OnGuiThread() {
  return QCoreApplication::instance() != nullptr &&
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Runs `work` on the GUI thread and returns when it is done: at once on the GUI thread, else by
// a blocking queued call (the calculation's thread waits while, say, a message box is open).
template <typename Work>
void RunOnGuiThreadAndWait(Work&& work) {
  if (OnGuiThread()) {
    work();
  } else {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::forward<Work>(work),
                              Qt::BlockingQueuedConnection);
  }
}

// Runs `work` on the GUI thread as soon as it is free, without waiting; dropped when `context`
// is gone by then.
template <typename Work>
void PostToGuiThread(QObject* context, Work&& work) {
  if (OnGuiThread()) {
    work();
  } else {
    QMetaObject::invokeMethod(context, std::forward<Work>(work), Qt::QueuedConnection);
  }
}

}  // namespace plexo::qt
