#include "timefreq/cwt.h"

#include <algorithm>
#include <span>

#include "platform/file_system.h"
#include "platform/job_count.h"
#include "platform/ordered_workers.h"
#include "platform/result_files.h"
#include "signal/waveform_file.h"
#include "timefreq/cwt_grid.h"
#include "timefreq/cwt_preview.h"
#include "timefreq/cwt_row.h"
#include "timefreq/gabor.h"
#include "timefreq/tft_file.h"
#include "timefreq/tft_result.h"

namespace plexo {
namespace {

// window[i] = sample h + i for i < columns, zero where that lies outside the loaded samples and
// from index `columns` on. One entry beyond MAX_SAMPLES stays zero for the preview's extra
// column.
void MoveWindow(const Waveform& wf, int stored, long long first, long long columns,
                std::vector<Complex>& window) {
  window.assign(MAX_SAMPLES + 1, Complex{});
  for (long long i = 0; i < columns && i < MAX_SAMPLES; ++i) {
    const long long k = first + i;
    if (k >= 0 && k < stored) window[i] = wf.samples[k];
  }
}

// Computes rows 1 .. R-1 into matrix rows 0 .. R-2; false when a stop was requested.
bool ComputeRows(CwtWorkspace& ws, const CwtGrid& grid, int columns, const TftRequest& request,
                 CalcProgress& progress) {
  const int rows = grid.ComputedRows();
  const CwtRowKernel kernel(std::span<const Complex>(ws.window.data(), MAX_SAMPLES), columns,
                            request.waveletLength,
                            RowMethod(request.waveletMethod, columns, request.waveletLength));
  const int jobs = std::min(JobCount(ws.jobs), std::max(rows, 1));
  std::vector<CwtRowScratch>& scratch = ws.rowScratch;
  if (static_cast<int>(scratch.size()) < jobs) scratch.resize(jobs);
  return RunInOrder(
      rows, jobs,
      [&](int row, int worker) {
        const double s = GaborScale(row + 1, grid.freqStep, grid.dt);
        kernel.Compute(s, grid.dt, ws.matrix.Row(row), scratch[worker]);
      },
      [&](int row) {
        progress.SetPos(row + 1);
        if (progress.StopRequested()) return false;
        progress.DrainMessages();
        return true;
      });
}

}  // namespace

std::string CwtFilePath(const std::string& input) {
  return PathWithoutExtension(input) + "_wt" + LowerCaseExtension(input);
}

std::string CwtPreviewPath(const std::string& input) {
  return PathWithoutExtension(input) + "_wt_preview.bmp";
}

CalcStatus ComputeCwt(CwtWorkspace& ws, const TftRequest& request, int stored,
                      CalcProgress& progress, Host& host, CwtGrid& grid) {
  const Waveform& wf = ws.waveform;
  grid = CwtGridOf(request, wf.sampleInterval);
  if (const std::string problem = CwtGridProblem(grid); !problem.empty()) {
    host.MessageBox(problem);
    return CalcStatus::kRefused;
  }
  const int columns = static_cast<int>(grid.columns);
  const int lines = static_cast<int>(grid.lines);

  MoveWindow(wf, stored, grid.first, grid.columns, ws.window);
  // The rows, the empty last line and the empty column C that the preview paints.
  ws.matrix.ZeroRegion(lines, columns + 1);

  progress.SetRange(0, lines);
  if (!ComputeRows(ws, grid, columns, request, progress)) {
    return CalcStatus::kStopped;
  }
  return CalcStatus::kDone;
}

CalcStatus CalcSingleCwt(CwtWorkspace& ws, const TftRequest& request, CalcProgress& progress,
                         Host& host, ResultFiles* shared) {
  if (LowerCaseExtension(request.path) != ".txt") {
    host.MessageBox("Filetype has the wrong format! Provide a valid file!");
    return CalcStatus::kRefused;
  }
  Waveform& wf = ws.waveform;
  // A header line the file lacks must not keep the value of the file read before.
  static_cast<WaveformHeader&>(wf) = WaveformHeader{};
  const int count = ReadWaveform(StagedOrOwnPath(request.path, shared), wf);
  // Files of fewer than nine lines give negative counts: no data either.
  if (count <= 0) {
    host.MessageBox(wf.readProblem.empty()
                        ? "No valid data present in file or error during loading!"
                        : wf.readProblem);
    return CalcStatus::kRefused;
  }
  // A longer file is computed on the MAX_SAMPLES samples the reader stored; the window reads
  // zeros beyond them.
  const int stored = std::min(count, MAX_SAMPLES);
  CwtGrid grid;
  if (const CalcStatus status = ComputeCwt(ws, request, stored, progress, host, grid);
      status != CalcStatus::kDone)
    return status;
  const int columns = static_cast<int>(grid.columns);
  const int lines = static_cast<int>(grid.lines);

  // The table and the preview only read the matrix.
  TftResultParts parts;
  if (TftTableWanted(request.output)) parts.tablePath = CwtFilePath(request.path);
  if (ws.writePreview) parts.previewPath = CwtPreviewPath(request.path);
  parts.title = "WT-File";
  parts.writeTable = [&](TextFileWriter& out) {
    return WriteTftTable(request.output, out, ws.matrix, lines, columns, grid.freqStep,
                         request.timeStart, wf.channel, wf.timeOfTest, grid.dt);
  };
  parts.makePreview = [&] {
    return MakeCwtPreview(ws.matrix, columns, lines, grid.dt, grid.freqStep, ws.window.data(),
                          stored, wf);
  };
  return FinishTftResult(parts, shared, host);
}

}  // namespace plexo
