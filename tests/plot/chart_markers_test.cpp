// Vertical markers and notes of a chart panel: drawn where their position falls in the view, in
// the colour of their style, and not at all outside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "plot/chart_layout.h"
#include "plot/chart_render.h"
#include "support/ramp_chart.h"

namespace plexo {
namespace {

const cv::Vec3b kPrimary(200, 90, 0);
const cv::Vec3b kSecondary(0, 150, 0);

// Pixels of `colour` in column x between the rows of the panel's plot area.
int ColumnPixels(const cv::Mat& image, const PanelLayout& p, int x, const cv::Vec3b& colour) {
  int n = 0;
  for (int y = static_cast<int>(p.area.top) + 1; y < static_cast<int>(p.area.bottom) - 1; ++y)
    if (image.at<cv::Vec3b>(y, x) == colour) ++n;
  return n;
}

int ImagePixels(const cv::Mat& image, const cv::Vec3b& colour) {
  int n = 0;
  for (int y = 0; y < image.rows; ++y)
    for (int x = 0; x < image.cols; ++x) n += image.at<cv::Vec3b>(y, x) == colour ? 1 : 0;
  return n;
}

TEST(ChartMarkerTest, AMarkerIsAVerticalLineAtItsPosition) {
  testing::RampChart ramp;
  ramp.chart.panels[0].markers = {{30e-6, "automatic pick", ChartMarker::Style::kPrimary},
                                  {70e-6, "", ChartMarker::Style::kSecondary}};
  const ChartView whole = WholeChart(ramp.chart);
  const cv::Mat image = RenderChart(ramp.chart, whole, 800, 400);
  const ChartLayout layout = LayOutChart(ramp.chart, whole, 800, 400);
  const PanelLayout& p = layout.panels[0];
  const int height = static_cast<int>(p.area.bottom - p.area.top) - 2;
  const int at30 = static_cast<int>(std::lround(p.x.Pixel(30e-6)));
  const int at70 = static_cast<int>(std::lround(p.x.Pixel(70e-6)));
  // The whole height of the plot area but where the graph or the label crosses it.
  EXPECT_GT(ColumnPixels(image, p, at30, kPrimary), height * 8 / 10);
  EXPECT_GT(ColumnPixels(image, p, at70, kSecondary), height * 8 / 10);
  EXPECT_EQ(ColumnPixels(image, p, at30 - 5, kPrimary), 0);
  EXPECT_EQ(ColumnPixels(image, p, at70, kPrimary), 0);

  // Zoomed to 40 .. 100 us: the first marker is outside and not drawn anywhere.
  ChartView zoomed = whole;
  zoomed.x = {40e-6, 100e-6};
  const cv::Mat part = RenderChart(ramp.chart, zoomed, 800, 400);
  EXPECT_EQ(ImagePixels(part, kPrimary), 0);
  const ChartLayout zoomed_layout = LayOutChart(ramp.chart, zoomed, 800, 400);
  const int moved = static_cast<int>(std::lround(zoomed_layout.panels[0].x.Pixel(70e-6)));
  EXPECT_GT(ColumnPixels(part, zoomed_layout.panels[0], moved, kSecondary), height * 8 / 10);
}

TEST(ChartMarkerTest, ANoteIsWrittenIntoThePanel) {
  testing::RampChart ramp;
  const ChartView whole = WholeChart(ramp.chart);
  const cv::Mat plain = RenderChart(ramp.chart, whole, 800, 400);
  ramp.chart.panels[0].note = "Constant criterion";
  const cv::Mat noted = RenderChart(ramp.chart, whole, 800, 400);
  const ChartLayout layout = LayOutChart(ramp.chart, whole, 800, 400);
  const PanelLayout& p = layout.panels[0];
  // Only pixels inside the plot area change, near its bottom left.
  int changed = 0, left = noted.cols, top = noted.rows, bottom = -1;
  for (int y = 0; y < noted.rows; ++y)
    for (int x = 0; x < noted.cols; ++x) {
      if (plain.at<cv::Vec3b>(y, x) == noted.at<cv::Vec3b>(y, x)) continue;
      ++changed;
      left = std::min(left, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  ASSERT_GT(changed, 50);
  EXPECT_GE(left, static_cast<int>(p.area.left));
  EXPECT_LT(left, static_cast<int>(p.area.left) + 40);
  EXPECT_GT(top, static_cast<int>((p.area.top + p.area.bottom) / 2));
  EXPECT_LT(bottom, static_cast<int>(p.area.bottom));
}

}  // namespace
}  // namespace plexo
