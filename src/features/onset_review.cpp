#include "features/onset_review.h"

#include <algorithm>
#include <map>

#include "features/onset_run.h"
#include "platform/file_system.h"
#include "platform/job_count.h"
#include "platform/ordered_workers.h"

namespace plexo {

bool OnsetReview::Open(const std::string& input, std::string& why, int maxSamples,
                       double windowLength) {
  *this = OnsetReview{};
  FeatureRequest listing;
  listing.folder = input;
  listing.columns.reset();
  listing.columns.set(kColArrivalTime);
  why = FeatureInputRefusal(listing, source_);
  if (!why.empty()) return false;
  input_ = input;
  maxSamples_ = maxSamples;
  windowLength_ = windowLength;
  database_ = IsWaveformDatabasePath(input);
  waveform_.limit = maxSamples;
  rows_.assign(static_cast<size_t>(source_->Count()), std::nullopt);
  const std::string path = Path();
  if (IsRegularFile(path)) {
    OnsetTable earlier;
    if (!ReadOnsetTable(path, earlier, why)) {
      source_.reset();
      return false;
    }
    std::map<std::string_view, int> index;
    for (int k = 0; k < source_->Count(); ++k) index.emplace(Name(k), k);
    for (const OnsetRow& row : earlier.Rows()) {
      const auto found = index.find(row.name);
      if (found == index.end()) {
        elsewhere_.push_back(row);
      } else {
        rows_[static_cast<size_t>(found->second)] = row;
      }
    }
  }
  return true;
}

std::string OnsetReview::Path() const { return OnsetFilePath(input_); }

const std::string& OnsetReview::Name(int k) const {
  return source_->Inputs()[static_cast<size_t>(k)].name;
}

bool OnsetReview::Show(int k, std::string& why) {
  readable_ = false;
  if (k < 0 || k >= Count()) {
    why = "There is no hit " + std::to_string(k + 1) + " of " + std::to_string(Count()) + ".";
    return false;
  }
  current_ = k;
  std::optional<OnsetRow>& row = rows_[static_cast<size_t>(k)];
  OnsetRow fresh;
  const InputRead read =
      ReadOnsetInput(*source_, k, row ? &*row : nullptr, waveform_, trace_, fresh, why);
  if (read != InputRead::kRead) return false;
  // The automatic pick is the picker's on the waveform as it is now; the corrections stay. The
  // times follow the samples (a time read back from its text may differ in its last bits from
  // the one computed: that is no change).
  if (row && (row->automaticSample != fresh.automaticSample ||
              row->correctedSample != fresh.correctedSample || row->state != fresh.state))
    modified_ = true;
  row = fresh;
  readable_ = true;
  return true;
}

const OnsetRow* OnsetReview::CurrentRow() const {
  if (!readable_) return nullptr;
  return &*rows_[static_cast<size_t>(current_)];
}

ChartData OnsetReview::CurrentChart() const {
  const OnsetRow* row = CurrentRow();
  if (row == nullptr) return {};
  return OnsetReviewChart(waveform_, trace_,
                          {row->automaticSample, row->correctedSample, row->state, windowLength_});
}

void OnsetReview::MovePick(int sample) {
  if (!readable_) return;
  OnsetRow& row = *rows_[static_cast<size_t>(current_)];
  const int held = std::min(waveform_.count, waveform_.limit);
  sample = std::clamp(sample, 0, std::max(held - 1, 0));
  if (sample == row.correctedSample) return;
  row.correctedSample = sample;
  row.correctedTime = OnsetArrivalTime(sample, waveform_.sampleInterval, waveform_.timeOfTest);
  if (row.state != OnsetState::kRejected)
    row.state = sample == row.automaticSample ? OnsetState::kAutomatic : OnsetState::kCorrected;
  modified_ = true;
}

void OnsetReview::ToggleRejected() {
  if (!readable_) return;
  OnsetRow& row = *rows_[static_cast<size_t>(current_)];
  if (row.state == OnsetState::kRejected) {
    row.state = row.correctedSample == row.automaticSample ? OnsetState::kAutomatic
                                                           : OnsetState::kCorrected;
  } else {
    row.state = OnsetState::kRejected;
  }
  modified_ = true;
}

CalcStatus OnsetReview::Save(CalcProgress& progress, Host& host, int jobs) {
  skipped_.Clear();
  if (source_ == nullptr) return CalcStatus::kRefused;
  // The hits never shown are read and picked now.
  std::vector<int> missing;
  for (int k = 0; k < Count(); ++k)
    if (!rows_[static_cast<size_t>(k)]) missing.push_back(k);
  const int count = static_cast<int>(missing.size());
  const int threads = std::max(1, std::min(JobCount(jobs), count));
  std::vector<std::unique_ptr<FeatureThreadState>> states;
  for (int t = 0; t < threads; ++t) {
    states.push_back(std::make_unique<FeatureThreadState>());
    states.back()->waveform.limit = maxSamples_;
  }
  struct Picked {
    InputRead read = InputRead::kStop;
    OnsetRow row;
    std::string why;
  };
  std::vector<Picked> picked(static_cast<size_t>(count));
  std::vector<std::optional<OnsetRow>> rows = rows_;
  std::string stop;
  progress.SetRange(0, count);
  progress.SetPos(0);
  RunInOrder(
      count, threads,
      [&](int i, int worker) {
        OnsetTrace trace;
        Picked& p = picked[static_cast<size_t>(i)];
        p.read = ReadOnsetInput(*source_, missing[static_cast<size_t>(i)], nullptr,
                                states[static_cast<size_t>(worker)]->waveform, trace, p.row, p.why);
      },
      [&](int i) {
        Picked& p = picked[static_cast<size_t>(i)];
        progress.SetPos(i + 1);
        progress.DrainMessages();
        switch (p.read) {
          case InputRead::kStop:
            stop = std::move(p.why);
            return false;
          case InputRead::kSkip:
            skipped_.Add(std::move(p.why));
            return true;
          case InputRead::kRead:
            rows[static_cast<size_t>(missing[static_cast<size_t>(i)])] = std::move(p.row);
            return true;
        }
        return true;
      });
  if (!stop.empty()) {
    host.MessageBox(stop);
    return CalcStatus::kRefused;
  }
  OnsetTable table;
  table.database = database_;
  for (const std::optional<OnsetRow>& row : rows)
    if (row) table.Add(*row);
  for (const OnsetRow& row : elsewhere_) table.Add(row);
  MakeDirectory(FeatureResultsFolder(input_));  // a failure shows when writing
  if (!SaveOnsetTable(Path(), table, host)) return CalcStatus::kFailed;
  // The rows picked for the file are the review's from now on.
  for (size_t k = 0; k < rows.size(); ++k)
    if (!rows_[k] && rows[k]) rows_[k] = rows[k];
  modified_ = false;
  return CalcStatus::kDone;
}

}  // namespace plexo
