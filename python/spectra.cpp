// Spectra: the FFT of one waveform and the Average FFT of a batch.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <complex>
#include <memory>
#include <string>
#include <vector>

#include "calculation_guard.h"
#include "platform/file_system.h"
#include "python_errors.h"
#include "result_table.h"
#include "sources.h"
#include "spectral/average_fft.h"
#include "spectral/single_fft.h"
#include "spectral/time_gate.h"
#include "waveforms.h"

namespace plexo::python {
namespace {

py::tuple Fft(const PyWaveform& in) {
  Waveform wf = ToCalculation(in, "the waveform");
  std::vector<double> frequencies;
  int bins;
  {
    py::gil_scoped_release release;
    bins = SingleSpectrum(wf, wf.count, frequencies);
  }
  py::array_t<std::complex<double>> spectrum(bins);
  auto* out = spectrum.mutable_data();
  for (int k = 0; k < bins; ++k) out[k] = {wf.samples[k].re, wf.samples[k].im};
  return py::make_tuple(ArrayOf(frequencies.data(), static_cast<size_t>(bins)), spectrum);
}

int WindowIndexNamed(const py::object& window) {
  if (window.is_none()) return kFftWindowNone;
  const std::string name = window.cast<std::string>();
  if (name == "none") return kFftWindowNone;
  if (name == "200us") return kFftWindow200us;
  RaiseRefused("window must be None, \"none\" or \"200us\", not \"" + name + "\"");
}

py::object AverageFft(const py::object& source, const py::object& window, int jobs, bool strict) {
  const int windowIndex = WindowIndexNamed(window);
  const PythonSource inputs = SourceOf(source);
  auto ws = std::make_unique<AverageFftWorkspace>();
  ws->strict = strict;
  RecordingHost host;
  InterruptibleProgress progress;
  WaveformHeader last;
  int lastBins = 0;
  int bins = 0;
  CalcStatus status;
  {
    py::gil_scoped_release release;
    status = AverageFftSums(*ws, *inputs.source, windowIndex, progress, host, jobs, last, lastBins);
    if (status == CalcStatus::kDone && ws->averaged > 0)
      bins = AverageFftResult(*ws, ws->sums, last, lastBins);
  }
  progress.RaiseIfInterrupted();
  if (status != CalcStatus::kDone) RaiseMessages(host, "The Average FFT was refused");
  py::list warnings;
  for (const std::string& note : ws->notes.All()) warnings.append(note);
  if (ws->averaged == 0) {
    std::string text = "No waveform data in " + std::to_string(inputs.source->Count()) + " inputs";
    for (const std::string& note : ws->notes.All()) text += "\n" + note;
    RaiseRefused(text);
  }
  const AverageSpectrum& r = ws->result;
  const std::vector<double>* columns[] = {&r.frequency, &r.real,    &r.imaginary, &r.magnitude,
                                          &r.deviation, &r.minimum, &r.maximum};
  py::dict out;
  int c = 0;
  for (const AverageFftColumn& column : AverageFftColumns())
    out[column.title] = ArrayOf(columns[c++]->data(), static_cast<size_t>(bins));
  py::dict notes;
  notes["averaged"] = ws->averaged;
  notes["warnings"] = warnings;
  return MakeResultTable(out, notes);
}

}  // namespace

void RegisterSpectra(py::module_& m) {
  m.def("fft", &Fft, py::arg("waveform"),
        "The unscaled spectrum of the waveform, as in its FFT file: (frequencies, spectrum) for "
        "bins 0 .. N/2 - 1 of the transform of 2^m >= len(samples) points.");
  m.def("average_fft", &AverageFft, py::arg("source"), py::arg("window") = py::none(),
        py::arg("jobs") = 0, py::arg("strict") = false,
        R"(The Average FFT of a batch, as in its average_FFT table.

source: a folder (its *.txt waveform files in name order), a waveform database (.tradb, its
records in TRAI order), a list of waveform file paths or a list of plexo.Waveform.
window: None or "none" (the whole waveform) or "200us" (each waveform gated to 240..340 us).
jobs: threads reading and transforming ahead (0: every core); the result does not depend on it.
strict: the first file that would be skipped raises ValueError instead.

Returns a plexo.ResultTable (a dict ready for pandas.DataFrame) of float64 arrays, one per
table column ("Frequency", "Real", "Imaginary", "Magnitude", "Standard Deviation", "Minimum
Magnitude", "Maximum Magnitude"); beside them result["averaged"] (the waveforms averaged) and
result["warnings"] (the notes naming skipped files and files on another grid, as the command
line gives them).)");
}

}  // namespace plexo::python
