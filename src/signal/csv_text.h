#pragma once
// Tables as comma-separated text (RFC 4180), for readers that load a table in one call: one
// header row whose titles carry their units ("signal energy [J]"), fields separated by commas
// with none after the last, every row ended by CR LF, a field quoted only when it holds a comma,
// a quote, a CR or an LF (its quotes doubled). The text is complete as built: it is written
// without newline translation, so a quoted line break inside a field stays as it is.
#include <string>
#include <string_view>

namespace plexo {

// How a command writes its table: the tab-separated .txt layout or comma-separated text.
enum class TableFormat { kText, kCsv };

inline constexpr std::string_view kCsvRowEnd = "\r\n";

// ".txt" or ".csv".
const char* TableExtension(TableFormat format);

// Appends the field, quoted when it holds a comma, a quote, a CR or an LF.
void AppendCsvField(std::string& out, std::string_view field);

// "title [unit]", or the title alone when the unit is empty.
std::string CsvColumnTitle(std::string_view title, std::string_view unit);

}  // namespace plexo
