#include "frontends/qt/preview_app.h"

#include <QApplication>
#include <QThread>
#include <vector>

#include "frontends/qt/preview_window.h"
#include "platform/image_window.h"

namespace plexo::qt {

int RunWithPreviewWindows(int argc, char** argv, const std::function<int()>& command) {
  // QApplication may take its own options out of the list it is given; the command parses the
  // caller's list untouched.
  std::vector<char*> qtArgs(argv, argv + argc);
  qtArgs.push_back(nullptr);
  int qtArgc = argc;
  QApplication app(qtArgc, qtArgs.data());
  // A closed preview is often the only window: that must not end the loop the next one needs.
  QApplication::setQuitOnLastWindowClosed(false);
  SetImageViewer(&ShowPreview);

  int status = 2;
  QThread* worker = QThread::create([&status, &command] { status = command(); });
  QObject::connect(worker, &QThread::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  worker->start();
  app.exec();
  worker->wait();
  delete worker;
  SetImageViewer(nullptr);
  return status;
}

}  // namespace plexo::qt
