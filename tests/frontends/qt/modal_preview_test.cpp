// Every calculation that shows a preview, started as a person starts it: the Options dialog
// runs modally (exec), "Calculate!" is clicked and the preview is answered with a key or its
// close box, all through the window system. The results must then be on disk, and nothing typed
// at the preview may reach the dialog behind it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/real_calculations.h"
#include "frontends/qt/options_dialog.h"
#include "frontends/qt/preview_window.h"
#include "qt_test_environment.h"
#include "signal/setup_file.h"
#include "signal/waveform_file.h"
#include "support/temp_dir.h"
#include "window_system_input.h"

namespace plexo::qt {
namespace {

using plexo::testing::Exists;
using plexo::testing::ReadBytes;
using plexo::testing::TempDir;

enum class Answer { kSpace, kEscape, kReturn, kLetter, kCloseBox };

struct PreviewCase {
  const char* name;
  CalcMode mode;
  int method;  // [WT-Select]: 0 wavelet transform, 1 Wigner-Ville
  const char* title;
  int height;  // of the picture; every preview is 800 wide
  Answer answer;
  std::vector<std::string> results;  // relative to the test folder
};

void PrintTo(const PreviewCase& c, std::ostream* os) { *os << c.name; }

// A decaying burst, 1000 samples at 0.1 us.
void WriteBurst(const std::string& path, double frequency, double amplitude) {
  std::vector<double> samples(1000);
  for (size_t i = 0; i < samples.size(); ++i) {
    const double t = static_cast<double>(i) * 1e-7;
    samples[i] = i < 100 ? 0.0
                         : amplitude * std::exp(-(t - 1e-5) * 4e4) *
                               std::sin(2 * M_PI * frequency * (t - 1e-5));
  }
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  header.channel = 1;
  header.units = "volts";
  ASSERT_TRUE(WriteWaveform(path, samples.data(), static_cast<int>(samples.size()), header));
}

bool IsFolderMode(CalcMode mode) {
  return mode == CalcMode::kAverageFft || mode == CalcMode::kAverageTft;
}

// Polls the scene while the dialog's own event loop runs, one step after the other; a step
// returns true when it is done. A watchdog ends every window should a step not finish within
// its time, so that a regression fails instead of hanging the suite.
class Script {
 public:
  void Add(std::string what, std::function<bool()> step, int timeoutMs = 10000) {
    steps_.push_back({std::move(what), std::move(step), timeoutMs});
  }
  void Start() {
    clock_.start();
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(25);
  }
  bool Finished() const { return next_ == steps_.size(); }
  std::string Stuck() const { return Finished() ? "" : steps_[next_].what; }

 private:
  void Tick() {
    while (next_ < steps_.size() && steps_[next_].step()) {
      ++next_;
      clock_.restart();
    }
    if (Finished()) {
      timer_.stop();
    } else if (clock_.elapsed() > steps_[next_].timeoutMs) {
      timer_.stop();
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* preview = qobject_cast<PreviewWindow*>(window)) preview->done(0);
      }
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) {
          dialog->done(0);
        }
      }
    }
  }

  struct Step {
    std::string what;
    std::function<bool()> step;
    int timeoutMs;
  };
  std::vector<Step> steps_;
  size_t next_ = 0;
  QTimer timer_;
  QElapsedTimer clock_;  // since the current step began
};

// True once `widget` is on screen and has been for `settleMs` (the time a person needs to see
// it, and the window system to hand it the keyboard).
class Settled {
 public:
  explicit Settled(int settleMs) : settleMs_(settleMs) {}
  bool operator()(QWidget* widget) {
    const bool shown = widget != nullptr && widget->isVisible() && widget->windowHandle() &&
                       widget->windowHandle()->isExposed();
    if (!shown) {
      clock_.invalidate();
      return false;
    }
    if (!clock_.isValid()) clock_.start();
    return clock_.elapsed() >= settleMs_;
  }

 private:
  int settleMs_;
  QElapsedTimer clock_;
};

PreviewWindow* VisiblePreview() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* preview = qobject_cast<PreviewWindow*>(window);
    if (preview != nullptr && preview->isVisible()) return preview;
  }
  return nullptr;
}

class ModalPreviewTest : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(ModalPreviewTest, ResultsAreWrittenAfterTheUserAnswersThePreview) {
  const PreviewCase& c = GetParam();
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input on " << input.PlatformName().toStdString();

  TempDir folder;
  std::string path = folder.File("hit.txt");
  if (IsFolderMode(c.mode)) {
    std::filesystem::create_directory(folder.File("data"));
    WriteBurst(folder.File("data/a.txt"), 3e5, 1.0);
    WriteBurst(folder.File("data/b.txt"), 4e5, 0.5);
    path = folder.File("data");
  } else {
    WriteBurst(path, 3e5, 1.0);
  }
  // A small grid keeps the sanitizer build quick; the path fields come from the setup file.
  CalcSettings settings;
  settings.timeEnd = 1e-4;
  settings.freqStart = 5e4;
  settings.freqEnd = 8e5;
  settings.freqRes = 5e4;
  settings.wtSelect = c.method;
  const std::string setup = folder.File("Setup.ini");
  ASSERT_TRUE(SaveSetup(settings, path, path, "", setup));

  RealCalculations calculations;
  OptionsDialog dialog(nullptr, c.mode, calculations, setup);
  DialogView& view = dialog.View();
  const bool methodRadioCwt = view.IsChecked(kIdcRadioCwt);

