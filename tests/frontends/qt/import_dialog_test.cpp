// "Import waveforms" as a person runs it: the dialog modal, the sample interval typed into its
// field and "Import" clicked through the window system; the import runs on the worker thread
// and the dialog closes itself when every file was written.
#include "frontends/qt/import_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
#include <filesystem>

#include "app/import_controls.h"
#include "platform/recording_host.h"
#include "qt_test_environment.h"
#include "signal/waveform_file.h"
#include "support/temp_dir.h"
#include "window_system_input.h"

namespace plexo::qt {
namespace {

using plexo::testing::TempDir;
using plexo::testing::WriteBytes;

// True once the widget has been on screen for a moment (long enough for the window system to
// hand it the keyboard).
bool ShownFor(QWidget* widget, QElapsedTimer& clock, int ms) {
  const bool shown =
      widget->isVisible() && widget->windowHandle() && widget->windowHandle()->isExposed();
  if (!shown) {
    clock.invalidate();
    return false;
  }
  if (!clock.isValid()) clock.start();
  return clock.elapsed() >= ms;
}

TEST(ImportDialogWindowTest, TypedIntervalAndClickImportTheFolder) {
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input on " << input.PlatformName().toStdString();

  TempDir dir;
  std::filesystem::create_directory(dir / "in");
  WriteBytes(dir / "in/EXP1_2_5_1500000.txt", "0.5\n0.25\n-0.125\n");
  WriteBytes(dir / "in/1_1_100_40545628.csv",
             "SOURCE FILE NAME: x\nDATE: d\nTIME: t\nSAMPLE INTERVAL (Seconds):   0.0000010000\n"
             "SIGNAL UNITS: volts\nTIME UNITS: Seconds\nDATA TYPE: WAVEFORM\n"
             "NUMBER OF DATA POINTS PER WAVEFORM: 2\nCHANNEL NUMBER: 1\nHIT NUMBER: 1\n"
             "TIME OF TEST: 1.5\n\n0.0, 0.5\n0.000001, 0.25\n");
  RecordingHost host;
  ImportDialog dialog(nullptr, ImportFolders{dir / "in", dir / "out"}, host);
  DialogView& view = dialog.View();
  ASSERT_TRUE(view.IsEnabled(kIdcImportDt));

  // Each step runs once the one before is done; a watchdog closes the dialog if one hangs.
  int step = 0;
  QElapsedTimer shown, since;
  since.start();
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (since.elapsed() > 60000) {
      view.done(0);
      return;
    }
    switch (step) {
      case 0:
        if (!ShownFor(&view, shown, 150)) return;
        input.Click(view.Widget(kIdcImportDt));
        ++step;
        return;
      case 1:
        if (!view.Widget(kIdcImportDt)->hasFocus()) return;
        for (int key : {Qt::Key_2, Qt::Key_E, Qt::Key_Minus, Qt::Key_7}) input.PressKey(key);
        ++step;
        return;
      case 2:
        if (view.Text(kIdcImportDt) != "2e-7") return;
        input.Click(view.Widget(kIdcImportStart));
        ++step;
        return;
      default:
        return;
    }
  });
  timer.start(25);
  dialog.Exec();
  timer.stop();

  EXPECT_EQ(step, 3) << "typed: " << view.Text(kIdcImportDt);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Imported 2 of 2 files into " + (dir / "out") + ".");
  Waveform wf;
  ASSERT_EQ(ReadWaveform(dir / "out/EXP1_2_5_1500000.txt", wf), 3);
  EXPECT_EQ(wf.sampleInterval, 2e-7);
  EXPECT_EQ(wf.channel, 2);
  ASSERT_EQ(ReadWaveform(dir / "out/1_1_100_40545628.txt", wf), 2);
  EXPECT_EQ(wf.sampleInterval, 1e-6);
  EXPECT_FALSE(dialog.Logic().Running());
}

}  // namespace
}  // namespace plexo::qt
