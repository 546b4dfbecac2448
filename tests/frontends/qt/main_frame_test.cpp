// The main window as the user meets it: title, size, menu, picture, status bar, commands.
#include "frontends/qt/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <thread>

#include "app/title_picture.h"
#include "frontends/qt/cv_image.h"
#include "frontends/qt/picture_view.h"
#include "qt_test_environment.h"

namespace plexo::qt {
namespace {

TEST(MainFrameTest, IsAFixedSizeWindowWithTheMenuOfTheCommandTable) {
  CMainFrame frame("/nonexistent/Setup.ini");
  frame.show();
  EXPECT_EQ(frame.windowTitle(), "PLEXO++");
  EXPECT_EQ(frame.size(), QSize(700, 500));
  EXPECT_EQ(frame.minimumSize(), frame.maximumSize());

  const QList<QAction*> menus = frame.menuBar()->actions();
  ASSERT_EQ(menus.size(), static_cast<int>(MainMenu().size()));
  for (int m = 0; m < menus.size(); ++m) {
    const Menu& menu = MainMenu()[m];
    EXPECT_EQ(menus[m]->text().toStdString(), menu.caption);
    const QList<QAction*> items = menus[m]->menu()->actions();
    ASSERT_EQ(items.size(), static_cast<int>(menu.items.size())) << menu.caption;
    for (int i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i]->isSeparator(), menu.items[i].separator);
      if (!menu.items[i].separator) {
        EXPECT_EQ(items[i]->text().toStdString(), menu.items[i].caption);
        EXPECT_EQ(frame.Action(menu.items[i].id), items[i]);
      }
    }
  }
}

TEST(MainFrameTest, ShowsTheTitlePictureAtItsPlaceAndTheStatusPanes) {
  CMainFrame frame("/nonexistent/Setup.ini");
  frame.show();
  QApplication::processEvents();
  const QImage shown = frame.PictureView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage picture = ToQImage(DrawTitlePicture()).convertToFormat(QImage::Format_RGB32);
  for (const QPoint at : {QPoint(0, 0), QPoint(300, 80), QPoint(599, 399), QPoint(150, 250)}) {
    EXPECT_EQ(shown.pixel(at + QPoint(20, 10)), picture.pixel(at)) << at.x() << "," << at.y();
  }

  QStringList panes;
  for (QLabel* pane : frame.StatusPanes()) panes << pane->text();
  EXPECT_EQ(panes, QStringList({"Ready", "CAP", "NUM", "SCRL"}));

  QAction* statusBar = frame.Action(kIdViewStatusBar);
  ASSERT_NE(statusBar, nullptr);
  statusBar->trigger();
  EXPECT_TRUE(frame.statusBar()->isHidden());
  EXPECT_FALSE(statusBar->isChecked());
  statusBar->trigger();
  EXPECT_FALSE(frame.statusBar()->isHidden());
}

// A viewer whose file picker is cancelled says so in a message box, as the desktop's own host
// shows it.
// A calculation's host (each dialog has its own) reports what was written; the frame's message
// pane shows it, from the worker thread too.
TEST(MainFrameTest, TheStatusBarSaysWhatWasWritten) {
  CMainFrame frame("/nonexistent/Setup.ini");
  frame.show();
  QtHost host;
  host.ResultWritten({"/data/FXData/FX_Results.txt"});
  EXPECT_EQ(frame.StatusPanes()[0]->text(), "Wrote /data/FXData/FX_Results.txt");
  std::thread worker([&host] { host.ResultWritten({"/d/hit_fft.txt", "/d/hit_fft_preview.bmp"}); });
  ASSERT_TRUE(testing::WaitUntil(
      [&] { return frame.StatusPanes()[0]->text() == "Wrote /d/hit_fft.txt and 1 more file"; }));
  worker.join();
  EXPECT_EQ(WrittenStatusText({"a", "b", "c"}), "Wrote a and 2 more files");
}

// The Help menu opens the user's guide in the desktop's viewer (here a handler of file URLs
// stands in for it).
class UrlCatcher : public QObject {
  Q_OBJECT
 public slots:
  void Open(const QUrl& url) { urls << url; }

 public:
  QList<QUrl> urls;
};

TEST(MainFrameTest, TheHelpMenuOpensTheReadme) {
  CMainFrame frame("/nonexistent/Setup.ini");
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "Open");
  QAction* action = frame.Action(kIdHelpReadme);
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->text(), "PLEXO++ &Guide (README)");
  action->trigger();
  QDesktopServices::unsetUrlHandler("file");
  ASSERT_EQ(catcher.urls.size(), 1);
  EXPECT_TRUE(catcher.urls[0].toLocalFile().endsWith("README.md"))
      << catcher.urls[0].toString().toStdString();
  EXPECT_TRUE(QFileInfo(catcher.urls[0].toLocalFile()).isFile());
}

TEST(MainFrameTest, ViewerWithACancelledPickerSaysTheFormatMessage) {
  CMainFrame frame("/nonexistent/Setup.ini");
  frame.show();
  QString shown;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&shown] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* picker = qobject_cast<QFileDialog*>(modal)) {
      picker->reject();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      shown = box->text();
      box->accept();
    }
  });
  closer.start(20);
  frame.Action(kIdViewAeFile)->trigger();
  EXPECT_EQ(shown, "Filetype has the wrong format! Provide a valid file!");
}

}  // namespace
}  // namespace plexo::qt

#include "main_frame_test.moc"
