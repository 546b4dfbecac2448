#include "plot/chart_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace plexo {

namespace {

// Logical pixels: room for the tick labels left and below, for the panel's title above, for
// the colour bar and its labels right of a map.
constexpr double kLeft = 72.0;
constexpr double kRight = 18.0;
constexpr double kColourBarRoom = 96.0;
constexpr double kTitle = 18.0;
constexpr double kBottom = 40.0;
constexpr double kGap = 6.0;

bool HasMap(const ChartData& chart) {
  return std::any_of(chart.panels.begin(), chart.panels.end(),
                     [](const ChartPanel& p) { return p.kind == ChartPanel::Kind::kMap; });
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

std::string Reading(const ChartQuantity& quantity, double value) {
  std::string text = quantity.name + " " + Number(value);
  if (!quantity.unit.empty()) text += " " + quantity.unit;
  return text;
}

}  // namespace

std::string AxisTitle(const ChartQuantity& quantity) {
  return quantity.unit.empty() ? quantity.name : quantity.name + " [" + quantity.unit + "]";
}

ChartView WholeChart(const ChartData& chart) {
  ChartView view;
  view.x = chart.full_x;
  for (const ChartPanel& panel : chart.panels) view.y.push_back(panel.full_y);
  return view;
}

ChartLayout LayOutChart(const ChartData& chart, const ChartView& view, double width, double height,
                        double scale) {
  ChartLayout layout;
  layout.scale = scale;
  layout.width = width;
  layout.height = height;
  const double left = kLeft * scale;
  const double right = width - (kRight + (HasMap(chart) ? kColourBarRoom : 0.0)) * scale;
  const double panels_height =
      height - kBottom * scale - static_cast<double>(chart.panels.size()) * (kTitle + kGap) * scale;
  int weights = 0;
  for (const ChartPanel& panel : chart.panels) weights += std::max(1, panel.weight);
  double top = kGap * scale;
  for (size_t i = 0; i < chart.panels.size(); ++i) {
    const ChartPanel& panel = chart.panels[i];
    top += kTitle * scale;
    const double h = std::max(1.0, panels_height * std::max(1, panel.weight) / weights);
    PanelLayout p;
    p.area = {left, top, std::max(left + 1.0, right), top + h};
    p.x = {view.x, p.area.left, p.area.right};
    p.y = {i < view.y.size() ? view.y[i] : panel.full_y, p.area.bottom, p.area.top};
    if (panel.kind == ChartPanel::Kind::kMap) {
      const double bar_left = p.area.right + 14.0 * scale;
      layout.colour_bar = {bar_left, p.area.top, bar_left + 14.0 * scale, p.area.bottom};
    }
    layout.panels.push_back(p);
    top += h + kGap * scale;
  }
  return layout;
}

std::optional<int> PanelAt(const ChartLayout& layout, double x, double y) {
  for (size_t i = 0; i < layout.panels.size(); ++i)
    if (layout.panels[i].area.Contains(x, y)) return static_cast<int>(i);
  return std::nullopt;
}

std::string ChartReadout(const ChartData& chart, const ChartLayout& layout, double x, double y) {
  const std::optional<int> index = PanelAt(layout, x, y);
  if (!index || static_cast<size_t>(*index) >= chart.panels.size()) return {};
  const ChartPanel& panel = chart.panels[*index];
  const PanelLayout& p = layout.panels[*index];
  const double at_x = p.x.Value(x);
  if (panel.kind == ChartPanel::Kind::kLine) {
    const int i = panel.line.NearestPoint(at_x);
    if (i < 0 || panel.line.y.Empty()) return {};
    return Reading(chart.x, panel.line.X(i)) + "   " + Reading(panel.y, panel.line.y.At(i));
  }
  const double at_y = p.y.Value(y);
  const ChartMap& map = panel.map;
  const int c = static_cast<int>(std::floor(at_x / map.column_step));
  const int r = static_cast<int>(std::floor(at_y / map.row_step));
  std::string text = Reading(chart.x, at_x) + "   " + Reading(panel.y, at_y);
  if (r < 0 || r >= map.rows || c < 0 || c >= map.columns || map.values.Empty()) return text;
  return text + "   " + Reading(panel.value, map.At(r, c));
}

ChartView ZoomedAt(const ChartData& chart, const ChartView& view, const ChartLayout& layout,
                   double x, double y, double factor) {
  const std::optional<int> index = PanelAt(layout, x, y);
  if (!index) return view;
  const PanelLayout& p = layout.panels[*index];
  ChartView zoomed = view;
  zoomed.x = Confined(ZoomAbout(view.x, p.x.Value(x), factor), chart.full_x);
  zoomed.y[*index] =
      Confined(ZoomAbout(view.y[*index], p.y.Value(y), factor), chart.panels[*index].full_y);
  return zoomed;
}

ChartView ZoomedToRectangle(const ChartData& chart, const ChartView& view,
                            const ChartLayout& layout, double x0, double y0, double x1, double y1) {
  const std::optional<int> index = PanelAt(layout, x0, y0);
  if (!index || std::fabs(x1 - x0) < 4.0 || std::fabs(y1 - y0) < 4.0) return view;
  const PanelLayout& p = layout.panels[*index];
  // The rectangle ends where the plot area does.
  x1 = std::clamp(x1, p.area.left, p.area.right);
  y1 = std::clamp(y1, p.area.top, p.area.bottom);
  ChartView zoomed = view;
  zoomed.x = Confined(RangeBetween(p.x, x0, x1), chart.full_x);
  zoomed.y[*index] = Confined(RangeBetween(p.y, y0, y1), chart.panels[*index].full_y);
  return zoomed;
}

ChartView Panned(const ChartData& chart, const ChartView& view, const ChartLayout& layout,
                 double at_x, double at_y, double dx, double dy) {
  const std::optional<int> index = PanelAt(layout, at_x, at_y);
  if (!index) return view;
  const PanelLayout& p = layout.panels[*index];
  ChartView panned = view;
  // Dragging the chart right shows what lies left of it.
  panned.x = Shifted(view.x, p.x.Value(at_x) - p.x.Value(at_x + dx), chart.full_x);
  panned.y[*index] =
      Shifted(view.y[*index], p.y.Value(at_y) - p.y.Value(at_y + dy), chart.panels[*index].full_y);
  return panned;
}

}  // namespace plexo
