// The desktop's Options dialog mirrors its logic, and runs calculations on a worker thread.
#include "frontends/qt/options_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/fake_calculations.h"
#include "platform/memory_controls.h"
#include "platform/recording_host.h"
#include "qt_test_environment.h"
#include "signal/setup_file.h"
#include "support/temp_dir.h"

namespace plexo::qt {
namespace {

using plexo::testing::FakeCalculations;
using plexo::testing::TempDir;
using testing::WaitUntil;

class QtOptionsDialogTest : public ::testing::TestWithParam<CalcMode> {
 protected:
  void SetUp() override {
    CalcSettings settings;
    settings.wtSelect = 1;
    settings.autoRoi = 1;
    settings.fftOutputType = 1;
    ASSERT_TRUE(SaveSetup(settings, "/in/fft", "/in/wt.txt", "/in/hw.txt", setupPath));
  }

  TempDir folder;
  std::string setupPath = folder.File("Setup.ini");
  RecordingHost host;
  FakeCalculations calculations;
};

TEST_P(QtOptionsDialogTest, WidgetsMirrorTheDialogLogic) {
  MemoryControls memory(OptionsDialogTemplate());
  InlineRunner runner;
  COptionsDlg logic(GetParam(), memory, host, calculations, runner, setupPath);
  logic.OnInitDialog();

  OptionsDialog dialog(nullptr, GetParam(), calculations, setupPath, &host);
  DialogView& view = dialog.View();
  view.show();
  EXPECT_EQ(view.windowTitle(), "Options");
  for (const ControlSpec& control : OptionsDialogTemplate().controls) {
    if (control.id == kStaticId) continue;
    QWidget* widget = view.Widget(control.id);
    ASSERT_NE(widget, nullptr) << control.id;
    EXPECT_EQ(widget->isEnabled(), memory.IsEnabled(control.id)) << control.id;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      EXPECT_EQ(edit->text().toStdString(), memory.Text(control.id)) << control.id;
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      EXPECT_EQ(combo->currentIndex(), memory.ComboIndex(control.id)) << control.id;
      EXPECT_EQ(combo->count(), static_cast<int>(control.items.size()));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      EXPECT_EQ(button->text().toStdString(), control.caption);
      EXPECT_EQ(button->isChecked(), memory.IsChecked(control.id)) << control.id;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, QtOptionsDialogTest,
                         ::testing::Values(CalcMode::kSingleFft, CalcMode::kSingleTft,
                                           CalcMode::kAverageFft, CalcMode::kAverageTft,
                                           CalcMode::kConvolution, CalcMode::kDeconvolution),
                         [](const ::testing::TestParamInfo<CalcMode>& info) {
                           return "Mode" + std::to_string(static_cast<int>(info.param));
                         });

TEST_F(QtOptionsDialogTest, ClicksReachTheLogicAndClosingSavesTheSetupFile) {
  OptionsDialog dialog(nullptr, CalcMode::kSingleTft, calculations, setupPath, &host);
  DialogView& view = dialog.View();
  view.show();
  ASSERT_TRUE(view.IsChecked(kIdcRadioSpwvd));
  qobject_cast<QAbstractButton*>(view.Widget(kIdcRadioCwt))->click();
  EXPECT_TRUE(view.IsChecked(kIdcRadioCwt));
  EXPECT_FALSE(view.IsChecked(kIdcRadioSpwvd));
  EXPECT_TRUE(view.Widget(kIdcWaveletLength)->isEnabled());
  EXPECT_FALSE(view.Widget(kIdcSubsampling)->isEnabled());

  // A greyed button does not answer.
  qobject_cast<QAbstractButton*>(view.Widget(kIdcLoadHwPath))->click();
  EXPECT_TRUE(host.messages.empty());

  qobject_cast<QLineEdit*>(view.Widget(kIdcWtPath))->setText("/typed/w.txt");
  view.close();
  EXPECT_FALSE(view.isVisible());
  CalcSettings saved;
  std::string fft, wt, hw;
  ASSERT_TRUE(LoadSetup(saved, fft, wt, hw, setupPath));
  EXPECT_EQ(wt, "/typed/w.txt");
  EXPECT_EQ(saved.wtSelect, 0.0);
}

TEST_F(QtOptionsDialogTest, CalculationRunsOnAWorkerWithTheButtonGreyedAndTheBarMoving) {
  std::atomic<bool> release{false};
  std::atomic<bool> stopSeen{false};
  std::thread::id worker;
  calculations.during = [&](CalcProgress& progress, Host&) {
    worker = std::this_thread::get_id();
    progress.SetRange(0, 4);
    progress.SetPos(2);
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    stopSeen = progress.StopRequested();
    progress.SetPos(4);
  };
  OptionsDialog dialog(nullptr, CalcMode::kAverageFft, calculations, setupPath, &host);
  DialogView& view = dialog.View();
  view.show();
  auto* bar = qobject_cast<QProgressBar*>(view.Widget(kIdcProgress));
  auto* calculate = qobject_cast<QAbstractButton*>(view.Widget(kIdcCalculate));
  calculate->click();
  ASSERT_TRUE(WaitUntil([bar] { return bar->value() == 2; }));
  EXPECT_EQ(bar->maximum(), 4);
  EXPECT_FALSE(calculate->isEnabled());
  EXPECT_TRUE(dialog.Logic().Running());

  // Closing while it runs asks it to stop; the window stays until the run is over.
  view.close();
  EXPECT_TRUE(view.isVisible());
  release = true;
  ASSERT_TRUE(WaitUntil([&view] { return !view.isVisible(); }));
  EXPECT_TRUE(stopSeen);
  EXPECT_NE(worker, std::this_thread::get_id());
  EXPECT_EQ(calculations.calls.size(), 1u);
  EXPECT_EQ(view.result(), kIdCancel);
  EXPECT_TRUE(WaitUntil([bar] { return bar->value() == 4; }));
}

TEST(QtHostTest, MessageFromACalculationThreadIsShownOnTheGuiThreadAndWaitsForOk) {
  QtHost host;
  QString shown;
  bool onGuiThread = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      onGuiThread = box->thread() == QApplication::instance()->thread();
      box->accept();
    }
  });
  closer.start(20);
  std::atomic<bool> returned{false};
  std::thread calculation([&] {
    host.MessageBox("No data present in file or error during loading!");
    returned = true;
  });
  EXPECT_TRUE(WaitUntil([&] { return returned.load(); }));
  calculation.join();
  EXPECT_EQ(shown, "No data present in file or error during loading!");
  EXPECT_TRUE(onGuiThread);
}

TEST(QtHostTest, FiltersTakeQtsForm) {
  EXPECT_EQ(ToQtNameFilters("ASCII-waveform(*.txt)|*.txt||"),
            QStringList({"ASCII-waveform(*.txt)"}));
  EXPECT_EQ(ToQtNameFilters("PLEXO Ini-Files(*.ini)|*.ini||"),
            QStringList({"PLEXO Ini-Files(*.ini)"}));
  EXPECT_EQ(ToQtNameFilters("Text|*.txt;*.dat|All|*.*||"),
            QStringList({"Text (*.txt *.dat)", "All (*.*)"}));
}

}  // namespace
}  // namespace plexo::qt
