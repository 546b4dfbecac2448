#pragma once
// The onset review of a folder of waveform files or a waveform database, one hit at a time: the
// hit's waveform and the picker's criterion (features/onset_review_chart.h), the automatic pick
// and the pick a person moves it to, the hit kept or rejected, all saved as the onsets file the
// feature run can take its picks from. It works on a Host only, so that the desktop's window is
// a thin view of it and a test drives it without one.
//
// Rows are picked when their hit is first shown; saving picks the hits not shown yet, so that
// the file lists every waveform. Rows of an earlier file keep their corrections; rows of
// waveforms the input no longer holds are kept at the end of the file (nothing is lost).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "features/feature_params.h"
#include "features/onset_review_chart.h"
#include "features/onset_table.h"
#include "features/time_features.h"
#include "platform/host.h"
#include "plot/chart_data.h"
#include "signal/waveform.h"
#include "signal/waveform_source.h"

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

class OnsetReview {
 public:
  explicit OnsetReview(Host& host);

  // Opens what `chosen` stands for (ReviewInputOf) and shows its first hit (or the chosen one).
  // False, after a message naming the input or the file, when there is nothing to review: a
  // folder without waveform files, a database that cannot be used, an earlier onsets file that
  // cannot be read (it is then left as it is), no hit that can be read.
  bool Open(const std::string& chosen, const FeatureSettings& settings);

  const std::string& Input() const { return input_; }
  // Where Save writes: FXData/Onsets.txt of the folder, or beside the database.
  const std::string& OnsetsPath() const { return onsetsPath_; }
  int Count() const;
  int Current() const { return current_; }

  // The hit shown: its chart (valid until the next call that changes the hit or its row), its
  // row and the waveform's name.
  const ChartData& Chart() const { return chart_; }
  const OnsetRow& Row() const;
  const Waveform& Shown() const { return waveform_; }

  // Shows another hit; hits that cannot be read are stepped over (the status line names them).
  // False when there is no further readable hit that way: the hit shown stays.
  bool Next();
  bool Previous();
  bool Show(int k);

  // The pick moved to the sample nearest to `x` (seconds from the first sample), kept within
  // the waveform. A pick on the automatic sample is automatic again; a rejected hit stays
  // rejected with its pick moved.
  void PickAt(double x);
  void PickSample(int sample);
  // R: a kept hit is rejected; a rejected one is kept again, corrected where its pick differs
  // from the automatic one.
  void ToggleRejected();

  // Writes the onsets file (every hit picked first). False after a message when it could not.
  bool Save();
  // Changes since the file was read or last saved.
  bool Dirty() const { return dirty_; }
  // May the review end? Asks to save, discard or stay when there are unsaved changes.
  bool MayClose();

  // "Hit 3 of 12: hit_003.txt   automatic pick: sample 117   corrected pick: sample 120
  // corrected   (not saved)", and a second sentence about hits stepped over.
  std::string StatusLine() const;

 private:
  // Reads hit k into the waveform, its trace and row; false with `note` when it cannot.
  bool Load(int k, std::string& note);
  void Redraw();
  // The row of hit k picked afresh (and merged with the earlier file); false for a hit that
  // cannot be read.
  bool PickRow(int k, Waveform& wf, OnsetTrace* trace, OnsetRow& row, std::string& note) const;
  bool Step(int direction);

  Host& host_;
  FeatureSettings settings_;
  std::string input_;
  std::string onsetsPath_;
  std::unique_ptr<WaveformSource> source_;
  OnsetTable earlier_;                         // the file as read at Open (empty without one)
  std::vector<std::optional<OnsetRow>> rows_;  // per hit, once picked
  int current_ = -1;
  Waveform waveform_;
  OnsetTrace trace_;
  ChartData chart_;
  bool dirty_ = false;
  std::string skippedNote_;  // why the hits stepped over to reach this one were
};

}  // namespace plexo
