#pragma once
// What the desktop's onset review window does with an OnsetReview, without the window: what a
// chosen path stands for, stepping to the previous or next hit, a click's pick, saving with its
// messages, the question before changes would be lost, the status line. The window only routes
// the mouse and the keys here and draws Chart().
#include <string>

#include "features/feature_params.h"
#include "features/onset_review.h"
#include "platform/host.h"
#include "plot/chart_data.h"

namespace plexo {

// What a path chosen for review stands for: the folder or database to step through, and the
// name of the hit to start at (empty: the first).
struct OnsetReviewInput {
  std::string input;
  std::string startAt;
};
// A folder or a database stands for itself; a waveform file for its folder, starting at it; an
// onsets file (FXData/Onsets.txt, or <stem>_FXData/Onsets.txt beside <stem>.tradb) for what it
// was written for.
OnsetReviewInput ReviewInputOf(const std::string& chosen);

// The file picker's filter: waveform files, databases and onsets files.
inline constexpr const char* kOnsetReviewFilter =
    "Waveforms, databases and onsets files(*.txt;*.tradb)|*.txt;*.tradb||";

// The question when the review would end with changes not saved.
std::string UnsavedOnsetsQuestion(const std::string& onsetsPath);

class OnsetReviewSession {
 public:
  explicit OnsetReviewSession(Host& host) : host_(host) {}

  // Opens what `chosen` stands for (ReviewInputOf) and shows its first hit, or the chosen one.
  // False after a message naming the input or the onsets file when there is nothing to review.
  // settings.duration marks the feature window's end after the pick.
  bool Open(const std::string& chosen, const FeatureSettings& settings,
            int maxSamples = MAX_SAMPLES);

  OnsetReview& Review() { return review_; }
  const OnsetReview& Review() const { return review_; }
  // The chart of the hit shown (no panels when it cannot be read); the same object for the
  // whole session, redrawn after every change.
  const ChartData& Chart() const { return chart_; }

  // Shows hit k, the next or the previous one; false (the hit shown stays) past either end.
  // A hit that cannot be read is shown without a chart, the status line saying why.
  bool Show(int k);
  bool Next() { return Show(review_.Current() + 1); }
  bool Previous() { return Show(review_.Current() - 1); }

  // The pick of the hit shown moved to the sample nearest to x (s from the first sample).
  void PickAt(double x);
  void ToggleRejected();

  // Writes the onsets file; false after a message when it could not. Hits the reader refuses
  // are named in a message after the file is written.
  bool Save();
  // May the review end? Asks to save, discard or stay when there are changes not saved.
  bool MayClose();

  // "Hit 3 of 12: hit_003.txt   automatic pick: sample 117   corrected pick: sample 120
  // corrected   (not saved)"; for a hit that cannot be read, its name and why.
  std::string StatusLine() const;

 private:
  void Redraw() { chart_ = review_.CurrentChart(); }

  Host& host_;
  OnsetReview review_;
  ChartData chart_;
  std::string unreadable_;  // why the hit shown cannot be read
};

}  // namespace plexo
