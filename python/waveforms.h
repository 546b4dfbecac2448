#pragma once
// What Python holds of a waveform, and its conversions to and from the calculations' form.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "signal/waveform.h"

namespace plexo::python {

namespace py = pybind11;

// A waveform's samples and the header values the calculations use.
struct PyWaveform {
  py::array_t<double> samples;
  double sampleInterval = 0.0;
  int channel = 0;
  double timeOfTest = 0.0;
  std::string units = "volts";
  std::optional<std::int64_t> trai;
};

py::array_t<double> ArrayOf(const double* values, size_t n);

// The waveform in the calculations' form: MAX_SAMPLES entries, the rest zero, count set.
// Refused (ValueError naming `name`): no samples, more than MAX_SAMPLES, no usable sample
// interval. Takes the GIL's time only for the copy.
Waveform ToCalculation(const PyWaveform& in, const std::string& name);

void RegisterWaveforms(py::module_& m);

}  // namespace plexo::python

namespace plexo::python {

// The text of a str or os.PathLike path.
std::string PathText(const py::handle& path);

}  // namespace plexo::python
