// Time-frequency maps: the wavelet transform and the Wigner-Ville distribution of one waveform,
// with the values and grid of their TFT files.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <complex>
#include <memory>
#include <optional>

#include "calculation_guard.h"
#include "python_errors.h"
#include "signal/calc_settings.h"
#include "timefreq/cwt.h"
#include "timefreq/cwt_grid.h"
#include "timefreq/spwvd.h"
#include "timefreq/spwvd_grid.h"
#include "waveforms.h"

namespace plexo::python {
namespace {

// The grid of a run on a waveform in memory: its own sample interval, the window and the
// frequency grid as given.
TftRequest RequestOf(double freqStart, double freqEnd, double freqStep, double timeStart,
                     double timeEnd) {
  TftRequest request;
  request.freqStart = freqStart;
  request.freqEnd = freqEnd;
  request.freqRes = freqStep;
  request.timeStart = timeStart;
  request.timeEnd = timeEnd;
  request.autoTimeRes = true;
  return request;
}

// The times of a TFT file's header line: (g + 1) * dt + timeStart for its columns g.
py::array_t<double> TimesOf(long long columns, double dt, double timeStart) {
  py::array_t<double> times(static_cast<py::ssize_t>(columns));
  double* t = times.mutable_data();
  for (long long g = 0; g < columns; ++g) t[g] = static_cast<double>(g + 1) * dt + timeStart;
  return times;
}

py::tuple Cwt(const PyWaveform& in, double freqStart, double freqEnd, double freqStep,
              int waveletLength, double timeStart, double timeEnd, int jobs,
              const std::string& waveletMethod) {
  const std::optional<WaveletMethod> method = WaveletMethodNamed(waveletMethod);
  if (!method) RaiseRefused("wavelet_method is \"direct\" or \"fft\", not " + waveletMethod);
  auto ws = std::make_unique<CwtWorkspace>();
  ws->waveform = ToCalculation(in, "the waveform");
  ws->jobs = jobs;
  TftRequest request = RequestOf(freqStart, freqEnd, freqStep, timeStart, timeEnd);
  request.waveletLength = waveletLength;
  request.waveletMethod = *method;
  RecordingHost host;
  InterruptibleProgress progress;
  CwtGrid grid;
  CalcStatus status;
  {
    py::gil_scoped_release release;
    status = ComputeCwt(*ws, request, ws->waveform.count, progress, host, grid);
  }
  progress.RaiseIfInterrupted();
  if (status != CalcStatus::kDone) RaiseMessages(host, "The wavelet transform was refused");
  const int rows = grid.ComputedRows();
  const auto columns = static_cast<py::ssize_t>(grid.columns);
  py::array_t<double> frequencies(rows);
  py::array_t<std::complex<double>> matrix({static_cast<py::ssize_t>(rows), columns});
  auto f = frequencies.mutable_unchecked<1>();
  auto out = matrix.mutable_unchecked<2>();
  for (int r = 0; r < rows; ++r) {
    f(r) = (r + 1) * grid.freqStep;
    const Complex* row = ws->matrix.Row(r);
    for (py::ssize_t c = 0; c < columns; ++c) out(r, c) = {row[c].re, row[c].im};
  }
  return py::make_tuple(frequencies, TimesOf(grid.columns, grid.dt, timeStart), matrix);
}

py::tuple Spwvd(const PyWaveform& in, double freqStart, double freqEnd, double freqStep,
                double timeStart, double timeEnd, int subsampling, int windowParameter, int jobs) {
  auto ws = std::make_unique<SpwvdWorkspace>();
  ws->waveform = ToCalculation(in, "the waveform");
  ws->jobs = jobs;
  TftRequest request = RequestOf(freqStart, freqEnd, freqStep, timeStart, timeEnd);
  request.subsampling = subsampling;
  request.windowParameter = windowParameter;
  RecordingHost host;
  NullProgress progress;  // the distribution has no stop test: the run is short
  SpwvdGrid grid;
  CalcStatus status;
  {
    py::gil_scoped_release release;
    status = ComputeSpwvd(*ws, request, ws->waveform.count, progress, host, grid);
  }
  if (status != CalcStatus::kDone) RaiseMessages(host, "The Wigner-Ville distribution was refused");
  const int rows = grid.FileRows();
  const auto columns = static_cast<py::ssize_t>(std::max<long long>(grid.columns, 0));
  py::array_t<double> frequencies(rows);
  py::array_t<double> matrix({static_cast<py::ssize_t>(rows), columns});
  auto f = frequencies.mutable_unchecked<1>();
  auto out = matrix.mutable_unchecked<2>();
  for (int k = 0; k < rows; ++k) {
    f(k) = k * grid.binStep;
    const Complex* row = ws->matrix.Row(k);
    for (py::ssize_t c = 0; c < columns; ++c) out(k, c) = row[c].re;
  }
  return py::make_tuple(frequencies, TimesOf(columns, grid.decimatedDt, timeStart), matrix);
}

}  // namespace

void RegisterMaps(py::module_& m) {
  // The defaults are those of a fresh setup file, as plexo tft starts from.
  const CalcSettings d;
  m.def("cwt", &Cwt, py::arg("waveform"), py::arg("freq_start") = d.freqStart,
        py::arg("freq_end") = d.freqEnd, py::arg("freq_step") = d.freqRes,
        py::arg("wavelet_length") = static_cast<int>(d.wtSize), py::arg("time_start") = d.timeStart,
        py::arg("time_end") = d.timeEnd, py::arg("jobs") = 0, py::arg("wavelet_method") = "direct",
        R"(The Gabor wavelet transform of the waveform, as plexo tft --method cwt --complex
writes it: (frequencies, times, matrix). wavelet_method="fft" sums the rows by fast
convolution, as --wavelet-method fft (each coefficient within 1e-12 of its row's largest
modulus of the direct sum).

The grid: rows at 1, 2, ... times freq_step (trunc((freq_end - freq_start)/freq_step) rows;
only the span counts), columns from sample trunc(time_start/dt) to trunc(time_end/dt) - 1 at
times (g + 1) dt + time_start, dt the waveform's sample interval. matrix is complex128 of shape
(len(frequencies), len(times)); abs(matrix) is the modulus table. jobs: threads computing rows
(0: every core), never changing the numbers. Ctrl+C stops it between rows
(KeyboardInterrupt). A grid that cannot be computed raises ValueError with the program's
message.)");
  m.def("spwvd", &Spwvd, py::arg("waveform"), py::arg("freq_start") = d.freqStart,
        py::arg("freq_end") = d.freqEnd, py::arg("freq_step") = d.freqRes,
        py::arg("time_start") = d.timeStart, py::arg("time_end") = d.timeEnd,
        py::arg("subsampling") = static_cast<int>(d.cwdSize),
        py::arg("window_parameter") = static_cast<int>(d.cwdSigma), py::arg("jobs") = 0,
        R"(The smoothed pseudo Wigner-Ville distribution of the waveform, as plexo tft
--method spwvd writes it: (frequencies, times, matrix).

Bins from 0 Hz to the first at or above freq_end (bin k at k times the bin step), columns of
the window decimated by `subsampling` at times (g + 1) dt' + time_start (dt' = dt *
subsampling). matrix is float64 of shape (len(frequencies), len(times)), the magnitudes.
window_parameter divides both smoothing window lengths. A grid that cannot be computed raises
ValueError with the program's message.)");
}

}  // namespace plexo::python
