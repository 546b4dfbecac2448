// Features: one row of the feature table per waveform of a batch, as numpy columns.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <string>
#include <vector>

#include "calculation_guard.h"
#include "features/feature_extraction.h"
#include "features/feature_options.h"
#include "python_errors.h"
#include "result_table.h"
#include "sources.h"
#include "waveforms.h"

namespace plexo::python {
namespace {

// The Python name of a command-line name: "time-start" -> "time_start".
std::string PythonName(std::string name) {
  for (char& c : name)
    if (c == '-') c = '_';
  return name;
}

std::string ValidParameterNames() {
  std::string names = "band, wt_band, aic, wavelet_method";
  for (const FeatureParamEntry& entry : kFeatureParamTable) {
    names += ", " + PythonName(entry.name);
    if (entry.alias != nullptr) names += " (or " + PythonName(entry.alias) + ")";
  }
  return names;
}

// A number as the command line would be given it: the shortest text that reads back as the
// same double (repr), an int as its digits, a str as it stands.
std::string ValueText(const py::handle& value) {
  if (py::isinstance<py::bool_>(value)) RaiseRefused("a number is expected, not a bool");
  if (py::isinstance<py::str>(value)) return value.cast<std::string>();
  if (py::isinstance<py::int_>(value)) return py::str(value).cast<std::string>();
  return py::repr(py::float_(py::reinterpret_borrow<py::object>(value))).cast<std::string>();
}

// Bands as "K:BEGIN:END" texts, a list of them, or a dict {K: (BEGIN, END)}.
std::vector<std::string> BandTexts(const py::handle& value) {
  std::vector<std::string> texts;
  if (py::isinstance<py::str>(value)) {
    texts.push_back(value.cast<std::string>());
  } else if (py::isinstance<py::dict>(value)) {
    for (const auto& [k, edges] : value.cast<py::dict>()) {
      const auto pair = edges.cast<py::sequence>();
      if (pair.size() != 2) RaiseRefused("a band is (BEGIN, END)");
      texts.push_back(py::str(k).cast<std::string>() + ":" + ValueText(pair[0]) + ":" +
                      ValueText(pair[1]));
    }
  } else {
    for (const py::handle item : value) texts.push_back(item.cast<std::string>());
  }
  return texts;
}

FeatureOptions OptionsOf(const py::object& columns, const py::kwargs& parameters) {
  FeatureOptions o;
  if (py::isinstance<py::str>(columns)) {
    if (columns.cast<std::string>() != "all")
      RaiseRefused("columns must be None, \"all\" or a list of column names");
    o.all = true;
  } else if (!columns.is_none()) {
    for (const py::handle name : columns) o.columns.push_back(name.cast<std::string>());
    if (o.columns.empty()) RaiseRefused("columns is an empty list");
  }
  for (const auto& [key, value] : parameters) {
    const std::string name = key.cast<std::string>();
    std::string option = name;
    for (char& c : option)
      if (c == '_') c = '-';
    if (option == "band") {
      o.bands = BandTexts(value);
    } else if (option == "wt-band") {
      o.wtBands = BandTexts(value);
    } else if (option == "aic") {
      o.useAic = value.cast<bool>();
    } else if (option == "wavelet-method") {
      o.waveletMethod = value.cast<std::string>();
    } else if (const FeatureParamEntry* entry = FeatureParamNamed(option);
               entry != nullptr && name.find('-') == std::string::npos) {
      std::string text = ValueText(value);
      if (std::string problem = CheckFeatureParam(entry->kind, text); !problem.empty())
        RaiseRefused(name + ": " + problem);
      o.params.*entry->text = text;
    } else {
      RaiseRefused("Unknown parameter " + name + "; the parameters are: " + ValidParameterNames());
    }
  }
  return o;
}

py::object Features(const py::object& source, const py::object& columns, int jobs, bool strict,
                    const py::kwargs& parameters) {
  FeatureRequest request;
  if (const std::string problem = ApplyFeatureOptions(OptionsOf(columns, parameters), request);
      !problem.empty())
    RaiseRefused(problem);
  request.jobs = jobs;
  request.strict = strict;
  std::vector<std::string> warnings;
  // The dialog's band check: a warning per inverted band; the last wavelet band refuses.
  const BandCheck check = CheckBands(request.settings);
  if (check.fatal) RaiseRefused(kInvertedBandMessage);
  for (int i = 0; i < check.warnings; ++i) warnings.emplace_back(kInvertedBandMessage);
  if (const std::string problem = FeatureRequestProblem(request); !problem.empty())
    RaiseRefused(problem);

  const PythonSource batch = SourceOf(source);
  request.keepValues = true;
  auto workspace = std::make_unique<FeatureWorkspace>();
  InterruptibleProgress progress;
  FeatureRows rows;
  {
    py::gil_scoped_release release;
    rows = ComputeFeatureRows(*workspace, request, *batch.source, 0, batch.source->Count(),
                              [&progress](int) { return !progress.StopRequested(); });
  }
  progress.RaiseIfInterrupted();
  if (rows.refusedFile >= 0) RaiseRefused(rows.message);
  for (std::string& note : rows.skipped) warnings.push_back("Skipped: " + note);
  if (rows.doubtful > 0) warnings.push_back("Warning: " + DoubtfulRowsNote(rows.doubtful));

  py::dict out;
  py::list names;
  for (const int input : rows.rowInputs) names.append(batch.RowName(input));
  out["file"] = names;
  const size_t count = rows.values.size();
  for (int c = 0; c < kFeatureColumnCount; ++c) {
    if (!request.columns.test(static_cast<size_t>(c))) continue;
    py::array_t<double> column(static_cast<py::ssize_t>(count));
    double* v = column.mutable_data();
    for (size_t r = 0; r < count; ++r) v[r] = rows.values[r][c];
    out[kFeatureColumnTable[c].header] = column;
  }
  py::dict notes;
  notes["warnings"] = warnings;
  return MakeResultTable(out, notes);
}

}  // namespace

void RegisterFeatures(py::module_& m) {
  std::string column_names;
  size_t line = 0;  // the names wrapped at 90 characters
  for (const std::string& name : FeatureColumnNames()) {
    if (!column_names.empty()) {
      column_names += line + name.size() + 2 > 90 ? ",\n" : ", ";
      if (column_names.back() == '\n') line = 0;
    }
    column_names += name;
    line += name.size() + 2;
  }
  m.def("features", &Features, py::arg("source"), py::arg("columns") = py::none(),
        py::arg("jobs") = 0, py::arg("strict") = false,
        (R"(The feature table of a batch of waveforms, as plexo features computes it.

source: a folder (its *.txt waveform files in name order), a waveform database (.tradb, its
records in TRAI order), a list of waveform file paths, or a list of plexo.Waveform.
columns: None (the default columns), "all", or a list of the command line's column names:
)" + column_names +
         R"(.
jobs: threads working on the waveforms (0: every core); the numbers never depend on it.
strict: the first waveform that would be skipped raises ValueError instead.
parameters: the command line's options by their names with "_" for "-":
  time_start (start), time_end (end), duration, freq_start, freq_end, freq_res,
  wavelet_length, impedance: numbers (or their texts, read as the command line reads them);
  aic=True: the window from the AIC onset pick to the pick + duration;
  wavelet_method: "direct" (the default) or "fft", as plexo features --wavelet-method;
  band / wt_band: partial power / wavelet bands as {K: (BEGIN, END)}, "K:BEGIN:END" or a list
  of such texts. Defaults are those of the Feature Extraction dialog.

Returns a plexo.ResultTable, a dict ready for pandas.DataFrame: one float64 array per column,
keyed by the table's header ("signal energy", "peak frequency 1", ...), and "file" (the file
names of a folder, the paths of a list, the TRAI of database records, the index of a Waveform
without TRAI) for each row; beside them result["warnings"]: the waveforms skipped with their
reasons, as the command line names them.
The GIL is released while the waveforms are computed; Ctrl+C stops the batch between two
waveforms (KeyboardInterrupt). Unknown parameter names and refused values raise ValueError;
a folder that is missing or cannot be listed raises the OSError subclass of the reason.)")
            .c_str());
}

}  // namespace plexo::python
