#pragma once
// The dict a batch returns: equal-length columns, so that pandas.DataFrame(result) takes it as
// it stands, with the notes of the run beside them ("warnings": a list of texts, "averaged": a
// count), reached as result["warnings"] or result.warnings but not among the keys.
#include <pybind11/pybind11.h>

namespace plexo::python {

namespace py = pybind11;

// Defines plexo.ResultTable in the module (once, at import).
void DefineResultTable(py::module_& m);

// A ResultTable of the columns with the notes (a dict of name -> value) beside them.
py::object MakeResultTable(const py::dict& columns, const py::dict& notes);

}  // namespace plexo::python
