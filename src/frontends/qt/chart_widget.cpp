#include "frontends/qt/chart_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "frontends/qt/cv_image.h"
#include "plot/chart_render.h"

namespace plexo::qt {

namespace {

// One notch of the wheel (120 eighths of a degree) shows 80 % of the range, or 125 %.
constexpr double kNotchFactor = 0.8;

}  // namespace

ChartWidget::ChartWidget(const ChartData& chart, QWidget* parent)
    : QWidget(parent), chart_(&chart), view_(WholeChart(chart)) {
  setMouseTracking(true);
  setMinimumSize(320, 200);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setCursor(Qt::CrossCursor);
}

void ChartWidget::SetView(const ChartView& view) {
  if (view == view_) return;
  view_ = view;
  picture_stale_ = true;
  update();
  emit ViewChanged();
}

void ChartWidget::ShowWholeChart() { SetView(WholeChart(*chart_)); }

void ChartWidget::SetChart(const ChartData& chart) {
  chart_ = &chart;
  drag_ = Drag::kNone;
  view_ = WholeChart(chart);
  ChartChanged();
  emit ViewChanged();
}

void ChartWidget::ChartChanged() {
  picture_stale_ = true;
  update();
}

void ChartWidget::SetPickHandler(std::function<void(double x)> pick) { pick_ = std::move(pick); }

void ChartWidget::Pick(const QPoint& at) {
  const ChartLayout layout = Layout();
  if (layout.panels.empty()) return;
  // Every panel shares the horizontal axis; a drag that leaves the plot keeps to its edge.
  const double x = std::clamp(layout.panels[0].x.Value(at.x()), view_.x.low, view_.x.high);
  pick_(x);
}

ChartLayout ChartWidget::Layout() const {
  return LayOutChart(*chart_, view_, width(), height(), 1.0);
}

QImage ChartWidget::Picture() const {
  const double ratio = devicePixelRatioF();
  if (picture_stale_ || picture_size_ != size() || picture_ratio_ != ratio) {
    picture_ = ToQImage(RenderChart(*chart_, view_, width(), height(), ratio));
    picture_.setDevicePixelRatio(ratio);
    picture_size_ = size();
    picture_ratio_ = ratio;
    picture_stale_ = false;
  }
  return picture_;
}

void ChartWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Drawn at the device pixel ratio: one image pixel per screen pixel.
  painter.drawImage(QPointF(0, 0), Picture());
  if (drag_ == Drag::kRectangle) {
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.setBrush(QColor(0, 0, 0, 30));
    painter.drawRect(QRect(drag_start_, drag_now_).normalized());
  }
}

void ChartWidget::SetReadout(const QPoint& at) {
  const QString text = QString::fromStdString(ChartReadout(*chart_, Layout(), at.x(), at.y()));
  if (text == readout_) return;
  readout_ = text;
  emit ReadoutChanged(readout_);
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->pos();
  if (drag_ == Drag::kRectangle) {
    drag_now_ = at;
    update();
  } else if (drag_ == Drag::kPick) {
    Pick(at);
  } else if (drag_ == Drag::kPan) {
    const ChartLayout layout = LayOutChart(*chart_, drag_view_, width(), height(), 1.0);
    SetView(Panned(*chart_, drag_view_, layout, drag_start_.x(), drag_start_.y(),
                   at.x() - drag_start_.x(), at.y() - drag_start_.y()));
  }
  SetReadout(at);
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
  if (!PanelAt(Layout(), event->pos().x(), event->pos().y())) return;
  // With a pick handler the left button picks and the right one drags the zoom rectangle.
  const Qt::MouseButton zoom_button = pick_ ? Qt::RightButton : Qt::LeftButton;
  if (pick_ && event->button() == Qt::LeftButton) {
    drag_ = Drag::kPick;
    Pick(event->pos());
  } else if (event->button() == zoom_button) {
    drag_ = Drag::kRectangle;
  } else if (event->button() == Qt::MiddleButton) {
    drag_ = Drag::kPan;
    drag_view_ = view_;
  } else {
    return;
  }
  drag_button_ = event->button();
  drag_start_ = drag_now_ = event->pos();
  event->accept();
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != drag_button_) {
    // Another button let go during a drag: the drag goes on.
  } else if (drag_ == Drag::kRectangle) {
    drag_ = Drag::kNone;
    const QPoint end = event->pos();
    SetView(ZoomedToRectangle(*chart_, view_, Layout(), drag_start_.x(), drag_start_.y(), end.x(),
                              end.y()));
    update();
  } else if (drag_ == Drag::kPick) {
    drag_ = Drag::kNone;
    Pick(event->pos());
  } else if (drag_ == Drag::kPan) {
    drag_ = Drag::kNone;
  }
  SetReadout(event->pos());
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (pick_) {
    // A quick second click picks again (the whole chart stays on Home).
    mousePressEvent(event);
    return;
  }
  drag_ = Drag::kNone;
  ShowWholeChart();
  SetReadout(event->pos());
}

void ChartWidget::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0.0) return;
  const QPoint at = event->position().toPoint();
  SetView(ZoomedAt(*chart_, view_, Layout(), at.x(), at.y(), std::pow(kNotchFactor, notches)));
  SetReadout(at);
  event->accept();
}

void ChartWidget::leaveEvent(QEvent*) {
  if (readout_.isEmpty()) return;
  readout_.clear();
  emit ReadoutChanged(readout_);
}

}  // namespace plexo::qt
