#include "sources.h"

#include <cerrno>

#include "features/feature_extraction.h"
#include "platform/file_system.h"
#include "python_errors.h"
#include "signal/held_waveforms.h"
#include "signal/waveform_database.h"
#include "waveforms.h"

namespace plexo::python {
namespace {

std::unique_ptr<WaveformSource> DatabaseSource(const std::string& path) {
  if (!IsRegularFile(path)) RaiseFileError(path, "Cannot open " + path);
  std::string why;
  std::unique_ptr<WaveformSource> database = ListWaveformSource(path, why);
  if (database == nullptr) RaiseRefused(why);
  if (database->Count() == 0) RaiseRefused(path + ": the database holds no waveform records");
  return database;
}

std::unique_ptr<WaveformSource> FolderSource(const std::string& folder) {
  if (IsRegularFile(folder))
    RaiseOsError(PyExc_NotADirectoryError, ENOTDIR, folder, folder + " is not a folder");
  if (!IsDirectory(folder)) RaiseFileError(folder, FeatureNoFilesMessage(folder));
  std::vector<std::string> files;
  std::string why;
  if (!ListTxtFiles(folder, files, why))
    RaiseFileError(folder, FolderNotListedMessage(folder, why));
  if (files.empty()) RaiseRefused(FeatureNoFilesMessage(folder));
  return std::make_unique<WaveformFiles>(files);
}

}  // namespace

PythonSource SourceOf(const py::object& source) {
  PythonSource out;
  if (py::isinstance<py::str>(source) || py::hasattr(source, "__fspath__")) {
    const std::string path = PathText(source);
    if (IsWaveformDatabasePath(path)) {
      out.kind = PythonSource::Kind::kDatabase;
      out.source = DatabaseSource(path);
    } else {
      out.kind = PythonSource::Kind::kFolder;
      out.source = FolderSource(path);
    }
    return out;
  }
  const py::list items(source);
  if (items.empty()) RaiseRefused("The list of waveforms is empty");
  if (!py::isinstance<PyWaveform>(items[0])) {
    std::vector<std::string> paths;
    for (const py::handle item : items) paths.push_back(PathText(item));
    out.kind = PythonSource::Kind::kPaths;
    out.source = std::make_unique<WaveformFiles>(paths);
    return out;
  }
  auto held = std::make_unique<HeldWaveforms>();
  out.kind = PythonSource::Kind::kWaveforms;
  for (const py::handle item : items) {
    const PyWaveform& w = item.cast<const PyWaveform&>();
    const auto samples = w.samples.unchecked<1>();
    const auto n = samples.shape(0);
    WaveformHeader header;
    header.sampleInterval = w.sampleInterval;
    header.channel = w.channel;
    header.timeOfTest = w.timeOfTest;
    header.units = w.units;
    const std::int64_t number = w.trai ? *w.trai : static_cast<std::int64_t>(out.numbers.size());
    const std::string name = std::to_string(number);
    const std::string label = w.trai ? RecordName(*w.trai) : "waveform " + name;
    std::vector<double> values(static_cast<size_t>(n));
    for (py::ssize_t i = 0; i < n; ++i) values[static_cast<size_t>(i)] = samples(i);  // any stride
    held->Add(std::move(values), header, name, label);
    out.numbers.push_back(number);
  }
  out.source = std::move(held);
  return out;
}

py::object PythonSource::RowName(int k) const {
  const WaveformInput& input = source->Inputs()[static_cast<size_t>(k)];
  switch (kind) {
    case Kind::kFolder:
      return py::str(input.name);
    case Kind::kPaths:
      return py::str(input.label);
    case Kind::kDatabase:
      return py::int_(std::stoll(input.name));
    case Kind::kWaveforms:
      return py::int_(numbers[static_cast<size_t>(k)]);
  }
  return py::none();
}

}  // namespace plexo::python
