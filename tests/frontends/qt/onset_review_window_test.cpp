// The onset review window as a person uses it: clicks, drags and keys go through the window
// system to the shown window, the picks are read back from the review and the saved file from
// the disk, where it is compared with the one `plexo onsets` writes.
#include "frontends/qt/onset_review_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "features/feature_test_data.h"
#include "frontends/qt/chart_widget.h"
#include "frontends/qt/feature_dialog.h"
#include "frontends/qt/main_frame.h"
#include "platform/recording_host.h"
#include "qt_test_environment.h"
#include "support/run_plexo.h"
#include "support/temp_dir.h"
#include "window_system_input.h"

namespace plexo::qt {
namespace {

using plexo::testing::ReadBytes;
using plexo::testing::TempDir;

constexpr double kDt = 1e-7;
constexpr int kCount = 2000;

void MakeHits(const std::string& folder) {
  const int bursts[] = {400, 700, 1100};
  for (int i = 0; i < 3; ++i) {
    plexo::testing::WriteWaveformFile(
        folder + "/hit_00" + std::to_string(i + 1) + ".txt",
        plexo::testing::BurstSamples(kCount, bursts[i], 150e3, 320e3, kDt, i + 1), kDt, 10.0 + i);
  }
}

bool OnScreen(QWidget* window) {
  return window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}

// The widget pixel at time t in panel `panel`, halfway down it.
QPoint PixelOf(const ChartWidget& chart, int panel, double t) {
  const PanelLayout p = chart.Layout().panels[static_cast<size_t>(panel)];
  return {static_cast<int>(p.x.Pixel(t)), static_cast<int>((p.area.top + p.area.bottom) / 2)};
}

// The sample a click at that pixel picks: the nearest to the time the mouse reports there.
int SampleAt(const ChartWidget& chart, const QPoint& at) {
  return static_cast<int>(std::lround(chart.Layout().panels[0].x.Value(at.x()) / kDt));
}

// Lines of a CR LF table by their first cell.
std::string LineOf(const std::string& table, const std::string& name) {
  size_t start = table.find("\r\n" + name + "\t");
  if (start == std::string::npos) return {};
  start += 2;
  return table.substr(start, table.find("\r\n", start) - start);
}

std::string CellOf(const std::string& line, int cell) {
  size_t start = 0;
  for (int i = 0; i < cell; ++i) start = line.find('\t', start) + 1;
  return line.substr(start, line.find('\t', start) - start);
}

// Waits until the window system has finished moving and sizing the window.
bool Settled(QWidget* widget) {
  QSize size;
  QElapsedTimer steady;
  return testing::WaitUntil([&] {
    if (widget->size() != size || !steady.isValid()) {
      size = widget->size();
      steady.start();
    }
    return steady.elapsed() > 300;
  });
}

class OnsetReviewWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!input_.Available()) GTEST_SKIP() << "no fake input here";
    MakeHits(dir_.path());
    FeatureSettings settings = DefaultFeatureSettings();
    ASSERT_TRUE(session_.Open(dir_.path(), settings));
    window_ = std::make_unique<OnsetReviewWindow>(session_);
    window_->show();
    ASSERT_TRUE(testing::WaitUntil([&] { return OnScreen(window_.get()); }));
    chart_ = window_->Chart();
    ASSERT_TRUE(Settled(chart_));
    // Keys go where the keyboard focus is: to this window once it is active.
    ASSERT_TRUE(testing::WaitUntil([&] { return window_->isActiveWindow(); }));
  }

  const OnsetRow& Row() { return *session_.Review().CurrentRow(); }

  TempDir dir_;
  RecordingHost host_;
  OnsetReviewSession session_{host_};
  testing::WindowSystemInput input_;
  std::unique_ptr<OnsetReviewWindow> window_;
  ChartWidget* chart_ = nullptr;
};

