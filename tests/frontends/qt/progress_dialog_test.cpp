// The desktop's conversion progress dialog: the operator runs on a worker thread inside the
// dialog's own event loop, the bar moves, and "Abort" stops it between files.
#include "frontends/qt/progress_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QProgressBar>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "frontends/qt/main_frame.h"
#include "platform/recording_host.h"
#include "qt_test_environment.h"
#include "support/temp_dir.h"

namespace plexo::qt {
namespace {

using plexo::testing::ReadBytes;
using plexo::testing::TempDir;
using plexo::testing::WriteBytes;
using testing::WaitUntil;

// An operator of many files: it moves the bar after each and stops when asked to.
class SlowOperators : public AsciiOperators {
 public:
  CalcStatus Run(CalcMode, const std::string&, CalcProgress& progress, Host&) override {
    worker = std::this_thread::get_id();
    progress.SetRange(0, 1000);
    for (int file = 1; file <= 1000; ++file) {
      if (progress.StopRequested()) return CalcStatus::kStopped;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      progress.SetPos(file);
      filesDone = file;
    }
    return CalcStatus::kDone;
  }
  std::atomic<int> filesDone{0};
  std::thread::id worker;
};

TEST(QtProgressDialogTest, AbortStopsTheOperatorOnItsWorkerAndClosesTheDialog) {
  RecordingHost host;
  host.folder_answers.push_back("/any/folder");
  SlowOperators operators;
  ProgressDialog dialog(nullptr, CalcMode::kColumns, operators, &host);
  DialogView& view = dialog.View();
  bool barMoved = false;
  bool abortTaken = false;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    auto* bar = qobject_cast<QProgressBar*>(view.Widget(kIdcConversionProgress));
    if (bar->value() >= 3 && !barMoved) {
      barMoved = bar->maximum() == 1000;
      EXPECT_EQ(view.windowTitle(), "Conversion Progress");
      auto* abort = qobject_cast<QAbstractButton*>(view.Widget(kIdCancel));
      EXPECT_EQ(abort->text(), "Abort");
      abort->click();
      abortTaken = !abort->isEnabled();
    }
  });
  driver.start(10);
  const int result = dialog.Exec();
  EXPECT_TRUE(barMoved);
  EXPECT_TRUE(abortTaken);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(dialog.Logic().Status(), CalcStatus::kStopped);
  EXPECT_LT(operators.filesDone.load(), 1000);
  EXPECT_NE(operators.worker, std::this_thread::get_id());
}

TEST(QtProgressDialogTest, ARealOperatorWritesItsTableAndEndsTheDialog) {
  TempDir dir;
  WriteBytes(dir / "a.txt", "x\nx\nx\nx\nx\nx\nx\nTIME OF TEST:\t2.5\nx\n");
  RecordingHost host;
  host.folder_answers.push_back(dir.path());
  RealAsciiOperators operators;
  ProgressDialog dialog(nullptr, CalcMode::kAccumulate, operators, &host);
  EXPECT_EQ(dialog.Exec(), 1);
  EXPECT_EQ(ReadBytes(dir / "convData/Accumulated_waveforms.txt"),
            "1,000000e+000\t2,500000e+000\r\n");
  EXPECT_EQ(host.folder_requests, 1);
}

TEST(QtProgressDialogTest, ACancelledFolderPickerEndsTheDialogAtOnce) {
  RecordingHost host;  // no answer queued: the picker is cancelled
  SlowOperators operators;
  ProgressDialog dialog(nullptr, CalcMode::kSplit, operators, &host);
  EXPECT_EQ(dialog.Exec(), 0);
  EXPECT_EQ(operators.filesDone.load(), 0);
}

TEST(QtProgressDialogTest, TheAsciiOperatorsMenuOpensTheDialogWhichAsksForTheFolder) {
  CMainFrame frame("/nonexistent/Setup.ini");
  frame.show();
  bool dialogShown = false;
  bool pickerShown = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      pickerShown = true;
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == "Conversion Progress")
          dialogShown = true;
      }
      picker->reject();
    }
  });
  closer.start(20);
  frame.Action(kIdSplit)->trigger();
  EXPECT_TRUE(pickerShown);
  EXPECT_TRUE(dialogShown);
  EXPECT_EQ(frame.Commands().calcMode(), CalcMode::kSplit);
}

}  // namespace
}  // namespace plexo::qt
