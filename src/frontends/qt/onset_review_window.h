#pragma once
// The onset review window: one hit at a time, its waveform above the picker's criterion, drawn
// interactively (ChartWidget: the value under the mouse, wheel and rectangle zoom). A click or
// drag of the left button on either plot moves the pick to that sample; Left/Right go to the
// previous/next hit, R rejects a hit (or keeps it again), Ctrl+S saves the onsets file, Home
// shows the whole chart. Closing with changes not saved asks first. The toolkit-free
// OnsetReviewSession holds the hits, the rows and the file; this is its view.
#include <QDialog>

#include "features/feature_params.h"
#include "features/onset_review_session.h"

class QLabel;
class QPushButton;

namespace plexo::qt {

class ChartWidget;

class OnsetReviewWindow : public QDialog {
  Q_OBJECT

 public:
  // `review` is open (OnsetReviewSession::Open succeeded) and outlives the window.
  explicit OnsetReviewWindow(OnsetReviewSession& review, QWidget* parent = nullptr);

  OnsetReviewSession& Review() { return review_; }
  ChartWidget* Chart() const { return chart_; }
  QLabel* Status() const { return status_; }
  QLabel* Readout() const { return readout_; }

 public slots:
  // Escape and the close box: the review ends only when nothing unsaved would be lost.
  void reject() override;
  void Save();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The hit changed (whole chart) or only its pick or state did (same view).
  void Refresh(bool newHit);
  void Go(bool forward);
  void ToggleRejected();

  OnsetReviewSession& review_;
  ChartWidget* chart_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* readout_ = nullptr;
  QPushButton* reject_ = nullptr;
};

// The line under the chart that says what the mouse and the keys do.
inline constexpr const char* kOnsetReviewHint =
    "Click or drag on either plot: move the pick. Left/Right: previous/next hit. R: reject or "
    "keep the hit. Ctrl+S: save. Zoom: wheel or drag a rectangle with the right button; pan: "
    "middle button; whole chart: Home.";

// Asks for what to review (a waveform file of a folder, a database or an onsets file), opens it
// with `settings` (the feature window's length after the pick) and runs the window modally.
// Messages and the question before discarding go through `host`.
void ReviewOnsets(QWidget* parent, Host& host, const FeatureSettings& settings,
                  int maxSamples = MAX_SAMPLES);

}  // namespace plexo::qt