TEST_F(OnsetReviewWindowTest, AClickOrADragOnEitherPlotMovesThePickToThatSample) {
  const int automatic = Row().automaticSample;
  // On the waveform.
  const QPoint on_signal = PixelOf(*chart_, 0, 300 * kDt);
  const int expected = SampleAt(*chart_, on_signal);
  ASSERT_NEAR(expected, 300, 5);
  input_.Drag(chart_, on_signal, on_signal, Qt::LeftButton);
  ASSERT_TRUE(testing::WaitUntil([&] { return Row().correctedSample == expected; }))
      << Row().correctedSample;
  EXPECT_EQ(Row().state, OnsetState::kCorrected);
  EXPECT_EQ(Row().automaticSample, automatic);
  EXPECT_TRUE(
      window_->Status()->text().contains("corrected pick: sample " + QString::number(expected)))
      << window_->Status()->text().toStdString();
  // On the criterion below, dragged: the pick follows to where the button is let go.
  const QPoint from = PixelOf(*chart_, 1, 200 * kDt);
  const QPoint to = PixelOf(*chart_, 1, 250 * kDt);
  const int dropped = SampleAt(*chart_, to);
  input_.Drag(chart_, from, to, Qt::LeftButton);
  ASSERT_TRUE(testing::WaitUntil([&] { return Row().correctedSample == dropped; }))
      << Row().correctedSample;
  // The chart was not zoomed by the left button, and the marker was redrawn there.
  EXPECT_EQ(chart_->View(), WholeChart(chart_->Chart()));
  ASSERT_EQ(chart_->Chart().panels[0].markers.size(), 3u);  // automatic, corrected, window end
  EXPECT_DOUBLE_EQ(chart_->Chart().panels[0].markers[1].x, dropped * kDt);

  // The right button drags the zoom rectangle; the pick stays.
  const QPoint a = PixelOf(*chart_, 0, 500 * kDt) - QPoint(0, 30);
  const QPoint b = PixelOf(*chart_, 0, 900 * kDt) + QPoint(0, 30);
  const double low = chart_->Layout().panels[0].x.Value(a.x());
  const double high = chart_->Layout().panels[0].x.Value(b.x());
  input_.Drag(chart_, a, b, Qt::RightButton);
  ASSERT_TRUE(testing::WaitUntil([&] { return chart_->View().x.high < 1e-4; }));
  EXPECT_NEAR(chart_->View().x.low, low, 1e-12);
  EXPECT_NEAR(chart_->View().x.high, high, 1e-12);
  EXPECT_EQ(Row().correctedSample, dropped);
  // Home shows the whole chart again.
  input_.PressKey(Qt::Key_Home);
  EXPECT_TRUE(testing::WaitUntil([&] { return chart_->View() == WholeChart(chart_->Chart()); }));
}

