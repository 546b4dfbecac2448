#include "frontends/qt/desktop.h"

#include <QApplication>
#include <QIcon>

#include "app/about_box.h"
#include "app/title_picture.h"
#include "frontends/qt/cv_image.h"
#include "frontends/qt/main_frame.h"
#include "platform/setup_location.h"

namespace plexo::qt {

int RunDesktop(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kProgramTitle));
  QIcon icon;
  icon.addPixmap(ToQPixmap(DrawProgramIcon(32)));
  icon.addPixmap(ToQPixmap(DrawProgramIcon(16)));
  QApplication::setWindowIcon(icon);

  CMainFrame frame(SetupIniPathForSaving());
  frame.show();
  return app.exec();
}

}  // namespace plexo::qt
