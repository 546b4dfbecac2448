#pragma once
// Where "Setup.ini" lives: beside the executable, as the program has always kept it, unless
// that folder is not writable (an installation under /usr); then in the user's configuration
// folder, so that closing the Options dialog can still store the settings.
#include <optional>
#include <string>

namespace plexo {

// What the choice depends on, gathered once so that the choice itself can be tested.
struct SetupLocationInputs {
  std::string executableDirectory;
  bool executableDirectoryWritable = true;
  std::optional<std::string> xdgConfigHome;  // $XDG_CONFIG_HOME, absent when unset
  std::optional<std::string> home;           // $HOME, absent when unset
};

// The setup file for these inputs: executableDirectory/Setup.ini when that folder is writable;
// otherwise $XDG_CONFIG_HOME/plexo/Setup.ini when it is an absolute path, else
// $HOME/.config/plexo/Setup.ini when HOME is an absolute path, else the executable's folder
// after all (saving then fails and says so).
std::string ChooseSetupIniPath(const SetupLocationInputs& inputs);

// The inputs of the running program: its executable's folder, access(W_OK) on it, and the
// environment.
SetupLocationInputs CurrentSetupLocationInputs();

// The full name of "Setup.ini" for the running program.
std::string SetupIniPath();

// SetupIniPath(), after creating the per-user folders it lies in when they are missing. Use it
// for saving.
std::string SetupIniPathForSaving();

// Creates the folder that holds `file_path` and the folders above it that are missing. False
// when the folder does not exist afterwards.
bool MakeParentDirectories(const std::string& file_path);

}  // namespace plexo
