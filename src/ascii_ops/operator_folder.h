#pragma once
// The common start of the collection operators: the folder's *.txt files, or the user is told
// that there are none.
#include <string>
#include <vector>

#include "platform/host.h"

namespace plexo {

// The *.txt files of the folder in folder order. False, after "No files found in folder!
// Provide correct folder path!", when the folder does not exist or holds none.
bool ListOperatorFiles(const std::string& folder, Host& host, std::vector<std::string>& files);

// The file name without its folder.
std::string FileNameOf(const std::string& path);

}  // namespace plexo
