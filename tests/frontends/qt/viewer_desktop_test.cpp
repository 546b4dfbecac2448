// The three viewers as a person opens them: the desktop's main window runs its event loop, the
// "&File" menu command is chosen, the file is picked, and the image window that appears is
// answered with a key or its close box through the window system. The main window stays.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "frontends/qt/main_frame.h"
#include "frontends/qt/preview_window.h"
#include "qt_test_environment.h"
#include "signal/waveform_file.h"
#include "spectral/fft_file.h"
#include "support/temp_dir.h"
#include "timefreq/tft_file.h"
#include "window_system_input.h"

namespace plexo::qt {
namespace {

using plexo::testing::TempDir;

// The desktop's host with the file picker answered beforehand and messages kept (a message box
// here would wait for a person).
class PickingHost : public QtHost {
 public:
  void MessageBox(std::string_view text) override { messages.emplace_back(text); }
  std::optional<std::string> OpenFile(std::string_view filter) override {
    filters.emplace_back(filter);
    if (answers.empty()) return std::nullopt;
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<std::string> answers;
  std::vector<std::string> messages;
  std::vector<std::string> filters;
};

enum class Answer { kKey, kCloseBox };

struct ViewerCase {
  const char* name;
  int command;
  const char* file;
  const char* title;
  int height;
  Answer answer;
};
void PrintTo(const ViewerCase& c, std::ostream* os) { *os << c.name; }

void WriteFiles(const TempDir& folder) {
  std::vector<double> samples(900);
  for (int i = 1; i < 900; ++i) samples[i] = std::sin(0.1 * i) / (1 + 0.01 * i);
  WaveformHeader header;
  header.sampleInterval = 1e-7;
  header.units = "volts";
  ASSERT_TRUE(WriteWaveform(folder / "hit.txt", samples.data(), 900, header));
  std::vector<Complex> spectrum(256);
  std::vector<double> frequencies(256);
  for (int k = 0; k < 256; ++k) {
    spectrum[k] = {std::exp(-0.02 * k), 0.5};
    frequencies[k] = k * 1e4;
  }
  ASSERT_TRUE(
      WriteFFTFile(folder / "hit_fft.txt", spectrum.data(), frequencies.data(), 256, 1, 0.0, 1e-7));
  TftMatrix matrix;
  matrix.ZeroRegion(50, 200);
  for (int r = 0; r < 49; ++r)
    for (int c = 0; c < 200; ++c) matrix.Row(r)[c] = {std::exp(-0.001 * (r - 20) * (c - 90)), 0};
  ASSERT_TRUE(WriteTftModulus(folder / "hit_wt.txt", matrix, 50, 200, 2e4, 0.0, 1, 0.0, 1e-7));
}

PreviewWindow* VisiblePreview() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* preview = qobject_cast<PreviewWindow*>(window);
    if (preview != nullptr && preview->isVisible()) return preview;
  }
  return nullptr;
}

// True once `widget` is on screen and has been for a while (for the window system to hand it
// the keyboard).
bool ShownFor(QWidget* widget, QElapsedTimer& since, int milliseconds) {
  const bool shown = widget != nullptr && widget->isVisible() && widget->windowHandle() &&
                     widget->windowHandle()->isExposed();
  if (!shown) {
    since.invalidate();
    return false;
  }
  if (!since.isValid()) since.start();
  return since.elapsed() >= milliseconds;
}

class ViewerWindowTest : public ::testing::TestWithParam<ViewerCase> {};

TEST_P(ViewerWindowTest, MenuCommandShowsTheFileUntilTheUserAnswers) {
  const ViewerCase& c = GetParam();
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input on " << input.PlatformName().toStdString();
  TempDir folder;
  WriteFiles(folder);
  PickingHost host;
  host.answers.push_back(folder / c.file);
  CMainFrame frame(folder / "Setup.ini", nullptr, &host);
  frame.show();

  // The steps run one after the other from a timer of the event loop, which keeps running
  // inside the image window's wait; a step returns true when done.
  std::vector<std::pair<std::string, std::function<bool()>>> steps;
  size_t next = 0;
  QElapsedTimer frameShown, previewShown;
  QSize previewSize;
  bool interactive = false;
  std::string previewTitle;
  steps.emplace_back("the main window shows", [&] { return ShownFor(&frame, frameShown, 100); });
  steps.emplace_back("choose the menu command", [&] {
    // Like a click on the menu item: the command runs from the event loop, not from here.
    QTimer::singleShot(0, frame.Action(c.command), &QAction::trigger);
    return true;
  });
  steps.emplace_back("the image window shows", [&] {
    PreviewWindow* preview = VisiblePreview();
    if (!ShownFor(preview, previewShown, 200)) return false;
    previewTitle = preview->windowTitle().toStdString();
    previewSize = preview->Image().size();
    interactive = preview->Chart() != nullptr;
    if (c.answer == Answer::kKey)
      input.PressKey(Qt::Key_Space);
    else
      input.RequestClose(preview);
    return true;
  });
  steps.emplace_back("the image window goes away", [&] { return VisiblePreview() == nullptr; });

  QElapsedTimer stepClock;
  stepClock.start();
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    while (next < steps.size() && steps[next].second()) {
      ++next;
      stepClock.restart();
    }
    if (next < steps.size() && stepClock.elapsed() > 20000) {
      // A regression fails instead of hanging the suite.
      if (PreviewWindow* preview = VisiblePreview()) preview->done(0);
    }
  });
  timer.start(25);
  const bool finished = testing::WaitUntil([&] { return next == steps.size(); }, 60000);
  timer.stop();

  EXPECT_TRUE(finished) << "stuck at: " << (finished ? "" : steps[next].first);
  EXPECT_EQ(previewTitle, c.title);
  EXPECT_EQ(previewSize, QSize(800, c.height)) << "the viewer's picture";
  EXPECT_TRUE(interactive) << "the window draws the chart from the data";
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.filters.size(), 1u);
  EXPECT_TRUE(frame.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    ViewerWindows, ViewerWindowTest,
    ::testing::Values(
        ViewerCase{"WaveformKey", kIdViewAeFile, "hit.txt", "Waveform File", 200, Answer::kKey},
        ViewerCase{"FftCloseBox", kIdViewFftFile, "hit_fft.txt", "FFT File", 300,
                   Answer::kCloseBox},
        ViewerCase{"TftKey", kIdViewTftFile, "hit_wt.txt", "WT File", 600, Answer::kKey},
        ViewerCase{"TftCloseBox", kIdViewTftFile, "hit_wt.txt", "WT File", 600, Answer::kCloseBox}),
    [](const ::testing::TestParamInfo<ViewerCase>& info) { return info.param.name; });

