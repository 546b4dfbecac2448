#pragma once
// An interactive chart: drawn from its data (plot/chart_render.h) at the widget's size and the
// screen's device pixel ratio, with the value under the mouse read from the data. The wheel
// zooms about the mouse, a rectangle dragged with the left button zooms to it, the middle
// button pans, a double click shows the whole chart again (ShowWholeChart, for Home, is left
// to the window, which owns the keys).
#include <QImage>
#include <QPoint>
#include <QWidget>

#include "plot/chart_data.h"
#include "plot/chart_layout.h"

namespace plexo::qt {

class ChartWidget : public QWidget {
  Q_OBJECT

 public:
  // The chart is borrowed: it must outlive the widget.
  explicit ChartWidget(const ChartData& chart, QWidget* parent = nullptr);

  const ChartData& Chart() const { return chart_; }
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

  const ChartData& chart_;
  ChartView view_;
  mutable QImage picture_;  // drawn for picture_key_, redrawn when the view or size changes
  mutable QSize picture_size_;
  mutable double picture_ratio_ = 0.0;
  mutable bool picture_stale_ = true;
  QString readout_;
  enum class Drag { kNone, kRectangle, kPan };
  Drag drag_ = Drag::kNone;
  QPoint drag_start_;
  QPoint drag_now_;
  ChartView drag_view_;  // the view when a pan began
};

}  // namespace plexo::qt
