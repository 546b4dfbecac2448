#pragma once
// The batch sources a Python caller names: a folder, a waveform database, a list of paths or a
// list of plexo.Waveform objects, as the batches' WaveformSource.
#include <pybind11/pybind11.h>

#include <memory>
#include <string>

#include "signal/waveform_source.h"

namespace plexo::python {

namespace py = pybind11;

struct PythonSource {
  enum class Kind { kFolder, kPaths, kDatabase, kWaveforms };
  Kind kind = Kind::kFolder;
  std::unique_ptr<WaveformSource> source;
  std::vector<std::int64_t> numbers;  // kWaveforms: each waveform's TRAI, or its list index

  // What the result's "file" calls input k: a folder's file name, a list's path, a record's
  // TRAI, a waveform's TRAI or index.
  py::object RowName(int k) const;
};

// Built with the GIL held (the waveforms' samples copied); nothing of Python is touched by the
// source afterwards. Raised: a folder that is missing (FileNotFoundError), not a folder
// (NotADirectoryError), cannot be listed (PermissionError, OSError) or holds no *.txt file, a
// database that cannot be used or holds no record, an empty list (ValueError).
PythonSource SourceOf(const py::object& source);

}  // namespace plexo::python
