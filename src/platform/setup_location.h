#pragma once
// Where "Setup.ini" lives: beside the program, as it has always been kept, unless that folder is
// not writable or is a system folder (an installed package: /usr/bin); then in the user's
// configuration folder, so that closing the Options dialog can still store the settings and
// nothing is ever written into a folder the package manager owns. "The program" is `plexo`: its
// helper programs (plexo-desktop, plexo-mpi), installed in LIBEXECDIR/plexo, choose the file of
// the `plexo` in the BINDIR beside, so the desktop and the command line agree on one file.
#include <optional>
#include <string>

namespace plexo {

// What the choice depends on, gathered once so that the choice itself can be tested.
struct SetupLocationInputs {
  std::string executableDirectory;  // the program's folder (ProgramDirectory)
  bool executableDirectoryWritable = true;
  std::optional<std::string> xdgConfigHome;  // $XDG_CONFIG_HOME, absent when unset
  std::optional<std::string> home;           // $HOME, absent when unset
};

// True for the folders of an installed system (/usr and below, /bin, /sbin, /lib*, /opt, /etc):
// a program there belongs to a package, and its settings belong to the user.
bool IsSystemFolder(const std::string& folder);

// The folder of `plexo` for a program in `executableDirectory`: the folder itself, or for a
// helper program in PREFIX/libexec/plexo the PREFIX/bin beside it.
std::string ProgramDirectoryFor(const std::string& executableDirectory);

// The setup file for these inputs: executableDirectory/Setup.ini when that folder is writable
// and not a system folder; otherwise $XDG_CONFIG_HOME/plexo/Setup.ini when it is an absolute path,
// else $HOME/.config/plexo/Setup.ini when HOME is an absolute path, else the executable's folder
// after all (saving then fails and says so).
std::string ChooseSetupIniPath(const SetupLocationInputs& inputs);

// The inputs of the running program: the folder of `plexo` (ProgramDirectoryFor its
// executable's folder), access(W_OK) on it, and the environment.
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
