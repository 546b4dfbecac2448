#pragma once
// An interactive chart: drawn from its data (plot/chart_render.h) at the widget's size and the
// screen's device pixel ratio, with the value under the mouse read from the data. The wheel
// zooms about the mouse, a rectangle dragged with the left button zooms to it, the middle
// button pans, a double click shows the whole chart again (ShowWholeChart, for Home, is left
// to the window, which owns the keys). A window that places something on the time axis (an
// onset pick) takes the left button for that: its clicks and drags then report the position
// under the mouse, and the zoom rectangle is dragged with the right button.
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

#include "plot/chart_data.h"
#include "plot/chart_layout.h"

namespace plexo::qt {

class ChartWidget : public QWidget {
  Q_OBJECT

 public:
  // The chart is borrowed: it must outlive the widget.
  explicit ChartWidget(const ChartData& chart, QWidget* parent = nullptr);

  const ChartData& Chart() const { return *chart_; }
  // Shows another chart (also borrowed), whole.
  void SetChart(const ChartData& chart);
  // The chart's data changed in place (a marker moved): redrawn in the same view.
  void ChartChanged();
  // Left-button clicks and drags call `pick` with the horizontal value under the mouse (kept
  // inside the range shown) instead of zooming; empty gives the left button back to the zoom.
  void SetPickHandler(std::function<void(double x)> pick);
  const ChartView& View() const { return view_; }
  void SetView(const ChartView& view);
  void ShowWholeChart();
  // The layout in the widget's own (logical) coordinates, as the mouse sees it.
  ChartLayout Layout() const;
  // What is shown, in device pixels (its devicePixelRatio set).
  QImage Picture() const;
  const QString& Readout() const { return readout_; }

 signals:
  void ReadoutChanged(const QString& text);
  void ViewChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void SetReadout(const QPoint& at);

  void Pick(const QPoint& at);

  const ChartData* chart_;
  std::function<void(double x)> pick_;
  ChartView view_;
  mutable QImage picture_;  // drawn for picture_key_, redrawn when the view or size changes
  mutable QSize picture_size_;
  mutable double picture_ratio_ = 0.0;
  mutable bool picture_stale_ = true;
  QString readout_;
  enum class Drag { kNone, kRectangle, kPan, kPick };
  Drag drag_ = Drag::kNone;
  Qt::MouseButton drag_button_ = Qt::NoButton;
  QPoint drag_start_;
  QPoint drag_now_;
  ChartView drag_view_;  // the view when a pan began
};

}  // namespace plexo::qt
