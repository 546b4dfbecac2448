#pragma once
// The program's messages as Python exceptions: a file that cannot be opened raises the OSError
// subclass its reason calls for (FileNotFoundError, IsADirectoryError, PermissionError) with the
// path; content or parameters that are refused raise ValueError.
#include <pybind11/pybind11.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

namespace plexo::python {

// The OSError subclass `type` with errno `code`, the message and the path as its filename.
[[noreturn]] inline void RaiseOsError(PyObject* type, int code, const std::string& path,
                                      const std::string& message) {
  PyObject* args = Py_BuildValue("(iss)", code, message.c_str(), path.c_str());
  PyErr_SetObject(type, args);
  Py_XDECREF(args);
  throw pybind11::error_already_set();
}

[[noreturn]] inline void RaiseFileError(const std::string& path, const std::string& message) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  int code = EIO;
  PyObject* type = PyExc_OSError;
  if (!fs::exists(status)) {
    code = ENOENT;
    type = PyExc_FileNotFoundError;
  } else if (fs::is_directory(status)) {
    code = EISDIR;
    type = PyExc_IsADirectoryError;
  } else if (::access(path.c_str(), R_OK) != 0) {
    code = EACCES;
    type = PyExc_PermissionError;
  }
  RaiseOsError(type, code, path, message);
}

[[noreturn]] inline void RaiseRefused(const std::string& message) {
  throw pybind11::value_error(message);
}

}  // namespace plexo::python
