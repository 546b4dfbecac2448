#include "frontends/qt/picture_view.h"

#include <QPainter>

#include "app/title_picture.h"
#include "frontends/qt/cv_image.h"

namespace plexo::qt {

CPictureView::CPictureView(QWidget* parent)
    : QFrame(parent), picture_(ToQImage(DrawTitlePicture())) {
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
}

void CPictureView::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  // The picture keeps its size whatever the window's.
  painter.drawImage(kPictureX, kPictureY, picture_);
}

}  // namespace plexo::qt
