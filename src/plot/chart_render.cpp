#include "plot/chart_render.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

#include "plot/chart_style.h"
#include "plot/matrix_paint.h"

namespace plexo {

namespace {

const cv::Scalar kFrame(90, 90, 90);
const cv::Scalar kGrid(225, 225, 225);
const cv::Scalar kOutside(235, 235, 235);
const cv::Scalar kPrimaryMarker(200, 90, 0);   // blue
const cv::Scalar kSecondaryMarker(0, 150, 0);  // green
const cv::Scalar kBoundMarker(150, 150, 150);  // grey
const cv::Scalar kNoteText(40, 40, 40);

struct Pen {
  double scale;
  double FontScale() const { return 0.42 * scale; }
  int Thickness() const { return std::max(1, static_cast<int>(std::lround(scale))); }
  int Px(double logical) const { return static_cast<int>(std::lround(logical * scale)); }
};

// Text whose anchor is at `x` (left, centre or right of it by `align` 0, 0.5, 1) with its
// baseline at `y`.
void Text(cv::Mat& image, const Pen& pen, const std::string& text, double x, double y, double align,
          const cv::Scalar& colour = kBlack) {
  int baseline = 0;
  const cv::Size size =
      cv::getTextSize(text, cv::FONT_HERSHEY_SIMPLEX, pen.FontScale(), pen.Thickness(), &baseline);
  const cv::Point origin(static_cast<int>(std::lround(x - align * size.width)),
                         static_cast<int>(std::lround(y)));
  cv::putText(image, text, origin, cv::FONT_HERSHEY_SIMPLEX, pen.FontScale(), colour,
              pen.Thickness(), cv::LINE_AA);
}

int TextHeight(const Pen& pen) {
  int baseline = 0;
  return cv::getTextSize("0", cv::FONT_HERSHEY_SIMPLEX, pen.FontScale(), pen.Thickness(), &baseline)
      .height;
}

cv::Point At(double x, double y) {
  return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

cv::Rect Area(const PixelRect& r) {
  const int left = static_cast<int>(std::lround(r.left));
  const int top = static_cast<int>(std::lround(r.top));
  return {left, top, std::max(1, static_cast<int>(std::lround(r.right)) - left),
          std::max(1, static_cast<int>(std::lround(r.bottom)) - top)};
}

double Step(const std::vector<double>& ticks) {
  return ticks.size() >= 2 ? ticks[1] - ticks[0] : (ticks.empty() ? 0.0 : std::fabs(ticks[0]));
}

int TickCount(double pixels, double spacing) {
  return std::max(2, static_cast<int>(pixels / spacing) + 1);
}

void PaintMap(cv::Mat& image, const ChartMap& map, const PanelLayout& p) {
  const cv::Rect area = Area(p.area) & cv::Rect(0, 0, image.cols, image.rows);
  if (area.empty()) return;
  // The cell under the centre of each pixel column and row.
  std::vector<int> column(area.width), row(area.height);
  for (int i = 0; i < area.width; ++i)
    column[i] = static_cast<int>(std::floor(p.x.Value(area.x + i + 0.5) / map.column_step));
  for (int j = 0; j < area.height; ++j)
    row[j] = static_cast<int>(std::floor(p.y.Value(area.y + j + 0.5) / map.row_step));
  const cv::Vec3b outside(kOutside[0], kOutside[1], kOutside[2]);
  for (int j = 0; j < area.height; ++j) {
    cv::Vec3b* pixels = image.ptr<cv::Vec3b>(area.y + j) + area.x;
    const int r = row[j];
    for (int i = 0; i < area.width; ++i) {
      const int c = column[i];
      const bool inside = r >= 0 && r < map.rows && c >= 0 && c < map.columns;
      pixels[i] = inside ? ColourOf(ColourIndexOf(map.At(r, c), map.largest)) : outside;
    }
  }
}

void DrawLine(cv::Mat& image, const ChartLine& line, const PanelLayout& p, const Pen& pen) {
  if (line.count <= 0 || line.y.Empty()) return;
  cv::Mat clip = image(Area(p.area) & cv::Rect(0, 0, image.cols, image.rows));
  const double ox = std::lround(p.area.left), oy = std::lround(p.area.top);
  // The visible points and one beyond each end, so that the line reaches the edges.
  const int first = std::max(0, line.NearestPoint(p.x.range.low) - 1);
  const int last = std::min(line.count - 1, line.NearestPoint(p.x.range.high) + 1);
  // Pixel rows far outside are clamped: cv::line takes ints.
  auto y_of = [&](int i) { return std::clamp(p.y.Pixel(line.y.At(i)) - oy, -1.0e5, 1.0e5); };
  auto x_of = [&](int i) { return std::clamp(p.x.Pixel(line.X(i)) - ox, -1.0e5, 1.0e5); };
  const double columns = p.area.right - p.area.left;
  if (last - first > 3 * columns) {
    // More points than pixel columns: each column shows the span of its points.
    std::vector<double> low(static_cast<size_t>(columns) + 1, 1e300);
    std::vector<double> high(low.size(), -1e300);
    for (int i = first; i <= last; ++i) {
      const double x = x_of(i);
      if (x < 0 || x >= columns) continue;
      const size_t k = static_cast<size_t>(x);
      low[k] = std::min(low[k], y_of(i));
      high[k] = std::max(high[k], y_of(i));
    }
    cv::Point previous(-1, 0);
    for (size_t k = 0; k < low.size(); ++k) {
      if (low[k] > high[k]) continue;
      const cv::Point top = At(k, low[k]), bottom = At(k, high[k]);
      cv::line(clip, top, bottom, kGraphRed, pen.Thickness(), cv::LINE_AA);
      if (previous.x >= 0) cv::line(clip, previous, top, kGraphRed, pen.Thickness(), cv::LINE_AA);
      previous = bottom;
    }
    return;
  }
  for (int i = first + 1; i <= last; ++i) {
    cv::line(clip, At(x_of(i - 1), y_of(i - 1)), At(x_of(i), y_of(i)), kGraphRed, pen.Thickness(),
             cv::LINE_AA);
  }
}

// The panel's markers as vertical lines over its plot area (those outside the range are not
// drawn), each label beside the top of its line; then the panel's note at the top left.
void DrawMarkers(cv::Mat& image, const ChartPanel& panel, const PanelLayout& p, const Pen& pen) {
  const cv::Rect area = Area(p.area);
  int label_row = 0;  // labels of neighbouring markers go one below the other
  for (const ChartMarker& marker : panel.markers) {
    const double x = p.x.Pixel(marker.x);
    if (!std::isfinite(x) || x < area.x || x > area.br().x) continue;
    const cv::Scalar& colour = marker.style == ChartMarker::Style::kPrimary     ? kPrimaryMarker
                               : marker.style == ChartMarker::Style::kSecondary ? kSecondaryMarker
                                                                                : kBoundMarker;
    cv::line(image, At(x, area.y), At(x, area.br().y - 1), colour, pen.Thickness() + 1, cv::LINE_8);
    if (marker.label.empty()) continue;
    const double y = area.y + pen.Px(14) + label_row * (TextHeight(pen) + pen.Px(6));
    // A label right of its line unless that would leave the plot area.
    int baseline = 0;
    const int width = cv::getTextSize(marker.label, cv::FONT_HERSHEY_SIMPLEX, pen.FontScale(),
                                      pen.Thickness(), &baseline)
                          .width;
    const bool right = x + pen.Px(4) + width <= area.br().x;
    Text(image, pen, marker.label, right ? x + pen.Px(4) : x - pen.Px(4), y, right ? 0.0 : 1.0,
         colour);
    ++label_row;
  }
  if (!panel.note.empty()) {
    const double y = area.br().y - pen.Px(8);
    Text(image, pen, panel.note, area.x + pen.Px(6), y, 0.0, kNoteText);
  }
}

void DrawColourBar(cv::Mat& image, const ChartLayout& layout, const ChartPanel& panel,
                   const Pen& pen) {
  const cv::Rect bar = Area(layout.colour_bar);
  const double largest = panel.map.largest;
  for (int j = 0; j < bar.height; ++j) {
    const double value = largest * (1.0 - (j + 0.5) / bar.height);
    const cv::Vec3b c = ColourOf(ColourIndexOf(value, largest));
    cv::line(image, {bar.x, bar.y + j}, {bar.x + bar.width - 1, bar.y + j},
             cv::Scalar(c[0], c[1], c[2]), 1, cv::LINE_8);
  }
  cv::rectangle(image, bar, kFrame, 1, cv::LINE_8);
  Text(image, pen, panel.value.name, bar.x + bar.width, bar.y - pen.Px(6), 0.5);
  if (!(largest > 0.0)) return;
  const AxisPixels axis{{0.0, largest}, layout.colour_bar.bottom, layout.colour_bar.top};
  const std::vector<double> ticks = AxisTicks(axis.range, TickCount(bar.height, 40.0 * pen.scale));
  for (double t : ticks) {
    const double y = axis.Pixel(t);
    cv::line(image, At(bar.x + bar.width, y), At(bar.x + bar.width + pen.Px(4), y), kFrame,
             pen.Thickness(), cv::LINE_8);
    Text(image, pen, TickText(t, Step(ticks)), bar.x + bar.width + pen.Px(6),
         y + TextHeight(pen) / 2.0, 0.0);
  }
}

}  // namespace

cv::Mat RenderChart(const ChartData& chart, const ChartView& view, int width, int height,
                    double scale) {
  const int w = std::max(1, static_cast<int>(std::lround(width * scale)));
  const int h = std::max(1, static_cast<int>(std::lround(height * scale)));
  cv::Mat image(h, w, CV_8UC3, kWhite);
  const ChartLayout layout = LayOutChart(chart, view, w, h, scale);
  const Pen pen{scale};
  const int tick = pen.Px(5);
  for (size_t i = 0; i < chart.panels.size() && i < layout.panels.size(); ++i) {
    const ChartPanel& panel = chart.panels[i];
    const PanelLayout& p = layout.panels[i];
    const cv::Rect area = Area(p.area);
    const std::vector<double> x_ticks = AxisTicks(p.x.range, TickCount(area.width, 90.0 * scale));
    const std::vector<double> y_ticks = AxisTicks(p.y.range, TickCount(area.height, 40.0 * scale));
    if (panel.kind == ChartPanel::Kind::kMap) {
      PaintMap(image, panel.map, p);
      DrawColourBar(image, layout, panel, pen);
    } else {
      for (double t : x_ticks)
        cv::line(image, At(p.x.Pixel(t), area.y), At(p.x.Pixel(t), area.br().y), kGrid, 1);
      for (double t : y_ticks)
        cv::line(image, At(area.x, p.y.Pixel(t)), At(area.br().x, p.y.Pixel(t)), kGrid, 1);
      DrawLine(image, panel.line, p, pen);
    }
    DrawMarkers(image, panel, p, pen);
    cv::rectangle(image, area, kFrame, 1, cv::LINE_8);
    for (double t : y_ticks) {
      const double y = p.y.Pixel(t);
      cv::line(image, At(area.x - tick, y), At(area.x, y), kFrame, pen.Thickness(), cv::LINE_8);
      Text(image, pen, TickText(t, Step(y_ticks)), area.x - tick - pen.Px(3),
           y + TextHeight(pen) / 2.0, 1.0);
    }
    const bool bottom = i + 1 == chart.panels.size();
    for (double t : x_ticks) {
      const double x = p.x.Pixel(t);
      cv::line(image, At(x, area.br().y), At(x, area.br().y + tick), kFrame, pen.Thickness(),
               cv::LINE_8);
      if (bottom)
        Text(image, pen, TickText(t, Step(x_ticks)), x,
             area.br().y + tick + pen.Px(3) + TextHeight(pen), 0.5);
    }
    Text(image, pen, AxisTitle(panel.y), area.x, area.y - pen.Px(5), 0.0);
    if (bottom) Text(image, pen, AxisTitle(chart.x), area.x + area.width / 2.0, h - pen.Px(6), 0.5);
  }
  return image;
}

}  // namespace plexo
