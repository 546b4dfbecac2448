#pragma once
// The review of the onsets of a folder or database, one hit at a time: what the desktop's review
// window shows and changes, as logic a test drives without a window. It opens on the onsets
// file beside the input when there is one and keeps its corrections; a hit is read and traced
// when it is shown; saving writes a row for every hit (picking those never shown) and keeps the
// corrections of hits the input no longer holds.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "features/feature_extraction.h"
#include "features/onset_review_chart.h"
#include "features/onset_table.h"
#include "features/time_features.h"
#include "platform/file_notes.h"
#include "platform/host.h"
#include "plot/chart_data.h"
#include "signal/waveform_source.h"

namespace plexo {

class OnsetReview {
 public:
  // Lists the input's waveforms and reads its onsets file (OnsetFilePath) when there is one.
  // False with `why`: what the feature run refuses about its input, an onsets file that cannot
  // be read. `windowLength` (s) marks the feature window's end in the chart (0: none).
  bool Open(const std::string& input, std::string& why, int maxSamples = MAX_SAMPLES,
            double windowLength = 0.0);

  const std::string& Input() const { return input_; }
  std::string Path() const;  // the onsets file
  int Count() const { return source_ == nullptr ? 0 : source_->Count(); }
  const std::string& Label(int k) const { return source_->Label(k); }
  const std::string& Name(int k) const;

  // Shows hit k (0 .. Count()-1): reads and traces it. False with `why` (the hit is then shown
  // as not readable: no chart) when the reader refuses it.
  bool Show(int k, std::string& why);
  int Current() const { return current_; }
  bool CurrentReadable() const { return readable_; }
  const Waveform& CurrentWaveform() const { return waveform_; }
  const OnsetTrace& CurrentTrace() const { return trace_; }
  // The row of the hit shown, or nullptr when it could not be read.
  const OnsetRow* CurrentRow() const;
  // The chart of the hit shown (it borrows this object's waveform and trace: rebuild it after
  // every change and after Show). Empty (no panels) when the hit could not be read.
  ChartData CurrentChart() const;

  // Moves the corrected pick of the hit shown to `sample` (kept within its samples), or to the
  // sample nearest to time x (s from the first sample). The state becomes corrected, or
  // automatic when the pick is back on the automatic one; a rejected hit stays rejected.
  void MovePick(int sample);
  void MovePickTo(double x) { MovePick(OnsetSampleAt(waveform_, x)); }
  // Rejects the hit shown, or takes a rejection back.
  void ToggleRejected();

  // Whether there are changes not saved.
  bool Modified() const { return modified_; }

  // Writes the onsets file: a row for every hit in input order (those never shown are read and
  // picked on `jobs` threads; those the reader refuses get none and are named in `skipped`),
  // then the rows of an earlier file for hits the input no longer holds. kRefused after the
  // host's message when a hit has more samples than the limit.
  CalcStatus Save(CalcProgress& progress, Host& host, int jobs = 0);
  const FileNotes& Skipped() const { return skipped_; }

 private:
  std::string input_;
  std::unique_ptr<WaveformSource> source_;
  int maxSamples_ = MAX_SAMPLES;
  double windowLength_ = 0.0;
  bool database_ = false;
  std::vector<std::optional<OnsetRow>> rows_;  // per input
  std::vector<OnsetRow> elsewhere_;            // the earlier file's rows of other names
  int current_ = -1;
  bool readable_ = false;
  Waveform waveform_;
  OnsetTrace trace_;
  bool modified_ = false;
  FileNotes skipped_;
};

}  // namespace plexo
