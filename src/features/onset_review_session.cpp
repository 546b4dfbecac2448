#include "features/onset_review_session.h"

#include <string_view>

#include "features/onset_run.h"
#include "platform/file_system.h"
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

bool OnsetReviewSession::Open(const std::string& chosen, const FeatureSettings& settings,
                              int maxSamples) {
  const OnsetReviewInput what = ReviewInputOf(chosen);
  std::string why;
  if (!review_.Open(what.input, why, maxSamples, settings.duration)) {
    host_.MessageBox(why);
    return false;
  }
  int start = 0;
  for (int k = 0; k < review_.Count(); ++k) {
    if (review_.Name(k) == what.startAt) start = k;
  }
  Show(start);
  return true;
}

bool OnsetReviewSession::Show(int k) {
  if (k < 0 || k >= review_.Count()) return false;
  unreadable_.clear();
  if (!review_.Show(k, unreadable_) && unreadable_.empty()) unreadable_ = "it cannot be read";
  Redraw();
  return true;
}

void OnsetReviewSession::PickAt(double x) {
  review_.MovePickTo(x);
  Redraw();
}

void OnsetReviewSession::ToggleRejected() {
  review_.ToggleRejected();
  Redraw();
}

bool OnsetReviewSession::Save() {
  NullProgress progress;
  if (review_.Save(progress, host_) != CalcStatus::kDone) return false;
  if (!review_.Skipped().Empty()) {
    const size_t count = review_.Skipped().All().size();
    host_.MessageBox(std::to_string(count) + (count == 1 ? " waveform is" : " waveforms are") +
                     " not listed in " + review_.Path() + ", as " + (count == 1 ? "it" : "they") +
                     " cannot be read:\n" + review_.Skipped().Text());
  }
  return true;
}

bool OnsetReviewSession::MayClose() {
  if (!review_.Modified()) return true;
  switch (host_.AskUnsaved(UnsavedOnsetsQuestion(review_.Path()))) {
    case Host::UnsavedAnswer::kSave:
      return Save();
    case Host::UnsavedAnswer::kDiscard:
      return true;
    case Host::UnsavedAnswer::kCancel:
      break;
  }
  return false;
}

std::string OnsetReviewSession::StatusLine() const {
  const int k = review_.Current();
  if (k < 0) return {};
  std::string text = "Hit " + std::to_string(k + 1) + " of " + std::to_string(review_.Count()) +
                     ": " + review_.Name(k);
  if (const OnsetRow* row = review_.CurrentRow()) {
    text += "   automatic pick: sample " + std::to_string(row->automaticSample) +
            "   corrected pick: sample " + std::to_string(row->correctedSample) + "   " +
            OnsetStateName(row->state);
  } else {
    text += "   not shown: " + unreadable_;
  }
  if (review_.Modified()) text += "   (not saved)";
  return text;
}

}  // namespace plexo
