#pragma once
// The newer layouts of the two localisation listings, which the fixed-position rules misread:
// the first listing's "x,y,z = a, b, c" lists, and the second's tab-separated table with a title
// line. Every field is checked: a listing that does not parse is refused naming its first bad
// line, so no position is reported that was not read.
#include <string>
#include <vector>

#include "ascii_ops/location_conversion.h"

namespace plexo {

// Whether an event line of the first listing gives its coordinates as a list ("x,y,z =").
bool IsAewinListEvent(const std::string& line);
// Event lines with "Gp#" and "x,y,z = a, b, c" (or "x,y = a, b"; the list ends before "q ="
// and "dT[...]"); the time is the first number of the next line (the hit line, "*" and blanks
// before it), written in full.
LocationListing ConvertAewinListLayout(const std::vector<std::string>& lines,
                                       CalcProgress& progress);

// Whether the listing is the tab-separated table (a title line holding "HHMMSS").
bool IsVisualAeTable(const std::vector<std::string>& lines);
// Titles on the first line (a byte-order mark before them), units on the second; "LE" lines are
// the located events; time = HHMMSS + MSEC; decimal commas. Refused without X and Y columns.
LocationListing ConvertVisualAeTable(const std::vector<std::string>& lines, CalcProgress& progress);

}  // namespace plexo
