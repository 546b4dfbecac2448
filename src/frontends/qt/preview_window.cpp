#include "frontends/qt/preview_window.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QVBoxLayout>
#include <algorithm>

#include "frontends/qt/chart_widget.h"
#include "frontends/qt/cv_image.h"
#include "frontends/qt/gui_thread.h"
#include "frontends/qt/qt_text.h"

namespace plexo::qt {

namespace {

// Keys that only modify another key do not end the wait: Ctrl must stay free for Ctrl+S.
bool IsModifierOnly(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_unknown:
      return true;
    default:
      return false;
  }
}

// The window a preview belongs to: the open dialog, else the active window.
QWidget* PreviewOwner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

}  // namespace

PreviewWindow::PreviewWindow(const QString& title, const QImage& image, QWidget* parent)
    : PreviewWindow(title, image, nullptr, parent) {}

PreviewWindow::PreviewWindow(const QString& title, const QImage& image, const ChartData* chart,
                             QWidget* parent)
    : QDialog(parent), image_(image), saveAction_(new QAction(tr("Save image as..."), this)) {
  setWindowTitle(title);
  setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  if (chart != nullptr) {
    // A resizable window; the chart starts at the picture's size, tall enough to read.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    chart_ = new ChartWidget(*chart, this);
    chart_->setFocusPolicy(Qt::NoFocus);  // keys go to the window, which ends the wait
    chart_->resize(image_.width(), std::max(image_.height(), 360));
    readout_ = new QLabel(this);
    readout_->setTextInteractionFlags(Qt::NoTextInteraction);
    auto* hint = new QLabel(tr(kGoOnHint), this);
    hint->setWordWrap(true);
    auto* lines = new QVBoxLayout;
    lines->setContentsMargins(8, 2, 8, 6);
    lines->setSpacing(2);
    lines->addWidget(readout_);
    lines->addWidget(hint);
    layout->addWidget(chart_, 1);
    layout->addLayout(lines);
    // Room for the readout's longest text without the window growing under the mouse.
    readout_->setMinimumHeight(readout_->fontMetrics().height());
    connect(chart_, &ChartWidget::ReadoutChanged, readout_, &QLabel::setText);
    resize(image_.width(), std::max(image_.height(), 360) + 2 * fontMetrics().height() + 24);
  } else {
    // A title bar with a close box only: no help button, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(image_));
    picture->setFixedSize(image_.size());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(picture);
  }

  saveAction_->setShortcut(QKeySequence::Save);
  saveAction_->setShortcutContext(Qt::WindowShortcut);
  connect(saveAction_, &QAction::triggered, this, &PreviewWindow::SaveImageAs);
  addAction(saveAction_);
}

QImage PreviewWindow::ShownImage() const { return chart_ != nullptr ? chart_->Picture() : image_; }

bool PreviewWindow::SaveImage(const QString& path) const {
  const QString suffix = QFileInfo(path).suffix().toLower();
  const char* format = suffix == "bmp" ? "BMP" : "PNG";
  return ShownImage().save(path, format);
}

void PreviewWindow::SaveImageAs() {
  QString filter;
  QString path = QFileDialog::getSaveFileName(this, tr("Save image as"), windowTitle() + ".png",
                                              tr("PNG image (*.png);;BMP image (*.bmp)"), &filter);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += filter.startsWith("BMP") ? ".bmp" : ".png";
  if (!SaveImage(path)) {
    QMessageBox::warning(this, windowTitle(), tr("The image could not be saved as\n%1").arg(path));
  }
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
  // Every key ends the wait, Escape and Enter included; QDialog's own key handling (default
  // button, Escape as reject) is not wanted here.
  if (IsModifierOnly(event->key())) {
    event->ignore();
    return;
  }
  if (chart_ != nullptr && event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier) {
    chart_->ShowWholeChart();
    event->accept();
    return;
  }
  event->accept();
  accept();
}

void PreviewWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(saveAction_);
  menu.exec(event->globalPos());
}

void PreviewWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Without a window manager nobody hands the new window the keyboard: ask for it, so that
  // keys reach the preview and never the dialog behind it.
  raise();
  activateWindow();
}

void ShowPreview(std::string_view title, const cv::Mat& image, const ChartData* chart) {
  const QString caption = ToQString(title);
  const QImage picture = ToQImage(image);
  RunOnGuiThreadAndWait([&caption, &picture, chart] {
    PreviewWindow window(caption, picture, chart, PreviewOwner());
    window.exec();
  });
}

}  // namespace plexo::qt
