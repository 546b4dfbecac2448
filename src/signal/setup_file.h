#pragma once
// The setup file: a tab-separated key/value text that stores the calculation settings and the
// three paths ("Setup.ini" and user-named ".ini" files share the layout).
#include <string>
#include <string_view>

#include "signal/calc_settings.h"

namespace plexo {

// Reads a setup file into the record and the three paths. Every line "key<TAB>value" whose key
// is one of the setup keys exactly sets its field (numbers by the atof rules, paths unchanged);
// other lines are ignored, the last of repeated keys wins, missing keys keep their values.
// Accepts CR LF and LF line ends. False, with nothing changed, when the file cannot be opened
// (a folder or other non-regular file counts as that); false after a read error, with the
// fields read before it kept. `keysFound`, when given, receives the number of lines that held a
// setup key (0 for a file that is no setup file at all: empty, binary, or without tabs).
bool LoadSetup(CalcSettings& settings, std::string& fftPath, std::string& wtPath,
               std::string& hwPath, const std::string& fileName, int* keysFound = nullptr);

// The setup keys whose values are not wholly a finite number in the text of a setup file, or,
// for the integer keys, not a whole number (1e3 is 1000): "[WT-Size] value \"1e3x\"" for the
// first such line; empty when every number is one. The desktop reads such values by its own
// (atof) rules; the command line refuses them.
std::string SetupNumberProblem(std::string_view text);

// Writes the 24 lines of the setup file with CR LF line ends, and after them the keys that
// older versions do not know ("[WT-Method]", "[Max-Samples]") when their value differs from a fresh
// setup's. The file is replaced only once it is complete; on failure "File open NOT succesfull"
// goes to standard error, the old file stays and the result is false; `error`, when given, receives
// the message naming the file and the reason.
bool SaveSetup(const CalcSettings& settings, const std::string& fftPath, const std::string& wtPath,
               const std::string& hwPath, const std::string& fileName,
               std::string* error = nullptr);

// The text SaveSetup writes, with "\n" line ends (the writer turns them into CR LF).
std::string SetupFileText(const CalcSettings& settings, const std::string& fftPath,
                          const std::string& wtPath, const std::string& hwPath);

}  // namespace plexo
