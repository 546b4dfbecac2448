// The chart window on a screen with a scale factor of 1.5 (run with QT_SCALE_FACTOR=1.5; skipped
// at any other ratio): the chart is drawn at 1.5 image pixels per logical pixel and painted 1:1,
// so that its lines and text are sharp rather than a magnified 1.0 picture, and the mouse still
// reads the value under it.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <opencv2/core.hpp>
#include <string>

#include "frontends/qt/chart_widget.h"
#include "frontends/qt/cv_image.h"
#include "frontends/qt/preview_window.h"
#include "qt_test_environment.h"
#include "support/ramp_chart.h"
#include "window_system_input.h"

namespace plexo::qt {
namespace {

TEST(ChartWindowAtScaleTest, DrawsSharpAtTheScreensPixelRatioAndReadsTheMouse) {
  // Asked for, the scale must be there; else the test is for another run.
  const char* factor = std::getenv("QT_SCALE_FACTOR");
  if (factor == nullptr || std::string(factor) != "1.5")
    GTEST_SKIP() << "runs with QT_SCALE_FACTOR=1.5";
  ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 1.5);
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input here";
  const plexo::testing::RampChart ramp;
  const cv::Mat picture(200, 800, CV_8UC3, cv::Scalar(255, 255, 255));
  PreviewWindow window("Chart-Scale-Test", ToQImage(picture), &ramp.chart);
  window.show();
  ASSERT_TRUE(testing::WaitUntil([&] {
    return window.isVisible() && window.windowHandle() && window.windowHandle()->isExposed();
  }));
  ChartWidget* chart = window.Chart();
  QSize size;
  QElapsedTimer steady;
  ASSERT_TRUE(testing::WaitUntil([&] {
    if (chart->size() != size || !steady.isValid()) {
      size = chart->size();
      steady.start();
    }
    return steady.elapsed() > 300;
  }));

  EXPECT_DOUBLE_EQ(chart->devicePixelRatioF(), 1.5);
  const QImage drawn = chart->Picture();
  EXPECT_EQ(drawn.width(), std::lround(chart->width() * 1.5));
  EXPECT_EQ(drawn.height(), std::lround(chart->height() * 1.5));
  EXPECT_DOUBLE_EQ(drawn.devicePixelRatio(), 1.5);
  // What reaches the screen is the drawing pixel for pixel, not a scaled copy of a 1.0 one.
  const QImage shown = chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), drawn.size());
  EXPECT_TRUE(shown == drawn.convertToFormat(QImage::Format_RGB32));
  // The mouse works in logical pixels: the readout at a known point of the ramp.
  const ChartLayout layout = chart->Layout();
  const QPoint at(static_cast<int>(layout.panels[0].x.Pixel(40e-6)),
                  static_cast<int>(layout.panels[0].y.Pixel(0.3)));
  input.MoveMouse(chart, at);
  EXPECT_TRUE(testing::WaitUntil([&] { return !window.Readout()->text().isEmpty(); }));
  EXPECT_EQ(window.Readout()->text().toStdString(), "time 4e-05 s   amplitude -0.1 volts");
}

}  // namespace
}  // namespace plexo::qt
