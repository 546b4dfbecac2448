#pragma once
// The --format option of the commands that write one table: the tab-separated .txt layout (the
// default, which every earlier result has) or comma-separated text for spreadsheet and data
// frame readers.
#include <CLI/CLI.hpp>
#include <string>

#include "signal/csv_text.h"

namespace plexo::cli {

// Adds --format txt|csv to `command`, keeping the choice in `name`; `table` is the name of the
// file without its extension ("FX_Results").
inline CLI::Option* AddTableFormatOption(CLI::App* command, std::string& name,
                                         const std::string& table) {
  name = "txt";
  return command
      ->add_option("--format", name,
                   "txt: the tab-separated " + table + ".txt; csv: " + table +
                       ".csv instead\n(comma-separated, one header row with the units as "
                       "\"title [unit]\",\nCR LF line ends, fields quoted where needed)")
      ->capture_default_str()
      ->check(CLI::IsMember({"txt", "csv"}));
}

inline TableFormat TableFormatNamed(const std::string& name) {
  return name == "csv" ? TableFormat::kCsv : TableFormat::kText;
}

}  // namespace plexo::cli