  Script script;
  Settled dialogShown(100);
  script.Add("the dialog shows", [&] { return dialogShown(&view); });
  script.Add("click Calculate!", [&] {
    input.Click(view.Widget(kIdcCalculate));
    return true;
  });
  Settled previewShown(200);
  QSize previewSize;
  bool interactive = false;
  script.Add(
      std::string("the preview \"") + c.title + "\" shows",
      [&] {
        PreviewWindow* preview = VisiblePreview();
        if (!previewShown(preview)) return false;
        EXPECT_EQ(preview->windowTitle().toStdString(), c.title);
        previewSize = preview->Image().size();
        interactive = preview->Chart() != nullptr;
        return true;
      },
      120000);  // the calculation runs meanwhile: slow in the sanitizer build
  script.Add("answer the preview", [&] {
    PreviewWindow* preview = VisiblePreview();
    if (preview == nullptr) return true;  // gone already: the next step says whether in time
    switch (c.answer) {
      case Answer::kSpace:
        input.PressKey(Qt::Key_Space);
        break;
      case Answer::kEscape:
        input.PressKey(Qt::Key_Escape);
        break;
      case Answer::kReturn:
        input.PressKey(Qt::Key_Return);
        break;
      case Answer::kLetter:
        input.PressKey(Qt::Key_Q);
        break;
      case Answer::kCloseBox:
        input.RequestClose(preview);
        break;
    }
    return true;
  });
  script.Add("the preview goes away", [&] { return VisiblePreview() == nullptr; });
  if (c.mode == CalcMode::kSingleFft) {
    // The Single FFT leaves the dialog open for the next file; the user closes it.
    script.Add("the run ends, then close the dialog", [&] {
      if (dialog.Logic().Running()) return false;
      input.RequestClose(&view);
      return true;
    });
  }
  script.Start();
  dialog.Exec();
  // The dialog of a folder or time-frequency run ends itself when the run returns, which may be
  // before the script's next look at the scene.
  testing::WaitUntil([&] { return script.Finished(); }, 2000);

  EXPECT_TRUE(script.Finished()) << "stuck at: " << script.Stuck();
  EXPECT_EQ(previewSize, QSize(800, c.height)) << "the preview file's picture";
  EXPECT_TRUE(interactive) << "the window draws the chart from the data";
  for (const std::string& result : c.results) {
    EXPECT_TRUE(Exists(folder.File(result))) << result;
  }
  // Nothing typed at the preview reached the dialog: the method is still the one that ran, and
  // so is what closing the dialog saved.
  EXPECT_EQ(view.IsChecked(kIdcRadioCwt), methodRadioCwt);
  CalcSettings saved;
  std::string fftPath, wtPath, hwPath;
  ASSERT_TRUE(LoadSetup(saved, fftPath, wtPath, hwPath, setup));
  EXPECT_EQ(saved.wtSelect, c.method);
  EXPECT_EQ(VisiblePreview(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPreview, ModalPreviewTest,
    ::testing::Values(
        PreviewCase{"SingleFftSpace",
                    CalcMode::kSingleFft,
                    0,
                    "FFT-File",
                    300,
                    Answer::kSpace,
                    {"hit_fft.txt", "hit_fft_preview.bmp"}},
        PreviewCase{"SingleFftCloseBox",
                    CalcMode::kSingleFft,
                    0,
                    "FFT-File",
                    300,
                    Answer::kCloseBox,
                    {"hit_fft.txt", "hit_fft_preview.bmp"}},
        PreviewCase{"WaveletEscape",
                    CalcMode::kSingleTft,
                    0,
                    "WT-File",
                    700,
                    Answer::kEscape,
                    {"hit_wt.txt", "hit_wt_preview.bmp"}},
        PreviewCase{"WaveletCloseBox",
                    CalcMode::kSingleTft,
                    0,
                    "WT-File",
                    700,
                    Answer::kCloseBox,
                    {"hit_wt.txt", "hit_wt_preview.bmp"}},
        PreviewCase{"WignerVilleSpace",
                    CalcMode::kSingleTft,
                    1,
                    "SPVWD-File",
                    700,
                    Answer::kSpace,
                    {"hit_spvwd.txt", "hit_spvwd_preview.bmp"}},
        PreviewCase{"WignerVilleCloseBox",
                    CalcMode::kSingleTft,
                    1,
                    "SPVWD-File",
                    700,
                    Answer::kCloseBox,
                    {"hit_spvwd.txt", "hit_spvwd_preview.bmp"}},
        PreviewCase{"AverageFftReturn",
                    CalcMode::kAverageFft,
                    0,
                    "FFT-File",
                    300,
                    Answer::kReturn,
                    {"data/avgFFTData/average_FFT.txt", "data/avgFFTData/average_FFT_preview.bmp"}},
        PreviewCase{"AverageFftCloseBox",
                    CalcMode::kAverageFft,
                    0,
                    "FFT-File",
                    300,
                    Answer::kCloseBox,
                    {"data/avgFFTData/average_FFT.txt", "data/avgFFTData/average_FFT_preview.bmp"}},
        PreviewCase{"AverageWaveletLetter",
                    CalcMode::kAverageTft,
                    0,
                    "WT-File",
                    700,
                    Answer::kLetter,
                    {"data/avgWTData/average_signal.txt", "data/avgWTData/average_signal_wt.txt",
                     "data/avgWTData/average_signal_wt_preview.bmp"}},
        PreviewCase{"AverageWignerVilleCloseBox",
                    CalcMode::kAverageTft,
                    1,
                    "SPVWD-File",
                    700,
                    Answer::kCloseBox,
                    {"data/avgWTData/average_signal.txt", "data/avgWTData/average_signal_spvwd.txt",
                     "data/avgWTData/average_signal_spvwd_preview.bmp"}}),
    [](const ::testing::TestParamInfo<PreviewCase>& info) { return info.param.name; });

}  // namespace
}  // namespace plexo::qt
