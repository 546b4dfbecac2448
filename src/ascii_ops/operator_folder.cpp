#include "ascii_ops/operator_folder.h"

#include "ascii_ops/collection_operators.h"
#include "platform/file_system.h"

namespace plexo {

bool ListOperatorFiles(const std::string& folder, Host& host, std::vector<std::string>& files) {
  files = IsDirectory(folder) ? ListTxtFiles(folder) : std::vector<std::string>();
  if (!files.empty()) return true;
  host.MessageBox(kNoFilesMessage);
  return false;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace plexo
