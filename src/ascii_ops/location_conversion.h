#pragma once
// Conversion of the source-location listings that two AE acquisition systems export into one
// plain table: per located event one line "x\ty\tz\tt", the coordinates copied as text and the
// time in seconds as "%e". The table goes beside the input, named after it with
// "_DV-compatibel.dat".
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"

namespace plexo {

inline constexpr std::string_view kAewinFilter = "Physical Acoustics ASCII-Files(*.txt)|*.txt||";
inline constexpr std::string_view kVisualAeFilter = "Vallen ASCII-Files(*.txt)|*.txt||";
inline constexpr std::string_view kTwoDimensionalMessage =
    "At least two-dimensional localisation data are necessary!";

// The table's path: the input up to its last "." (one in the file name; a name without one is
// kept whole) followed by "_DV-compatibel.dat".
std::string LocationTablePath(const std::string& input);

// "<count> localized source positions found."
std::string PositionsFoundMessage(int count);

struct LocationListing {
  CalcStatus status = CalcStatus::kDone;  // kRefused: too few coordinates; kStopped
  std::string table;                      // the output text, "\n" line ends
  int positions = 0;                      // lines of the table
  std::string problem;  // kRefused by a newer layout: the first bad line ("line 12: ...")
};

// The first listing (a newer layout with "x,y,z =" lists goes to ConvertAewinListLayout): an
// event line holds "Gp#" and, with its blanks removed, the coordinates
// after "x", "y" and "z" up to "d"; the next line without "Gp#" holds the time (seconds in
// columns 1 to 11, milliseconds in 13 to 15). Fewer than two coordinates on an event line
// refuse the whole listing.
LocationListing ConvertAewinListing(const std::vector<std::string>& lines, CalcProgress& progress);

// The second listing (the tab-separated table with a title line goes to ConvertVisualAeTable):
// an event line starts with "LE"; its time of day ("hh:mm:ss.mmmuuu") stands
// from column 13, its coordinates, separated by blanks, from column 30 (z "0" when absent).
LocationListing ConvertVisualAeListing(const std::vector<std::string>& lines,
                                       CalcProgress& progress);

// Reads the listing at `path`, converts it, writes the table and tells the user how many
// positions were found. kFailed when the listing cannot be read or the table cannot be written
// (nothing is written then); kRefused after the two-dimensional message; kStopped when asked to
// stop (nothing written).
CalcStatus ConvertAewinLocations(const std::string& path, CalcProgress& progress, Host& host);
CalcStatus ConvertVisualAeLocations(const std::string& path, CalcProgress& progress, Host& host);

// The lines of a text file without their line ends (CR LF or LF). False when it cannot be read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

}  // namespace plexo
