// The sample limit and the wavelet method typed and picked in the two desktop dialogs through
// the window system, with the setup file checked on disk after the dialog has closed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QThread>
#include <QTimer>

#include "app/fake_calculations.h"
#include "frontends/qt/feature_dialog.h"
#include "frontends/qt/options_dialog.h"
#include "platform/recording_host.h"
#include "qt_test_environment.h"
#include "signal/setup_file.h"
#include "support/temp_dir.h"
#include "window_system_input.h"

namespace plexo::qt {
namespace {

using plexo::testing::TempDir;

// Runs `steps` once `view` is the modal window on screen and has the focus.
void WhenShown(DialogView& view, std::function<void()> steps) {
  auto* timer = new QTimer;
  timer->setInterval(50);
  QObject::connect(timer, &QTimer::timeout, [timer, steps, &view] {
    if (QApplication::activeModalWidget() == &view && view.isActiveWindow()) {
      timer->stop();
      timer->deleteLater();
      steps();
    }
  });
  timer->start();
}

// Lets the window system deliver what was sent before the next step looks at the widgets.
void Settle() {
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(10);
  }
}

// Types "0" after the limit's text (16384 -> 163840) and picks "FFT" in the method's combo box
// by its initial letter, as a person does with the keyboard.
void TypeLimitAndPickFft(testing::WindowSystemInput& input, QWidget* limit, QWidget* method) {
  input.Click(limit);
  Settle();
  qobject_cast<QLineEdit*>(limit)->end(false);  // the caret after the text, wherever the click was
  input.PressKey(Qt::Key_0);
  input.Click(method);  // opens the list
  Settle();
  input.PressKey(Qt::Key_F);
  input.PressKey(Qt::Key_Return);
  Settle();
}

void ExpectStored(const std::string& setupPath) {
  CalcSettings stored;
  std::string fft, wt, hw;
  ASSERT_TRUE(LoadSetup(stored, fft, wt, hw, setupPath));
  EXPECT_EQ(stored.maxSamples, 163840);
  EXPECT_EQ(stored.wtMethod, 1);
  const std::string text = plexo::testing::ReadBytes(setupPath);
  EXPECT_NE(text.find("[WT-Method]\t1\r\n[Max-Samples]\t163840\r\n"), std::string::npos) << text;
}

TEST(DialogLimitsWindowTest, TheFeatureDialogStoresWhatWasTypedAndPicked) {
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input here";
  TempDir dir;
  const std::string setupPath = dir.File("Setup.ini");
  RecordingHost host;
  FeatureWorkspace workspace;
  FeatureDialog dialog(nullptr, workspace, &host, setupPath);
  DialogView& view = dialog.View();
  std::string limitText, methodText;
  WhenShown(view, [&] {
    input.Click(view.Widget(kIdfModulusMaximum));  // a wavelet column enables the method
    Settle();
    TypeLimitAndPickFft(input, view.Widget(kIdfMaxSamples), view.Widget(kIdfWaveletMethodCombo));
    limitText = qobject_cast<QLineEdit*>(view.Widget(kIdfMaxSamples))->text().toStdString();
    methodText =
        qobject_cast<QComboBox*>(view.Widget(kIdfWaveletMethodCombo))->currentText().toStdString();
    input.PressKey(Qt::Key_Escape);
  });
  dialog.Exec();
  EXPECT_EQ(limitText, "163840");
  EXPECT_EQ(methodText, "FFT");
  ExpectStored(setupPath);
}

TEST(DialogLimitsWindowTest, TheOptionsDialogStoresWhatWasTypedAndPicked) {
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input here";
  TempDir dir;
  const std::string setupPath = dir.File("Setup.ini");
  RecordingHost host;
  plexo::testing::FakeCalculations calculations;
  // The limit in a Single FFT, the method in a Single TFT: each mode enables its own.
  {
    OptionsDialog dialog(nullptr, CalcMode::kSingleFft, calculations, setupPath, &host);
    DialogView& view = dialog.View();
    WhenShown(view, [&] {
      input.Click(view.Widget(kIdcMaxSamples));
      Settle();
      qobject_cast<QLineEdit*>(view.Widget(kIdcMaxSamples))->end(false);
      input.PressKey(Qt::Key_0);
      Settle();
      input.PressKey(Qt::Key_Return);  // "Calculate!" is the default button
      Settle();
      input.RequestClose(&view);
    });
    dialog.Exec();
  }
  ASSERT_EQ(calculations.calls.size(), 1u);
  EXPECT_EQ(calculations.calls[0].maxSamples, 163840);
  {
    OptionsDialog dialog(nullptr, CalcMode::kSingleTft, calculations, setupPath, &host);
    DialogView& view = dialog.View();
    WhenShown(view, [&] {
      input.Click(view.Widget(kIdcWaveletMethodCombo));
      Settle();
      input.PressKey(Qt::Key_F);
      input.PressKey(Qt::Key_Return);
      Settle();
      input.RequestClose(&view);
    });
    dialog.Exec();
  }
  EXPECT_TRUE(host.messages.empty()) << host.messages.front();
  ExpectStored(setupPath);
}

}  // namespace
}  // namespace plexo::qt
