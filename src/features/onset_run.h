#pragma once
// The onset pick run: every waveform of a source (a folder's files, a database's records)
// through the AIC picker the feature run uses, written as FXData/Onsets.txt (the same folder as
// the feature table), and on request one review picture per waveform.
#include <memory>
#include <string>
#include <vector>

#include "features/feature_extraction.h"
#include "features/onset_table.h"
#include "features/time_features.h"
#include "platform/file_notes.h"
#include "platform/host.h"

namespace plexo {

struct OnsetRequest {
  std::string input;  // a folder of waveform files, or a waveform database (.tradb)
  FeatureSettings settings = DefaultFeatureSettings();  // the window length after the pick
  std::string plots;   // a folder for one review picture per waveform; empty: none
  bool force = false;  // replace an existing onsets file even where it holds corrections
  int jobs = 0;        // worker threads; 0: one per core. Never changes the file.
  int maxSamples = MAX_SAMPLES;
};

struct OnsetWorkspace {
  std::vector<std::unique_ptr<FeatureThreadState>> threads;
  int processed = 0;   // rows written by the last run
  FileNotes skipped;   // inputs skipped, each with its reason, in input order
  FileNotes doubtful;  // inputs whose pick cannot mean anything, each with the reason
  int kept = 0;        // corrected or rejected rows carried over from the earlier file
};

// folder/FXData/Onsets.txt, or <stem>_FXData/Onsets.txt beside a database.
std::string OnsetFilePath(const std::string& input);
// The review picture of an input named `name` (a file name or a TRAI) in folder `plots`:
// the name without a .txt ending, then "_onset.png".
std::string OnsetPicturePath(const std::string& plots, const std::string& name);
// The size of a review picture.
inline constexpr int kOnsetPictureWidth = 1000;
inline constexpr int kOnsetPictureHeight = 600;

// Reads input k of `source` into `wf` and traces its pick: the row of a fresh pick, with the
// corrected onset and state of `earlier` (the input's row of an earlier file) where that is
// corrected or rejected. Else why not, as ReadBatchInput says (kSkip also for a name that would
// split its row).
InputRead ReadOnsetInput(const WaveformSource& source, int k, const OnsetRow* earlier, Waveform& wf,
                         OnsetTrace& trace, OnsetRow& row, std::string& why);

// Puts `table` in place of the onsets file at `path` (complete or not at all) and tells the host
// what it wrote; false after showing why it could not.
bool SaveOnsetTable(const std::string& path, const OnsetTable& table, Host& host);

// Picks the onsets and writes the file (and the pictures). An existing onsets file keeps its
// corrections: rows corrected or rejected there keep their corrected sample and state (their
// times follow the waveform), every other row is picked afresh. Refused (message, nothing
// written): what the feature run refuses about its input, a waveform over the sample limit, an
// existing onsets file that cannot be read, or one with corrections of waveforms the input no
// longer holds (unless request.force, which replaces the file whole). Inputs the reader refuses
// are skipped and named in workspace.skipped; a correction of one of them is kept as it was. The
// pictures are written as the run goes.
CalcStatus PickOnsets(OnsetWorkspace& workspace, const OnsetRequest& request,
                      CalcProgress& progress, Host& host);

}  // namespace plexo
