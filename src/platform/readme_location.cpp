#include "platform/readme_location.h"

#include "platform/file_system.h"
#include "platform/setup_location.h"

namespace plexo {

std::vector<std::string> ReadmeCandidates(const std::string& programDirectory,
                                          const std::string& sourceReadme) {
  std::vector<std::string> candidates;
  const size_t slash = programDirectory.rfind('/');
  if (slash != std::string::npos) {
    const std::string prefix = programDirectory.substr(0, slash);
    candidates.push_back(prefix + "/share/doc/plexo/README.md");
  }
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
