#pragma once
// The inputs the commands take, named and explained the same way in every command's help.
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace plexo::cli {

// FILE...: the waveform files one command calculates each on its own.
inline CLI::Option* AddWaveformFilesArgument(CLI::App& command, std::vector<std::string>& files) {
  return command.add_option("FILE", files, "Waveform files (extension .txt in any letter case)")
      ->required();
}

// DIR: the folder whose waveform files a batch calculation runs over.
inline CLI::Option* AddWaveformFolderArgument(CLI::App& command, std::string& folder) {
  return command.add_option("DIR", folder, "Folder of waveform files")->required();
}

// DIR: the folder, or the waveform database, whose waveforms a batch calculation runs over.
inline CLI::Option* AddBatchInputArgument(CLI::App& command, std::string& input) {
  return command
      .add_option("DIR", input, "Folder of waveform files, or a waveform database (.tradb)")
      ->required();
}

}  // namespace plexo::cli
