#pragma once
// Delimited tables as Split reads them: a time in field 0, one channel per further field.
#include <string>
#include <vector>

namespace plexo {

// The most lines and the most fields per line that Split takes.
inline constexpr int kMaxTableLines = 16384;
inline constexpr int kMaxTableFields = 16384;

struct ColumnTable {
  // values[i][k - 1] is field k of line i (k >= 1); lines and fields beyond the limits are
  // counted but not kept. A field a line does not have reads as 0.
  std::vector<std::vector<double>> values;
  double sampleInterval = 0.0;  // field 0 of line 1 minus field 0 of line 0
  int columnCount = 0;          // fields of the last line minus 1
  int widestLine = 0;           // the most fields of any line
  int lastLineFields = 0;       // fields of the last line
  int previousLineFields = 0;   // fields of the line before it
  std::string problem;          // why a field is not a number, naming the file and the line

  double Value(int line, int field) const;
};

// Reads the table. Each line picks its delimiter: "," when it holds a comma, ";" when it holds
// a semicolon, a tab when it holds a tab (a later test wins); a line with none of them keeps the
// previous line's delimiter (a tab before the first). A field runs from the current position up
// to the next delimiter after it, and the position moves onto that delimiter, so every field
// after the first starts with its delimiter and is parsed as atof would: a leading tab is
// skipped, and so is the leading "," or ";" of a field. A field holds one finite number and
// nothing but blanks around it; where the delimiter is not a comma, a decimal comma is read as
// a point. Text after the last delimiter of a line is no field.
// Returns the number of lines, or -1 when the file cannot be read (the table is then empty) or
// a field is not a number (then `problem` names the file, the line and the field).
int ReadColumnTable(const std::string& path, ColumnTable& table);

}  // namespace plexo
