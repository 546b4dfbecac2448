#pragma once
// Text helpers for reading waveform exports of other acquisition programs: lines with CR LF or
// LF ends and an optional UTF-8 byte-order mark, blanks trimmed, and strict number fields that
// accept a decimal comma.
#include <optional>
#include <string_view>
#include <vector>

namespace plexo {

// The lines of `text` without their line ends (a final line end adds no empty line). A UTF-8
// byte-order mark at the start is dropped.
std::vector<std::string_view> SplitExportLines(std::string_view text);

// `text` without leading and trailing blanks and tabs.
std::string_view TrimBlanks(std::string_view text);

// The whole field (after trimming) as one finite or non-finite number, or nothing when any
// character is left over or there is no number. A single decimal comma counts as the decimal
// point when the field holds no point. Never depends on the process locale.
std::optional<double> ParseNumberField(std::string_view field);

}  // namespace plexo