// A refused file says so and opens no window.
TEST(ViewerWindowTest, CapitalTxtIsRefusedWithTheFormatMessage) {
  TempDir folder;
  WriteFiles(folder);
  std::filesystem::rename(folder / "hit.txt", folder / "hit.TXT");
  PickingHost host;
  host.answers.push_back(folder / "hit.TXT");
  CMainFrame frame(folder / "Setup.ini", nullptr, &host);
  frame.Action(kIdViewAeFile)->trigger();
  EXPECT_EQ(host.messages,
            std::vector<std::string>{"Filetype has the wrong format! Provide a valid file!"});
  EXPECT_EQ(VisiblePreview(), nullptr);
}

// `plexo view FILE --show` on an X display: the viewer's window opens and the command ends
// after a key there.
TEST(CommandLineShowTest, ViewWaitsForAKeyAtTheViewer) {
  testing::WindowSystemInput input;
  if (input.PlatformName() != "xcb" || !input.Available()) {
    GTEST_SKIP() << "needs an X display (run under Xvfb)";
  }
  TempDir folder;
  WriteFiles(folder);
  QProcess plexo;
  plexo.start(PLEXO_BINARY, {"view", QString::fromStdString(folder / "hit_fft.txt"), "--show"});
  ASSERT_TRUE(plexo.waitForStarted());
  ASSERT_TRUE(testing::WaitUntil([&] { return input.X11WindowTitled("FFT File"); }, 180000))
      << "no viewer window";
  EXPECT_FALSE(plexo.waitForFinished(500));
  input.PressKey(Qt::Key_Space);
  ASSERT_TRUE(plexo.waitForFinished(30000)) << "the key did not end the wait";
  EXPECT_EQ(plexo.exitCode(), 0) << plexo.readAllStandardError().toStdString();
}

}  // namespace
}  // namespace plexo::qt
