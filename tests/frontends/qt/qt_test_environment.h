#pragma once
// Helpers of the desktop tests: the application object and waiting for the event loop.
#include <QApplication>
#include <QElapsedTimer>
#include <functional>

namespace plexo::qt::testing {

// Processes events until `done` holds or the time is up; returns `done()`.
inline bool WaitUntil(const std::function<bool()>& done, int milliseconds = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < milliseconds) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done();
}

}  // namespace plexo::qt::testing
