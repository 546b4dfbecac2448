#pragma once
// Where the README (the user's guide that the manual page points to) is: installed beside the
// package's other documents (PREFIX/share/doc/plexo/README.md for a program in PREFIX/bin), or,
// for a program run from its build tree, the README of the sources it was built from.
#include <optional>
#include <string>
#include <vector>

namespace plexo {

// The places to look, in order, for a program whose `plexo` lies in `programDirectory`.
std::vector<std::string> ReadmeCandidates(const std::string& programDirectory,
                                          const std::string& sourceReadme);

// The first candidate that is a regular file, for the running program.
std::optional<std::string> FindReadme();

}  // namespace plexo
