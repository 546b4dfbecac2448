#include "platform/setup_location.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "platform/file_system.h"

namespace plexo {
namespace {

constexpr const char* kSetupFileName = "Setup.ini";

// Relative values are ignored, as the XDG base directory rules say: they would make the setup
// file depend on the working folder.
bool IsUsableBase(const std::optional<std::string>& value) {
  return value.has_value() && !value->empty() && value->front() == '/';
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

bool StartsWithFolder(const std::string& path, const std::string& folder) {
  return path.compare(0, folder.size(), folder) == 0 &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

}  // namespace

bool IsSystemFolder(const std::string& folder) {
  for (const char* system :
       {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32", "/opt", "/etc"}) {
    if (StartsWithFolder(folder, system)) return true;
  }
  return false;
}

std::string ProgramDirectoryFor(const std::string& executableDirectory) {
  constexpr std::string_view kHelperFolder = "/libexec/plexo";
  const std::string_view dir = executableDirectory;
  if (dir.size() >= kHelperFolder.size() &&
      dir.substr(dir.size() - kHelperFolder.size()) == kHelperFolder) {
    const std::string prefix(dir.substr(0, dir.size() - kHelperFolder.size()));
    return prefix + "/bin";
  }
  return executableDirectory;
}

std::string ChooseSetupIniPath(const SetupLocationInputs& inputs) {
  if (!inputs.executableDirectoryWritable || IsSystemFolder(inputs.executableDirectory)) {
    if (IsUsableBase(inputs.xdgConfigHome))
      return JoinPath(JoinPath(*inputs.xdgConfigHome, "plexo"), kSetupFileName);
    if (IsUsableBase(inputs.home))
      return JoinPath(JoinPath(JoinPath(*inputs.home, ".config"), "plexo"), kSetupFileName);
  }
  return JoinPath(inputs.executableDirectory, kSetupFileName);
}

SetupLocationInputs CurrentSetupLocationInputs() {
  SetupLocationInputs inputs;
  inputs.executableDirectory = ProgramDirectoryFor(ExecutableDirectory());
  inputs.executableDirectoryWritable = access(inputs.executableDirectory.c_str(), W_OK) == 0;
  inputs.xdgConfigHome = Environment("XDG_CONFIG_HOME");
  inputs.home = Environment("HOME");
  return inputs;
}

std::string SetupIniPath() { return ChooseSetupIniPath(CurrentSetupLocationInputs()); }

std::string SetupIniPathForSaving() {
  const std::string path = SetupIniPath();
  MakeParentDirectories(path);  // a failure shows when the file cannot be written
  return path;
}

bool MakeParentDirectories(const std::string& file_path) {
  if (file_path.find('/') == std::string::npos) return true;  // in the working folder
  const std::string folder = ParentFolder(file_path);
  if (folder == "/" || IsDirectory(folder)) return true;
  MakeParentDirectories(folder);
  return MakeDirectory(folder);
}

}  // namespace plexo
