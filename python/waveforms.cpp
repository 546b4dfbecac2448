#include "waveforms.h"

#include <pybind11/stl.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/file_system.h"
#include "python_errors.h"
#include "signal/database_waveform.h"
#include "signal/waveform_database.h"
#include "signal/waveform_file.h"
#include "spectral/sample_interval_check.h"

namespace plexo::python {
namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

PyWaveform FromReal(const RealWaveform& wf, int count) {
  PyWaveform out;
  out.samples = ArrayOf(wf.samples.data(), static_cast<size_t>(count));
  out.sampleInterval = wf.sampleInterval;
  out.channel = wf.channel;
  out.timeOfTest = wf.timeOfTest;
  out.units = Trimmed(wf.units);
  return out;
}

}  // namespace

py::array_t<double> ArrayOf(const double* values, size_t n) {
  py::array_t<double> array(static_cast<py::ssize_t>(n));
  std::memcpy(array.mutable_data(), values, n * sizeof(double));
  return array;
}

namespace {

// The refusals every calculation makes of a waveform before it starts: no samples, more than
// the program's limit, no usable sample interval.
void CheckCount(size_t count, const std::string& name) {
  if (count == 0) RaiseRefused("No data present in " + name + "!");
  if (count > static_cast<size_t>(MAX_SAMPLES))
    RaiseRefused(name + ": " + SamplingSizeMessage(static_cast<int>(count)));
}

}  // namespace

Waveform ToCalculation(const PyWaveform& in, const std::string& name) {
  const auto samples = in.samples.unchecked<1>();
  const size_t count = static_cast<size_t>(samples.shape(0));
  CheckCount(count, name);
  if (const std::string problem = SampleIntervalProblem(name, in.sampleInterval); !problem.empty())
    RaiseRefused(problem);
  Waveform wf;
  wf.samples.assign(MAX_SAMPLES, Complex{});
  for (size_t i = 0; i < count; ++i) wf.samples[i] = Complex{samples(i), 0.0};
  wf.count = static_cast<int>(count);
  wf.sampleInterval = in.sampleInterval;
  wf.channel = in.channel;
  wf.timeOfTest = in.timeOfTest;
  wf.units = in.units;
  return wf;
}

namespace {

PyWaveform ReadWaveformFile(const std::string& path) {
  RealWaveform wf;
  int count;
  {
    py::gil_scoped_release release;
    count = ReadWaveformReal(path, wf);
  }
  if (count < 0) {
    if (!wf.readProblem.empty()) RaiseRefused(wf.readProblem);
    if (const std::string why = WhyNotReadable(path); !why.empty())
      RaiseFileError(path, "Cannot read " + path + ": " + why);
    RaiseRefused(path + ": no usable sample interval line (\"SAMPLE INTERVAL (Seconds):\")");
  }
  CheckCount(static_cast<size_t>(count), path);
  return FromReal(wf, count);
}

// The records of a database, read one by one as the iterator advances.
class DatabaseRecords {
 public:
  DatabaseRecords(const std::string& path, RecordSelection selection) {
    std::string why;
    if (!db_.Open(path, why)) {
      if (!IsRegularFile(path)) RaiseFileError(path, why);
      RaiseRefused(why);
    }
    if (!db_.List(selection, records_, why)) RaiseRefused(why);
  }
  DatabaseRecords& Iter() { return *this; }
  PyWaveform Next() {
    if (next_ >= records_.size()) throw py::stop_iteration();
    const DatabaseRecordInfo& info = records_[next_++];
    RealWaveform wf;
    std::string why;
    int count;
    {
      py::gil_scoped_release release;
      count = ReadDatabaseWaveformReal(db_, info, workspace_, wf, why);
    }
    if (count < 0) RaiseRefused(why);
    if (count > MAX_SAMPLES)
      RaiseRefused(db_.Path() + ": " + RecordName(info.trai) + ": " + SamplingSizeMessage(count));
    PyWaveform out = FromReal(wf, count);
    out.trai = info.trai;
    return out;
  }
  size_t Size() const { return records_.size(); }

 private:
  WaveformDatabase db_;
  std::vector<DatabaseRecordInfo> records_;
  size_t next_ = 0;
  DatabaseRecord workspace_;
};

RecordSelection SelectionOf(const py::object& trai, int channel) {
  RecordSelection selection;
  selection.channel = channel;
  if (trai.is_none()) return selection;
  if (py::isinstance<py::int_>(trai)) {
    selection.traiFirst = selection.traiLast = trai.cast<std::int64_t>();
  } else {
    const auto range = trai.cast<std::pair<std::int64_t, std::int64_t>>();
    selection.traiFirst = range.first;
    selection.traiLast = range.second;
  }
  return selection;
}

}  // namespace

std::string PathText(const py::handle& path) {
  return py::module_::import("os").attr("fspath")(path).cast<std::string>();
}

void RegisterWaveforms(py::module_& m) {
  py::class_<PyWaveform>(m, "Waveform", "One transient: samples in volts and its header values.")
      .def(
          py::init([](py::array_t<double, py::array::c_style | py::array::forcecast> samples,
                      double sample_interval, int channel, double time_of_test, std::string units) {
            if (samples.ndim() != 1) throw py::value_error("samples must be one-dimensional");
            PyWaveform w;
            w.samples = ArrayOf(samples.data(), static_cast<size_t>(samples.shape(0)));
            w.sampleInterval = sample_interval;
            w.channel = channel;
            w.timeOfTest = time_of_test;
            w.units = std::move(units);
            return w;
          }),
          py::arg("samples"), py::arg("sample_interval"), py::arg("channel") = 0,
          py::arg("time_of_test") = 0.0, py::arg("units") = "volts")
      .def_readwrite("samples", &PyWaveform::samples, "float64 array of the samples")
      .def_readwrite("sample_interval", &PyWaveform::sampleInterval, "seconds")
      .def_readwrite("channel", &PyWaveform::channel)
      .def_readwrite("time_of_test", &PyWaveform::timeOfTest, "seconds")
      .def_readwrite("units", &PyWaveform::units)
      .def_readonly("trai", &PyWaveform::trai, "the record's TRAI (databases), else None")
      .def("__len__", [](const PyWaveform& w) { return w.samples.shape(0); })
      .def("__repr__", [](const PyWaveform& w) {
        return "<plexo.Waveform " + std::to_string(w.samples.shape(0)) + " samples, dt " +
               Trimmed(std::to_string(w.sampleInterval)) + " s, channel " +
               std::to_string(w.channel) + ">";
      });

  m.def("read_waveform", &ReadWaveformFile, py::arg("path"),
        "Reads a waveform file (nine header lines, one sample per line) exactly as the "
        "calculations do (the first sample is stored as 0).");

  py::class_<DatabaseRecords>(m, "DatabaseRecords")
      .def("__iter__", &DatabaseRecords::Iter, py::return_value_policy::reference_internal)
      .def("__next__", &DatabaseRecords::Next)
      .def("__len__", &DatabaseRecords::Size);
  m.def(
      "read_tradb",
      [](const std::string& path, const py::object& trai, int channel) {
        return std::make_unique<DatabaseRecords>(path, SelectionOf(trai, channel));
      },
      py::arg("path"), py::arg("trai") = py::none(), py::arg("channel") = 0,
      "The records of a waveform database (.tradb) in TRAI order, as the calculations read "
      "them: trai = None (all), N or (first, last); channel = 0 (all) or one channel.");
}

}  // namespace plexo::python
