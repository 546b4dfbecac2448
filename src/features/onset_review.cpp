#include "features/onset_review.h"

#include <set>
#include <string_view>

#include "features/feature_extraction.h"
#include "features/onset_run.h"
#include "platform/file_system.h"
#include "platform/result_files.h"
#include "signal/waveform_database.h"

namespace plexo {

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

OnsetReviewInput ReviewInputOf(const std::string& chosen) {
  if (IsWaveformDatabasePath(chosen) || IsDirectory(chosen)) return {chosen, {}};
  const std::string folder = ParentFolder(chosen);
  if (FileName(chosen) == kOnsetFileName) {
    // FXData/Onsets.txt of a folder, or <stem>_FXData/Onsets.txt beside <stem>.tradb.
    const std::string results = FileName(folder);
    constexpr std::string_view kDatabaseSuffix = "_FXData";
    if (EndsWith(results, kDatabaseSuffix)) {
      const std::string stem = results.substr(0, results.size() - kDatabaseSuffix.size());
      const std::string database = JoinPath(ParentFolder(folder), stem + ".tradb");
      if (IsRegularFile(database)) return {database, {}};
    }
    if (results == "FXData") return {ParentFolder(folder), {}};
  }
  return {folder, FileName(chosen)};
}

std::string UnsavedOnsetsQuestion(const std::string& onsetsPath) {
  return "The corrected onsets are not saved yet.\nSave them to " + onsetsPath + "?";
}

OnsetReview::OnsetReview(Host& host) : host_(host) {}

int OnsetReview::Count() const { return source_ != nullptr ? source_->Count() : 0; }

const OnsetRow& OnsetReview::Row() const { return *rows_[static_cast<size_t>(current_)]; }

bool OnsetReview::Open(const std::string& chosen, const FeatureSettings& settings) {
  const OnsetReviewInput what = ReviewInputOf(chosen);
  settings_ = settings;
  FeatureRequest listing;
  listing.folder = what.input;
  listing.columns.reset();
  std::unique_ptr<WaveformSource> source;
  if (std::string refusal = FeatureInputRefusal(listing, source); !refusal.empty()) {
    host_.MessageBox(refusal);
    return false;
  }
  const std::string path = OnsetFilePath(what.input);
  OnsetTable earlier;
  if (IsRegularFile(path)) {
    std::string why;
    if (!ReadOnsetTable(path, earlier, why)) {
      host_.MessageBox(why + "\nThe onsets file is left as it is: correct it or move it away.");
      return false;
    }
  }
  input_ = what.input;
  onsetsPath_ = path;
  source_ = std::move(source);
  earlier_ = std::move(earlier);
  rows_.assign(static_cast<size_t>(source_->Count()), std::nullopt);
  current_ = -1;
  dirty_ = false;
  skippedNote_.clear();

  int start = 0;
  for (int k = 0; k < source_->Count(); ++k) {
    if (source_->Inputs()[static_cast<size_t>(k)].name == what.startAt) start = k;
  }
  if (Show(start) || Step(+1) || Step(-1)) return true;
  host_.MessageBox("None of the waveforms of " + input_ + " can be read:\n" + skippedNote_);
  source_.reset();
  rows_.clear();
  return false;
}

bool OnsetReview::PickRow(int k, Waveform& wf, OnsetTrace* trace, OnsetRow& row,
                          std::string& note) const {
  OnsetTrace picked;
  bool overLimit = false;
  note = PickOnsetRow(*source_, k, &earlier_, wf, picked, row, overLimit);
  if (!note.empty()) return false;
  if (trace != nullptr) *trace = std::move(picked);
  return true;
}

bool OnsetReview::Load(int k, std::string& note) {
  OnsetRow row;
  OnsetTrace trace;
  if (!PickRow(k, waveform_, &trace, row, note)) return false;
  trace_ = std::move(trace);
  // A row picked before keeps what was done to it since.
  if (!rows_[static_cast<size_t>(k)]) rows_[static_cast<size_t>(k)] = std::move(row);
  current_ = k;
  Redraw();
  return true;
}

void OnsetReview::Redraw() {
  const OnsetRow& row = Row();
  const OnsetReviewMarks marks{row.automaticSample, row.correctedSample, row.state,
                               settings_.duration};
  chart_ = OnsetReviewChart(waveform_, trace_, marks);
}

bool OnsetReview::Show(int k) {
  if (source_ == nullptr || k < 0 || k >= Count()) return false;
  std::string note;
  if (!Load(k, note)) {
    skippedNote_ += (skippedNote_.empty() ? "" : "\n") + note;
    // The hit shown before (if any) is read again: the waveform buffer now holds the other.
    if (current_ >= 0) {
      std::string again;
      Load(current_, again);
    }
    return false;
  }
  return true;
}

bool OnsetReview::Step(int direction) {
  if (source_ == nullptr) return false;
  const int from = current_;
  for (int k = (from < 0 ? (direction > 0 ? 0 : Count() - 1) : from + direction);
       k >= 0 && k < Count(); k += direction) {
    if (Show(k)) return true;
  }
  return false;
}

bool OnsetReview::Next() {
  skippedNote_.clear();
  return Step(+1);
}

bool OnsetReview::Previous() {
  skippedNote_.clear();
  return Step(-1);
}

void OnsetReview::PickAt(double x) { PickSample(OnsetSampleAt(waveform_, x)); }

void OnsetReview::PickSample(int sample) {
  if (current_ < 0) return;
  OnsetRow& row = *rows_[static_cast<size_t>(current_)];
  const int held = std::min(waveform_.count, waveform_.limit);
  sample = std::clamp(sample, 0, std::max(held - 1, 0));
  if (sample == row.correctedSample) return;
  row.correctedSample = sample;
  row.correctedTime = OnsetArrivalTime(sample, waveform_.sampleInterval, waveform_.timeOfTest);
  if (row.state != OnsetState::kRejected)
    row.state = sample == row.automaticSample ? OnsetState::kAutomatic : OnsetState::kCorrected;
  dirty_ = true;
  Redraw();
}

void OnsetReview::ToggleRejected() {
  if (current_ < 0) return;
  OnsetRow& row = *rows_[static_cast<size_t>(current_)];
  if (row.state == OnsetState::kRejected) {
    row.state = row.correctedSample == row.automaticSample ? OnsetState::kAutomatic
                                                           : OnsetState::kCorrected;
  } else {
    row.state = OnsetState::kRejected;
  }
  dirty_ = true;
  Redraw();
}

bool OnsetReview::Save() {
  if (source_ == nullptr) return false;
  OnsetTable table;
  table.database = IsWaveformDatabasePath(input_);
  Waveform scratch;  // the shown hit's waveform stays as the chart borrows it
  int unreadable = 0;
  for (int k = 0; k < Count(); ++k) {
    if (!rows_[static_cast<size_t>(k)]) {
      OnsetRow row;
      std::string note;
      if (!PickRow(k, scratch, nullptr, row, note)) {
        ++unreadable;
        continue;
      }
      rows_[static_cast<size_t>(k)] = std::move(row);
    }
    table.Add(*rows_[static_cast<size_t>(k)]);
  }
  // Rows of waveforms no longer there stay in the file.
  for (const OnsetRow& row : earlier_.Rows()) {
    if (table.Find(row.name) == nullptr) table.Add(row);
  }
  std::string why;
  const std::string folder = ParentFolder(onsetsPath_);
  if (!MakeDirectory(folder, &why)) {
    host_.MessageBox(FolderNotCreatedMessage(folder, why));
    return false;
  }
  ResultFiles result;
  result.Add(onsetsPath_).Write(OnsetTableText(table));
  if (!CommitResult(result, host_)) return false;
  dirty_ = false;
  if (unreadable > 0)
    host_.MessageBox(std::to_string(unreadable) + (unreadable == 1 ? " waveform" : " waveforms") +
                     " of " + input_ + " could not be read and " +
                     (unreadable == 1 ? "is" : "are") + " not listed in " + onsetsPath_ + ".");
  return true;
}

bool OnsetReview::MayClose() {
  if (!dirty_) return true;
  switch (host_.AskUnsaved(UnsavedOnsetsQuestion(onsetsPath_))) {
    case Host::UnsavedAnswer::kSave:
      return Save();
    case Host::UnsavedAnswer::kDiscard:
      return true;
    case Host::UnsavedAnswer::kCancel:
      break;
  }
  return false;
}

std::string OnsetReview::StatusLine() const {
  if (current_ < 0) return {};
  const OnsetRow& row = Row();
  std::string text = "Hit " + std::to_string(current_ + 1) + " of " + std::to_string(Count()) +
                     ": " + row.name + "   automatic pick: sample " +
                     std::to_string(row.automaticSample) + "   corrected pick: sample " +
                     std::to_string(row.correctedSample) + "   " + OnsetStateName(row.state);
  if (dirty_) text += "   (not saved)";
  if (!skippedNote_.empty()) text += "\nStepped over: " + skippedNote_;
  return text;
}

}  // namespace plexo
