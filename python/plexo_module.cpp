// import plexo: the program's calculations on numpy arrays. The bindings only convert: every
// number comes from the same code as the command line's, so the results agree to the bit.
#include <pybind11/pybind11.h>

#include "plexo_version.h"
#include "result_table.h"
#include "signal/waveform.h"
#include "waveforms.h"

namespace plexo::python {
void RegisterSpectra(py::module_& m);
void RegisterMaps(py::module_& m);
void RegisterFeatures(py::module_& m);
}  // namespace plexo::python

PYBIND11_MODULE(plexo, m) {
  using namespace plexo::python;
  m.doc() =
      "The acoustic-emission calculations of PLEXO++ on numpy arrays: the same numbers as the "
      "plexo command line, to the bit.";
  m.attr("__version__") = PLEXO_VERSION;
  m.attr("MAX_SAMPLES") = plexo::MAX_SAMPLES;
  DefineResultTable(m);
  RegisterWaveforms(m);
  RegisterSpectra(m);
  RegisterMaps(m);
  RegisterFeatures(m);
}