TEST_F(OnsetReviewWindowTest, RightGoesOnRRejectsAndCtrlSWritesTheFile) {
  TempDir plain;
  MakeHits(plain.path());
  ASSERT_EQ(plexo::testing::RunPlexo("onsets " + plain.path()).status, 0);
  const std::string automatic = ReadBytes(plain.File("FXData/Onsets.txt"));

  const QPoint at = PixelOf(*chart_, 0, 350 * kDt);
  const int picked = SampleAt(*chart_, at);
  input_.Drag(chart_, at, at, Qt::LeftButton);
  ASSERT_TRUE(testing::WaitUntil([&] { return Row().correctedSample == picked; }));
  input_.PressKey(Qt::Key_Right);
  ASSERT_TRUE(testing::WaitUntil([&] { return session_.Review().Current() == 1; }));
  EXPECT_TRUE(window_->Status()->text().startsWith("Hit 2 of 3: hit_002.txt"));
  input_.PressKey(Qt::Key_R);
  ASSERT_TRUE(testing::WaitUntil([&] { return Row().state == OnsetState::kRejected; }));
  input_.PressKey(Qt::Key_Right);
  ASSERT_TRUE(testing::WaitUntil([&] { return session_.Review().Current() == 2; }));
  input_.PressKey(Qt::Key_Right);  // the last hit: it stays
  testing::WaitUntil([] { return false; }, 200);
  EXPECT_EQ(session_.Review().Current(), 2);
  input_.PressKey(Qt::Key_Left);
  ASSERT_TRUE(testing::WaitUntil([&] { return session_.Review().Current() == 1; }));
  EXPECT_EQ(Row().state, OnsetState::kRejected) << "the rejection was kept while away";

  const std::string path = dir_.File("FXData/Onsets.txt");
  EXPECT_FALSE(std::filesystem::exists(path));
  input_.PressKey(Qt::Key_S, Qt::ControlModifier);
  ASSERT_TRUE(testing::WaitUntil([&] { return std::filesystem::exists(path); }));
  ASSERT_TRUE(testing::WaitUntil([&] { return !session_.Review().Modified(); }));
  const std::string saved = ReadBytes(path);
  // The command's file with the two reviewed rows changed, every other byte the same.
  std::string expected = automatic;
  const std::string first = LineOf(automatic, "hit_001.txt");
  const std::string second = LineOf(automatic, "hit_002.txt");
  ASSERT_FALSE(first.empty());
  const std::string first_saved = LineOf(saved, "hit_001.txt");
  EXPECT_EQ(CellOf(first_saved, 3), std::to_string(picked));
  EXPECT_EQ(CellOf(first_saved, 5), "corrected");
  expected.replace(expected.find(first), first.size(), first_saved);
  std::string second_expected = second;
  second_expected.replace(second_expected.rfind("automatic"), 9, "rejected");
  expected.replace(expected.find(second), second.size(), second_expected);
  EXPECT_EQ(saved, expected);
  EXPECT_FALSE(window_->Status()->text().contains("not saved"));
  EXPECT_TRUE(window_->isVisible()) << "saving keeps the window";
}

TEST_F(OnsetReviewWindowTest, ClosingWithUnsavedChangesAsksFirst) {
  const QPoint at = PixelOf(*chart_, 0, 320 * kDt);
  input_.Drag(chart_, at, at, Qt::LeftButton);
  ASSERT_TRUE(testing::WaitUntil([&] { return session_.Review().Modified(); }));
  // Cancel (no answer queued): the window stays and keeps the change.
  input_.RequestClose(window_.get());
  ASSERT_TRUE(testing::WaitUntil([&] { return host_.questions.size() == 1u; }));
  testing::WaitUntil([] { return false; }, 200);
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(host_.questions[0], UnsavedOnsetsQuestion(dir_.File("FXData/Onsets.txt")));
  // Escape asks too; Save writes the file and closes.
  host_.unsaved_answers = {Host::UnsavedAnswer::kSave};
  input_.PressKey(Qt::Key_Escape);
  ASSERT_TRUE(testing::WaitUntil([&] { return !window_->isVisible(); }));
  EXPECT_EQ(host_.questions.size(), 2u);
  EXPECT_EQ(CellOf(LineOf(ReadBytes(dir_.File("FXData/Onsets.txt")), "hit_001.txt"), 5),
            "corrected");
}

TEST_F(OnsetReviewWindowTest, DiscardingClosesAndWritesNothing) {
  input_.PressKey(Qt::Key_R);
  ASSERT_TRUE(testing::WaitUntil([&] { return session_.Review().Modified(); }));
  host_.unsaved_answers = {Host::UnsavedAnswer::kDiscard};
  input_.RequestClose(window_.get());
  ASSERT_TRUE(testing::WaitUntil([&] { return !window_->isVisible(); }));
  EXPECT_EQ(host_.questions.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("FXData/Onsets.txt")));
}

