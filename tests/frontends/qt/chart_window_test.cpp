// The interactive chart window as a person uses it: the mouse and the wheel go through the
// window system to a shown window, the status line and the ranges are read back, and a key
// still ends the wait of the calculation that showed it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWindow>
#include <atomic>
#include <cmath>
#include <functional>
#include <opencv2/core.hpp>
#include <thread>
#include <vector>

#include "frontends/qt/chart_widget.h"
#include "frontends/qt/cv_image.h"
#include "frontends/qt/preview_window.h"
#include "frontends/qt/qt_host.h"
#include "plot/chart_data.h"
#include "qt_test_environment.h"
#include "support/ramp_chart.h"
#include "support/temp_dir.h"
#include "window_system_input.h"

namespace plexo::qt {
namespace {

using Ramp = plexo::testing::RampChart;

const cv::Mat kPicture(200, 800, CV_8UC3, cv::Scalar(255, 255, 255));

// The widget pixel of a chart point.
QPoint PixelOf(const ChartWidget& widget, double time, double amplitude) {
  const ChartLayout layout = widget.Layout();
  return {static_cast<int>(layout.panels[0].x.Pixel(time)),
          static_cast<int>(layout.panels[0].y.Pixel(amplitude))};
}

// The chart value at a widget pixel, as the mouse reports it (integer pixels).
double TimeAt(const ChartWidget& widget, const QPoint& p) {
  return widget.Layout().panels[0].x.Value(p.x());
}
double AmplitudeAt(const ChartWidget& widget, const QPoint& p) {
  return widget.Layout().panels[0].y.Value(p.y());
}

bool OnScreen(QWidget* window) {
  return window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}

class ChartWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!input_.Available()) GTEST_SKIP() << "no fake input here";
    window_ = std::make_unique<PreviewWindow>("Chart-Test", ToQImage(kPicture), &ramp_.chart);
    window_->show();
    ASSERT_TRUE(testing::WaitUntil([&] { return OnScreen(window_.get()); }));
    chart_ = window_->Chart();
    ASSERT_NE(chart_, nullptr);
    // The window system's own moves and resizes are over before the mouse comes: the chart
    // keeps its size for a while.
    QSize size;
    QElapsedTimer steady;
    ASSERT_TRUE(testing::WaitUntil([&] {
      if (chart_->size() != size || !steady.isValid()) {
        size = chart_->size();
        steady.start();
      }
      return steady.elapsed() > 300;
    }));
  }

  double PixelWidth() const {
    const PanelLayout p = chart_->Layout().panels[0];
    return chart_->View().x.Span() / (p.area.right - p.area.left);
  }

  Ramp ramp_;
  testing::WindowSystemInput input_;
  std::unique_ptr<PreviewWindow> window_;
  ChartWidget* chart_ = nullptr;
};

TEST_F(ChartWindowTest, TheStatusLineReadsTheSampleUnderTheMouse) {
  const QPoint p = PixelOf(*chart_, 40e-6, 0.3);
  input_.MoveMouse(chart_, p);
  EXPECT_TRUE(testing::WaitUntil([&] { return !window_->Readout()->text().isEmpty(); }));
  EXPECT_EQ(window_->Readout()->text().toStdString(), "time 4e-05 s   amplitude -0.1 volts");
  const QPoint q = PixelOf(*chart_, 73e-6, -0.4);
  input_.MoveMouse(chart_, q);
  EXPECT_TRUE(testing::WaitUntil([&] { return window_->Readout()->text().contains("0.23"); }));
  EXPECT_EQ(window_->Readout()->text().toStdString(), "time 7.3e-05 s   amplitude 0.23 volts");
}

TEST_F(ChartWindowTest, AWheelTurnZoomsAboutTheMouseAndHomeShowsTheWholeChart) {
  const QPoint p = PixelOf(*chart_, 30e-6, 0.1);
  const double t = TimeAt(*chart_, p), a = AmplitudeAt(*chart_, p);
  const ChartView whole = chart_->View();
  input_.MoveMouse(chart_, p);
  input_.TurnWheel(chart_, p, 1);
  ASSERT_TRUE(testing::WaitUntil([&] { return !(chart_->View() == whole); }));
  // One notch shows 80 % of each range, the point under the mouse staying put.
  EXPECT_NEAR(chart_->View().x.low, t - 0.8 * t, 1e-12);
  EXPECT_NEAR(chart_->View().x.high, t + 0.8 * (1e-4 - t), 1e-12);
  EXPECT_NEAR(chart_->View().y[0].low, a - 0.8 * (a + 0.525), 1e-9);
  EXPECT_NEAR(chart_->View().y[0].high, a + 0.8 * (0.525 - a), 1e-9);
  input_.PressKey(Qt::Key_Home);
  EXPECT_TRUE(testing::WaitUntil([&] { return chart_->View() == whole; }));
  EXPECT_TRUE(window_->isVisible()) << "Home is navigation: the window stays";
}

