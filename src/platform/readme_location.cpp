#include "platform/readme_location.h"

#include "platform/file_system.h"
#include "platform/setup_location.h"

namespace plexo {

std::vector<std::string> ReadmeCandidates(const std::string& programDirectory,
                                          const std::string& sourceReadme) {
  std::vector<std::string> candidates;
  // Installed programs sit in PREFIX/bin; a folder named without any "/" has no prefix.
  if (programDirectory.find('/') != std::string::npos)
    candidates.push_back(JoinPath(ParentFolder(programDirectory), "share/doc/plexo/README.md"));
  if (!sourceReadme.empty()) candidates.push_back(sourceReadme);
  return candidates;
}

std::optional<std::string> FindReadme() {
  for (const std::string& path :
       ReadmeCandidates(ProgramDirectoryFor(ExecutableDirectory()), PLEXO_SOURCE_README)) {
    if (IsRegularFile(path)) return path;
  }
  return std::nullopt;
}

}  // namespace plexo
