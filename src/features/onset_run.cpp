#include "features/onset_run.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "features/onset_review_chart.h"
#include "features/time_features.h"
#include "platform/file_system.h"
#include "platform/job_count.h"
#include "platform/ordered_workers.h"
#include "platform/result_files.h"
#include "plot/chart_layout.h"
#include "plot/chart_render.h"
#include "plot/image_file.h"

namespace plexo {
namespace {

enum class OnsetResult { kRow, kSkipped, kStopped };
struct OnsetOutcome {
  OnsetResult result = OnsetResult::kStopped;
  OnsetRow row;
  std::string text;      // the note that skips the input or the message that stops the run
  std::string doubtful;  // why the pick cannot mean anything, naming the input
  std::string picture;   // why the review picture could not be written
};

// The corrections an earlier file holds: the rows not automatic.
int Corrections(const OnsetTable& table) {
  return static_cast<int>(
      std::count_if(table.Rows().begin(), table.Rows().end(),
                    [](const auto& r) { return r.state != OnsetState::kAutomatic; }));
}

const std::string& Name(const WaveformSource& source, int k) {
  return source.Inputs()[static_cast<size_t>(k)].name;
}

OnsetOutcome PickInput(const WaveformSource& source, int k, const OnsetRequest& request,
                       const OnsetTable* earlier, FeatureThreadState& state) {
  OnsetOutcome outcome;
  const std::string& label = source.Label(k);
  const std::string& name = source.Inputs()[static_cast<size_t>(k)].name;
  Waveform& wf = state.waveform;
  OnsetTrace trace;
  if (const InputRead read =
          ReadOnsetInput(source, k, earlier != nullptr ? earlier->Find(name) : nullptr, wf, trace,
                         outcome.row, outcome.text);
      read != InputRead::kRead) {
    outcome.result = read == InputRead::kSkip ? OnsetResult::kSkipped : OnsetResult::kStopped;
    return outcome;
  }
  if (trace.problem != OnsetTraceProblem::kNone)
    outcome.doubtful = label + ": " + OnsetTraceNote(trace.problem);
  if (!request.plots.empty()) {
    const OnsetReviewMarks marks{outcome.row.automaticSample, outcome.row.correctedSample,
                                 outcome.row.state, request.settings.duration};
    const ChartData chart = OnsetReviewChart(wf, trace, marks);
    const cv::Mat image =
        RenderChart(chart, WholeChart(chart), kOnsetPictureWidth, kOnsetPictureHeight);
    SavePng(OnsetPicturePath(request.plots, name), image, &outcome.picture);
  }
  outcome.result = OnsetResult::kRow;
  return outcome;
}

}  // namespace

InputRead ReadOnsetInput(const WaveformSource& source, int k, const OnsetRow* earlier, Waveform& wf,
                         OnsetTrace& trace, OnsetRow& row, std::string& why) {
  const std::string& name = source.Inputs()[static_cast<size_t>(k)].name;
  if (name.find_first_of("\t\r\n") != std::string::npos) {
    why = source.Label(k) + ": the name holds a tab, CR or LF, which would split its row";
    return InputRead::kSkip;
  }
  int count = 0;
  if (const InputRead read = ReadBatchInput(source, k, wf, count, why); read != InputRead::kRead)
    return read;
  trace = TraceOnsetAIC(wf.samples.data(), count);
  const double dt = wf.sampleInterval;
  row = AutomaticOnsetRow(name, trace.pick, dt, wf.timeOfTest);
  if (earlier != nullptr && earlier->state != OnsetState::kAutomatic) {
    row.correctedSample = earlier->correctedSample;
    row.correctedTime = OnsetArrivalTime(earlier->correctedSample, dt, wf.timeOfTest);
    row.state = earlier->state;
  }
  return InputRead::kRead;
}

std::string OnsetFilePath(const std::string& input) {
  return JoinPath(FeatureResultsFolder(input), kOnsetFileName);
}

std::string OnsetPicturePath(const std::string& plots, const std::string& name) {
  std::string stem = name;
  if (LowerCaseExtension(stem) == ".txt") stem.resize(stem.size() - 4);
  return JoinPath(plots, stem + "_onset.png");
}

bool SaveOnsetTable(const std::string& path, const OnsetTable& table, Host& host) {
  ResultFiles result;
  result.Add(path).Write(OnsetTableText(table));
  return CommitResult(result, host);
}

CalcStatus PickOnsets(OnsetWorkspace& ws, const OnsetRequest& request, CalcProgress& progress,
                      Host& host) {
  ws.processed = 0;
  ws.skipped.Clear();
  ws.doubtful.Clear();
  ws.kept = 0;
  FeatureRequest listing;
  listing.folder = request.input;
  listing.columns.reset();
  listing.columns.set(kColArrivalTime);
  std::unique_ptr<WaveformSource> source;
  if (std::string refusal = FeatureInputRefusal(listing, source); !refusal.empty()) {
    host.MessageBox(refusal);
    return CalcStatus::kRefused;
  }
  const std::string path = OnsetFilePath(request.input);
  // An earlier file's corrections are kept; those of waveforms no longer there are not dropped
  // without --force.
  std::unique_ptr<OnsetTable> earlier;
  if (!request.force && IsRegularFile(path)) {
    earlier = std::make_unique<OnsetTable>();
    std::string why;
    if (!ReadOnsetTable(path, *earlier, why)) {
      host.MessageBox(why + "\nThe onsets file is left as it is (--force replaces it).");
      return CalcStatus::kRefused;
    }
    std::set<std::string_view> names_here;
    for (const WaveformInput& input : source->Inputs()) names_here.insert(input.name);
    std::vector<std::string> lost;
    for (const OnsetRow& row : earlier->Rows()) {
      if (row.state != OnsetState::kAutomatic && names_here.count(row.name) == 0)
        lost.push_back(row.name);
    }
    if (!lost.empty()) {
      std::string names;
      for (size_t i = 0; i < lost.size() && i < 10; ++i) names += (i ? ", " : "") + lost[i];
      if (lost.size() > 10) names += " and " + std::to_string(lost.size() - 10) + " more";
      host.MessageBox(path + " holds corrections of " + std::to_string(lost.size()) +
                      (lost.size() == 1 ? " waveform" : " waveforms") + " that " + request.input +
                      " no longer holds (" + names +
                      "); the file is left as it is (--force replaces it).");
      return CalcStatus::kRefused;
    }
    if (Corrections(*earlier) == 0) earlier.reset();
  }
  if (!request.plots.empty()) {
    std::string why;
    if (!MakeDirectory(request.plots, &why)) {
      host.MessageBox(FolderNotCreatedMessage(request.plots, why));
      return CalcStatus::kRefused;
    }
  }
  MakeDirectory(FeatureResultsFolder(request.input));  // a failure shows when writing

  const int count = source->Count();
  const int jobs = std::min(JobCount(request.jobs), count);
  while (static_cast<int>(ws.threads.size()) < jobs)
    ws.threads.push_back(std::make_unique<FeatureThreadState>());
  for (const auto& thread : ws.threads) thread->waveform.limit = request.maxSamples;
  progress.SetRange(0, count);
  progress.SetPos(0);

  OnsetTable table;
  table.database = IsWaveformDatabasePath(request.input);
  std::vector<OnsetOutcome> outcomes(static_cast<size_t>(count));
  std::string stop;
  std::vector<std::string> pictures;
  RunInOrder(
      count, jobs,
      [&](int k, int worker) {
        outcomes[k] = PickInput(*source, k, request, earlier.get(), *ws.threads[worker]);
      },
      [&](int k) {
        OnsetOutcome& outcome = outcomes[k];
        switch (outcome.result) {
          case OnsetResult::kStopped:
            stop = std::move(outcome.text);
            return false;
          case OnsetResult::kSkipped: {
            ws.skipped.Add(std::move(outcome.text));
            // A correction of a file that cannot be read now is not lost with its row.
            const OnsetRow* kept = earlier != nullptr ? earlier->Find(Name(*source, k)) : nullptr;
            if (kept != nullptr && kept->state != OnsetState::kAutomatic) {
              table.Add(*kept);
              ++ws.kept;
            }
            break;
          }
          case OnsetResult::kRow:
            if (outcome.row.state != OnsetState::kAutomatic) ++ws.kept;
            if (!outcome.doubtful.empty()) ws.doubtful.Add(std::move(outcome.doubtful));
            if (!outcome.picture.empty()) pictures.push_back(std::move(outcome.picture));
            table.Add(std::move(outcome.row));
            break;
        }
        outcome = OnsetOutcome{};
        progress.SetPos(k + 1);
        progress.DrainMessages();
        return true;
      });
  if (!stop.empty()) {
    ws.skipped.Clear();
    ws.doubtful.Clear();
    ws.kept = 0;
    host.MessageBox(stop);
    return CalcStatus::kRefused;
  }
  ws.processed = table.Count();
  if (!SaveOnsetTable(path, table, host)) return CalcStatus::kFailed;
  if (!pictures.empty()) {
    FileNotes notes;
    for (std::string& note : pictures) notes.Add(std::move(note));
    host.MessageBox("Review pictures that could not be written:\n" + notes.Text());
    return CalcStatus::kFailed;
  }
  return CalcStatus::kDone;
}

}  // namespace plexo