TEST_F(ChartWindowTest, ADraggedRectangleZoomsToItAndADoubleClickZoomsBackOut) {
  const QPoint from = PixelOf(*chart_, 20e-6, 0.4);
  const QPoint to = PixelOf(*chart_, 60e-6, -0.2);
  const ChartView whole = chart_->View();
  const double pixel = PixelWidth();
  input_.Drag(chart_, from, to, Qt::LeftButton);
  ASSERT_TRUE(testing::WaitUntil([&] { return !(chart_->View() == whole); }));
  EXPECT_NEAR(chart_->View().x.low, 20e-6, pixel);
  EXPECT_NEAR(chart_->View().x.high, 60e-6, pixel);
  EXPECT_NEAR(chart_->View().y[0].low, -0.2, 0.01);
  EXPECT_NEAR(chart_->View().y[0].high, 0.4, 0.01);
  // The readout follows the new range: the middle of the window is now about 40 us.
  const QPoint middle = PixelOf(*chart_, 40e-6, 0.0);
  input_.MoveMouse(chart_, middle);
  EXPECT_TRUE(testing::WaitUntil([&] {
    return window_->Readout()->text().startsWith("time 4e-05 s");
  })) << window_->Readout()->text().toStdString();
  input_.DoubleClick(chart_, middle);
  EXPECT_TRUE(testing::WaitUntil([&] { return chart_->View() == whole; }));
}

TEST_F(ChartWindowTest, TheMiddleButtonPans) {
  ChartView view = chart_->View();
  view.x = {40e-6, 60e-6};
  chart_->SetView(view);
  const QPoint from = PixelOf(*chart_, 50e-6, 0.0);
  input_.Drag(chart_, from, from + QPoint(100, 0), Qt::MiddleButton);
  // Dragged 100 pixels right: the range moves 100 pixels' worth of time left (the view
  // follows the drag step by step; the last step decides).
  EXPECT_TRUE(testing::WaitUntil([&] { return chart_->View().x.low < 39e-6; }));
  testing::WaitUntil([] { return false; }, 300);
  const double pixel = PixelWidth();
  EXPECT_NEAR(chart_->View().x.low, 40e-6 - 100 * pixel, pixel);
  EXPECT_NEAR(chart_->View().x.Span(), 20e-6, 1e-15);
}

TEST_F(ChartWindowTest, SaveImageAsWritesWhatIsShown) {
  const QPoint p = PixelOf(*chart_, 70e-6, 0.2);
  const ChartView whole = chart_->View();
  input_.TurnWheel(chart_, p, 3);
  ASSERT_TRUE(testing::WaitUntil([&] { return !(chart_->View() == whole); }));
  QApplication::processEvents();
  plexo::testing::TempDir folder;
  const QString path = QString::fromStdString(folder.File("shown.png"));
  ASSERT_TRUE(window_->SaveImage(path));
  // What the widget paints on the screen, taken from the widget itself.
  const QImage screen = chart_->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(saved.size(), screen.size());
  EXPECT_TRUE(saved == screen) << "the saved file is the zoomed chart on the screen";
  EXPECT_NE(saved.size(), window_->Image().size()) << "not the preview file's picture";
}

TEST_F(ChartWindowTest, TheWindowResizesAndTheChartIsRedrawnToTheNewSize) {
  const QSize before = chart_->Picture().size();
  window_->resize(window_->width() + 200, window_->height() + 100);
  ASSERT_TRUE(testing::WaitUntil([&] { return chart_->Picture().size() != before; }));
  const double ratio = chart_->devicePixelRatioF();
  EXPECT_EQ(chart_->Picture().size(), chart_->size() * ratio);
}

// A calculation's preview with its chart, shown from the calculation's thread: zooming keeps
// the calculation waiting, a key lets it go on. The window runs its own event loop, so the
// steps run from a timer inside it.
TEST(ChartPreviewTest, NavigationKeepsTheCalculationWaitingAndAKeyEndsIt) {
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input here";
  const Ramp ramp;
  QtHost host;
  std::atomic<bool> returned{false};
  ChartView whole;
  QElapsedTimer clock;
  int step = 0;
  bool zoomed = false, waitedAfterHome = false;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    PreviewWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* p = qobject_cast<PreviewWindow*>(w); p && OnScreen(p)) window = p;
    if (window == nullptr || window->Chart() == nullptr) return;
    ChartWidget* chart = window->Chart();
    if (!clock.isValid()) clock.start();
    if (step == 0 && clock.elapsed() > 300) {
      whole = chart->View();
      input.TurnWheel(chart, PixelOf(*chart, 50e-6, 0.0), 2);
      step = 1;
    } else if (step == 1 && !(chart->View() == whole)) {
      zoomed = true;
      input.PressKey(Qt::Key_Home);
      step = 2;
    } else if (step == 2 && chart->View() == whole) {
      clock.restart();
      step = 3;
    } else if (step == 3 && clock.elapsed() > 300) {
      waitedAfterHome = !returned.load();
      input.PressKey(Qt::Key_Space);
      step = 4;
    }
  });
  timer.start(30);
  std::thread calculation([&] {
    host.ShowChart("Chart-Preview-Test", kPicture, ramp.chart);
    returned = true;
  });
  EXPECT_TRUE(testing::WaitUntil([&] { return returned.load(); }, 30000)) << "at step " << step;
  calculation.join();
  EXPECT_TRUE(zoomed) << "the wheel zoomed the preview";
  EXPECT_TRUE(waitedAfterHome) << "the wheel and Home do not end the wait";
  EXPECT_EQ(step, 4) << "the key ended the wait";
}

}  // namespace
}  // namespace plexo::qt
