#pragma once
// The common start of the collection operators: the folder's *.txt files, or the user is told
// that there are none.
#include <string>
#include <vector>

#include "platform/host.h"

namespace plexo {

struct AsciiWorkspace;

// The *.txt files of the folder in folder order. False, after "No files found in folder!
// Provide correct folder path!" (with the folder's path), when the folder does not exist or
// holds none, or after the folder's path and the system's reason when it cannot be listed.
bool ListOperatorFiles(const std::string& folder, Host& host, std::vector<std::string>& files);

// The start of every operator's run: what the last run wrote, skipped and noted is forgotten,
// then the folder is listed as ListOperatorFiles does (false: refused, the user was told).
bool StartOperatorRun(AsciiWorkspace& ws, const std::string& folder, Host& host,
                      std::vector<std::string>& files);

// Why the operators' reader refused `path` (its result `count` and `problem`), or empty when
// the file has data: the reader's own message, the system's reason, or "no data".
std::string OperatorReadProblem(const std::string& path, int count, const std::string& problem);

// A file that cannot be used: skipped and listed (true: the run goes on), or, when the run is
// strict, told at once (false: the run stops).
bool SkipFile(AsciiWorkspace& ws, Host& host, const std::string& why);

// After a run: one message listing the skipped files and one with the notes, when there are.
void ReportSkippedAndNotes(const AsciiWorkspace& ws, Host& host);

}  // namespace plexo