// The File menu's command runs the window modally over the main frame: it opens on the chosen
// file's hit and on the corrections of an earlier file; a key ends it.
TEST(OnsetReviewMenuTest, TheFileMenuOpensTheWindowOnTheChosenHitAndTheEarlierFile) {
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input here";
  TempDir dir;
  MakeHits(dir.path());
  ASSERT_EQ(plexo::testing::RunPlexo("onsets " + dir.path()).status, 0);
  // A correction by hand: hit_003 to sample 1050.
  const std::string path = dir.File("FXData/Onsets.txt");
  std::string text = ReadBytes(path);
  const std::string line = LineOf(text, "hit_003.txt");
  std::string edited = line;
  const size_t third = edited.find('\t', edited.find('\t', edited.find('\t') + 1) + 1) + 1;
  edited.replace(third, edited.find('\t', third) - third, "1050");
  edited.replace(edited.rfind("automatic"), 9, "corrected");
  text.replace(text.find(line), line.size(), edited);
  plexo::testing::WriteBytes(path, text);

  RecordingHost host;
  host.file_answers.push_back(dir.File("hit_003.txt"));
  CMainFrame frame("/nonexistent/Setup.ini", nullptr, &host);
  frame.show();
  ASSERT_TRUE(testing::WaitUntil([&] { return OnScreen(&frame); }));
  int corrected = -1;
  QString status;
  bool closed = false;
  QTimer timer;
  int step = 0;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    OnsetReviewWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* r = qobject_cast<OnsetReviewWindow*>(w); r && OnScreen(r)) window = r;
    if (window == nullptr || !window->isActiveWindow()) return;
    if (step == 0) {
      status = window->Status()->text();
      corrected = window->Review().Review().CurrentRow()->correctedSample;
      input.PressKey(Qt::Key_Escape);  // nothing changed: no question
      step = 1;
    }
  });
  timer.start(50);
  frame.Action(kIdReviewOnsets)->trigger();  // returns when the window is closed
  closed = true;
  EXPECT_TRUE(closed);
  EXPECT_EQ(step, 1);
  EXPECT_EQ(host.file_filters, std::vector<std::string>{kOnsetReviewFilter});
  EXPECT_TRUE(status.startsWith("Hit 3 of 3: hit_003.txt")) << status.toStdString();
  EXPECT_EQ(corrected, 1050);
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(ReadBytes(path), text) << "only looked at: the file stays as it was";
}

// The Feature Extraction dialog's button opens the window over the dialog with the dialog's
// "Duration:" as typed; Escape ends the window.
TEST(OnsetReviewMenuTest, TheFeatureDialogsButtonOpensTheWindowWithItsDuration) {
  testing::WindowSystemInput input;
  if (!input.Available()) GTEST_SKIP() << "no fake input here";
  TempDir dir;
  MakeHits(dir.path());
  RecordingHost host;
  host.file_answers.push_back(dir.File("hit_001.txt"));
  FeatureWorkspace workspace;
  FeatureDialog dialog(nullptr, workspace, &host);
  DialogView& view = dialog.View();
  view.SetText(kIdfDuration, "150e-6");
  int step = 0;
  double windowEnd = -1.0, pick = -1.0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    OnsetReviewWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* r = qobject_cast<OnsetReviewWindow*>(w); r && OnScreen(r)) window = r;
    if (step == 0 && OnScreen(&view)) {
      input.Click(view.Widget(kIdfReviewOnsets));
      step = 1;
    } else if (step == 1 && window != nullptr && window->isActiveWindow()) {
      const ChartPanel& signal = window->Chart()->Chart().panels[0];
      if (signal.markers.size() == 2) {  // automatic pick, window end
        pick = signal.markers[0].x;
        windowEnd = signal.markers[1].x;
      }
      input.PressKey(Qt::Key_Escape);
      step = 2;
    } else if (step == 2 && window == nullptr) {
      view.reject();  // the dialog's own closing is tested with it
      step = 3;
    }
  });
  timer.start(50);
  dialog.Exec();  // returns when the dialog has closed
  EXPECT_EQ(step, 3);
  EXPECT_EQ(host.file_filters, std::vector<std::string>{kOnsetReviewFilter});
  EXPECT_GT(pick, 0.0);
  EXPECT_NEAR(windowEnd - pick, 150e-6, 1e-15);
  EXPECT_TRUE(host.questions.empty());
}

}  // namespace
}  // namespace plexo::qt
