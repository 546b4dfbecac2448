// A preview shown from a calculation's thread opens on the GUI thread and lets the calculation
// go on once a key is pressed in it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <opencv2/core.hpp>
#include <thread>

#include "frontends/qt/qt_host.h"
#include "qt_test_environment.h"

namespace plexo::qt {
namespace {

// Shows a preview from a calculation thread while `act` is applied to its window.
QString ShowFromWorker(const std::function<void(QWidget*)>& act) {
  QtHost host;
  const cv::Mat image(120, 200, CV_8UC3, cv::Scalar(40, 90, 200));
  QString seen;
  QTimer presser;
  QObject::connect(&presser, &QTimer::timeout, [&seen, &act] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->isVisible() && window->windowTitle().contains("Preview-Test")) {
        seen = window->windowTitle();
        act(window);
      }
    }
  });
  presser.start(50);
  std::atomic<bool> returned{false};
  std::thread calculation([&] {
    host.ShowImage("Preview-Test", image);
    returned = true;
  });
  EXPECT_TRUE(testing::WaitUntil([&] { return returned.load(); }, 15000));
  calculation.join();
  return seen;
}

TEST(ImageWindowTest, PreviewFromAWorkerWaitsForAKeyThenReturns) {
  const QString seen = ShowFromWorker([](QWidget* window) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(window, &press);
  });
  EXPECT_TRUE(seen.contains("Preview-Test")) << seen.toStdString();
}

TEST(ImageWindowTest, ClosingThePreviewWindowAlsoLetsTheCalculationGoOn) {
  const QString seen = ShowFromWorker([](QWidget* window) { window->close(); });
  EXPECT_TRUE(seen.contains("Preview-Test")) << seen.toStdString();
}

}  // namespace
}  // namespace plexo::qt
