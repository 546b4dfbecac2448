// The desktop's Feature Extraction dialog, run modally from the menu and driven by mouse
// events: its rules reach the widgets and "Extract!" writes the table on a worker thread.
#include "frontends/qt/feature_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include "../features/feature_test_data.h"
#include "frontends/qt/main_frame.h"
#include "platform/recording_host.h"
#include "qt_test_environment.h"
#include "support/temp_dir.h"

namespace plexo::qt {
namespace {

using testing::WaitUntil;

// A click near the left edge: on a check box's indicator, inside any button.
void MouseClick(QWidget* widget) {
  const QPoint centre(8, widget->height() / 2);
  QMouseEvent press(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, centre, widget->mapToGlobal(centre),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}

// Runs `steps` once the next modal dialog is up.
void WhenModal(std::function<void(QWidget*)> steps) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, steps] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      steps(modal);
    }
  });
  timer->start();
}

TEST(QtFeatureDialogTest, MenuCommandOpensTheDialogAndEscapeClosesIt) {
  CMainFrame frame("/nonexistent/Setup.ini");
  frame.show();
  QString title;
  bool aicChecked = false;
  WhenModal([&](QWidget* modal) {
    title = modal->windowTitle();
    auto* view = qobject_cast<DialogView*>(modal);
    ASSERT_NE(view, nullptr);
    MouseClick(view->Widget(kIdfArrivalTime));
    aicChecked = view->IsChecked(kIdfUseAic);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(modal, &escape);
  });
  frame.Action(kIdFeatureExtraction)->trigger();  // returns when the dialog has closed
  EXPECT_EQ(title, "Feature Extraction");
  EXPECT_TRUE(aicChecked);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtFeatureDialogTest, ClicksFollowTheRulesAndExtractWritesTheTable) {
  plexo::testing::TempDir dir;
  plexo::testing::WriteWaveformFile(
      dir / "a.txt", plexo::testing::BurstSamples(4096, 2100, 2e5, 5e5, 1e-7, 3), 1e-7, 4.0);
  RecordingHost host;
  host.folder_answers.push_back(dir.path());
  FeatureWorkspace workspace;
  FeatureDialog dialog(nullptr, workspace, &host);
  DialogView& view = dialog.View();
  std::string ppText;
  bool ppEnabled = true;
  bool wtGroupEnabled = false;
  WhenModal([&](QWidget*) {
    MouseClick(view.Widget(kIdfPartialPower[2]));
    ppText = qobject_cast<QLineEdit*>(view.Widget(kIdfPpBegin[2]))->text().toStdString();
    ppEnabled = view.Widget(kIdfPpBegin[2])->isEnabled();
    MouseClick(view.Widget(kIdfModulusMaximum));
    wtGroupEnabled = view.Widget(kIdfFreqResolution)->isEnabled();
    MouseClick(view.Widget(kIdfExtract));
  });
  EXPECT_EQ(dialog.Exec(), kIdOk);  // the run ends the dialog once the table is written
  EXPECT_EQ(ppText, "0");
  EXPECT_FALSE(ppEnabled);
  EXPECT_TRUE(wtGroupEnabled);
  EXPECT_TRUE(host.messages.empty());
  const std::string table = plexo::testing::ReadBytes(FeatureResultsPath(dir.path()));
  EXPECT_EQ(table.rfind("maximum signal amplitude\tsignal energy\t", 0), 0u);
  EXPECT_NE(table.find("partial power 2\tpartial power 4\t"), std::string::npos);
  EXPECT_NE(table.find("modulus maximus\t\r\n"), std::string::npos);
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 3);
  // What the main window's status bar says "Wrote" of.
  EXPECT_EQ(host.written, std::vector<std::string>{FeatureResultsPath(dir.path())});
}

}  // namespace
}  // namespace plexo::qt
