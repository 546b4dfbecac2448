#include "frontends/qt/onset_review_window.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontends/qt/chart_widget.h"
#include "frontends/qt/qt_text.h"

namespace plexo::qt {

namespace {

// A button the mouse uses; the keys stay with the window.
QPushButton* Button(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

OnsetReviewWindow::OnsetReviewWindow(OnsetReviewSession& review, QWidget* parent)
    : QDialog(parent), review_(review) {
  setWindowTitle(tr("Review onsets - %1").arg(ToQString(review_.Review().Input())));
  setWindowModality(Qt::ApplicationModal);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
  setSizeGripEnabled(true);

  chart_ = new ChartWidget(review_.Chart(), this);
  chart_->setFocusPolicy(Qt::NoFocus);  // the window owns the keys
  chart_->SetPickHandler([this](double x) {
    review_.PickAt(x);
    Refresh(false);
  });
  status_ = new QLabel(this);
  status_->setTextInteractionFlags(Qt::NoTextInteraction);
  readout_ = new QLabel(this);
  readout_->setTextInteractionFlags(Qt::NoTextInteraction);
  readout_->setMinimumHeight(readout_->fontMetrics().height());
  auto* hint = new QLabel(tr(kOnsetReviewHint), this);
  hint->setWordWrap(true);
  connect(chart_, &ChartWidget::ReadoutChanged, readout_, &QLabel::setText);

  auto* previous = Button(tr("< Previous"), this);
  auto* next = Button(tr("Next >"), this);
  reject_ = Button(tr("Reject"), this);
  auto* save = Button(tr("Save"), this);
  auto* close = Button(tr("Close"), this);
  connect(previous, &QPushButton::clicked, this, [this] { Go(false); });
  connect(next, &QPushButton::clicked, this, [this] { Go(true); });
  connect(reject_, &QPushButton::clicked, this, &OnsetReviewWindow::ToggleRejected);
  connect(save, &QPushButton::clicked, this, &OnsetReviewWindow::Save);
  connect(close, &QPushButton::clicked, this, &OnsetReviewWindow::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(previous);
  buttons->addWidget(next);
  buttons->addWidget(reject_);
  buttons->addStretch(1);
  buttons->addWidget(save);
  buttons->addWidget(close);

  auto* lines = new QVBoxLayout;
  lines->setContentsMargins(8, 2, 8, 6);
  lines->setSpacing(2);
  lines->addWidget(status_);
  lines->addWidget(readout_);
  lines->addWidget(hint);
  lines->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(chart_, 1);
  layout->addLayout(lines);

  auto* saveAction = new QAction(tr("Save"), this);
  saveAction->setShortcut(QKeySequence::Save);
  saveAction->setShortcutContext(Qt::WindowShortcut);
  connect(saveAction, &QAction::triggered, this, &OnsetReviewWindow::Save);
  addAction(saveAction);

  chart_->resize(1000, 600);
  resize(1000, 600 + 6 * fontMetrics().height() + 40);
  Refresh(true);
}

void OnsetReviewWindow::Refresh(bool newHit) {
  if (newHit) {
    chart_->SetChart(review_.Chart());
  } else {
    chart_->ChartChanged();
  }
  status_->setText(ToQString(review_.StatusLine()));
  const OnsetRow* row = review_.Review().CurrentRow();
  reject_->setText(row != nullptr && row->state == OnsetState::kRejected ? tr("Keep")
                                                                         : tr("Reject"));
  reject_->setEnabled(row != nullptr);
}

void OnsetReviewWindow::Go(bool forward) {
  if (forward ? review_.Next() : review_.Previous()) {
    Refresh(true);
  } else {
    // The end of the hits that way: the status line says so, the hit stays.
    Refresh(false);
    status_->setText(status_->text() + tr(forward ? "   (the last hit)" : "   (the first hit)"));
  }
}

void OnsetReviewWindow::ToggleRejected() {
  review_.ToggleRejected();
  Refresh(false);
}

void OnsetReviewWindow::Save() {
  // The hits not looked at are picked now: a large database takes a moment.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  review_.Save();
  QApplication::restoreOverrideCursor();
  Refresh(false);
}

void OnsetReviewWindow::reject() {
  if (review_.MayClose()) QDialog::reject();
}

void OnsetReviewWindow::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    switch (event->key()) {
      case Qt::Key_Left:
        Go(false);
        return event->accept();
      case Qt::Key_Right:
        Go(true);
        return event->accept();
      case Qt::Key_R:
        ToggleRejected();
        return event->accept();
      case Qt::Key_Home:
        chart_->ShowWholeChart();
        return event->accept();
      default:
        break;
    }
  }
  // Escape closes (through reject); Enter has no default button to press.
  QDialog::keyPressEvent(event);
}

void OnsetReviewWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Without a window manager nobody hands the new window the keyboard.
  raise();
  activateWindow();
}

void ReviewOnsets(QWidget* parent, Host& host, const FeatureSettings& settings, int maxSamples) {
  const std::optional<std::string> chosen = host.OpenFile(kOnsetReviewFilter);
  if (!chosen) return;
  OnsetReviewSession review(host);
  if (!review.Open(*chosen, settings, maxSamples)) return;
  OnsetReviewWindow window(review, parent);
  window.exec();
}

}  // namespace plexo::qt
