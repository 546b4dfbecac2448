// A preview shown from a calculation's thread opens on the GUI thread and lets the calculation
// go on once a key is pressed in it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <functional>
#include <opencv2/core.hpp>
#include <thread>

#include "frontends/qt/cv_image.h"
#include "frontends/qt/preview_window.h"
#include "frontends/qt/qt_host.h"
#include "qt_test_environment.h"
#include "support/temp_dir.h"
#include "window_system_input.h"

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
      if (window->isVisible() && window->windowHandle() &&
          window->windowTitle().contains("Preview-Test")) {
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
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input here";
  QElapsedTimer shown;
  const QString seen = ShowFromWorker([&](QWidget* window) {
    // Keys once the window is on screen, as a person would type them.
    if (!window->windowHandle()->isExposed()) return;
    if (!shown.isValid()) shown.start();
    if (shown.elapsed() < 200) return;
    input.PressKey(Qt::Key_Space);
  });
  EXPECT_TRUE(seen.contains("Preview-Test")) << seen.toStdString();
}

TEST(ImageWindowTest, ClosingThePreviewWindowAlsoLetsTheCalculationGoOn) {
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input here";
  const QString seen = ShowFromWorker([&](QWidget* window) {
    if (window->windowHandle()->isExposed()) input.RequestClose(window);
  });
  EXPECT_TRUE(seen.contains("Preview-Test")) << seen.toStdString();
}

TEST(ImageWindowTest, ThePictureIsShownOneToOneAndSavesAsPngAndBmp) {
  cv::Mat image(300, 800, CV_8UC3, cv::Scalar(10, 20, 30));
  image.at<cv::Vec3b>(5, 7) = cv::Vec3b(1, 2, 3);  // blue, green, red
  PreviewWindow window("Saved", ToQImage(image));
  window.show();
  ASSERT_TRUE(testing::WaitUntil([&] { return window.isVisible(); }));
  EXPECT_EQ(window.size(), QSize(800, 300));
  plexo::testing::TempDir folder;
  for (const char* name : {"a.png", "b.bmp"}) {
    const QString path = QString::fromStdString(folder.File(name));
    ASSERT_TRUE(window.SaveImage(path)) << name;
    QImage back(path);
    ASSERT_EQ(back.size(), QSize(800, 300)) << name;
    EXPECT_EQ(back.pixel(7, 5), qRgb(3, 2, 1)) << name;
    EXPECT_EQ(back.pixel(0, 0), qRgb(30, 20, 10)) << name;
  }
  window.close();
}

}  // namespace
}  // namespace plexo::qt
