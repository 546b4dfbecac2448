#include "result_table.h"

#include <pybind11/eval.h>

namespace plexo::python {
namespace {

py::object& ResultTableClass() {
  static py::object* type = new py::object();  // lives as long as the interpreter needs it
  return *type;
}

}  // namespace

void DefineResultTable(py::module_& m) {
  py::dict scope;
  py::exec(R"py(
class ResultTable(dict):
    """The columns of a batch's table (equal-length arrays, ready for pandas.DataFrame) and the
    run's notes beside them: result["warnings"] or result.warnings (the inputs skipped, each
    with its reason, as the command line names them) and, for the Average FFT,
    result["averaged"] (how many waveforms were averaged). The notes are not among the keys,
    so pandas.DataFrame(result) holds only the columns."""

    def __init__(self, columns, notes):
        super().__init__(columns)
        self._notes = dict(notes)

    def __getitem__(self, key):
        if not dict.__contains__(self, key) and key in self._notes:
            return self._notes[key]
        return dict.__getitem__(self, key)

    def __getattr__(self, name):
        try:
            return self.__dict__["_notes"][name]
        except KeyError:
            raise AttributeError(name) from None

    def __repr__(self):
        return "ResultTable(%s, notes=%r)" % (dict.__repr__(self), self._notes)
)py",
           py::globals(), scope);
  py::object type = scope["ResultTable"];
  type.attr("__module__") = "plexo";
  m.attr("ResultTable") = type;
  ResultTableClass() = type;
}

py::object MakeResultTable(const py::dict& columns, const py::dict& notes) {
  return ResultTableClass()(columns, notes);
}

}  // namespace plexo::python
