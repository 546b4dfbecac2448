#include "ascii_ops/location_layouts.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "signal/number_text.h"

namespace plexo {
namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

std::string LineName(size_t index) { return "line " + std::to_string(index + 1); }

LocationListing Refused(std::string problem) {
  LocationListing out;
  out.status = CalcStatus::kRefused;
  out.problem = std::move(problem);
  return out;
}

void Append(LocationListing& out, std::string_view x, std::string_view y, std::string_view z,
            double t) {
  out.table.append(x).append("\t").append(y).append("\t").append(z).append("\t");
  AppendRoundTrip(out.table, t);
  out.table += '\n';
  ++out.positions;
}

// The coordinate names before " = " in an event line ("x,y,z"), and where the values start.
bool FindCoordinateList(std::string_view line, std::vector<std::string_view>& names,
                        size_t& values) {
  for (std::string_view list : {std::string_view("x,y,z"), std::string_view("x,y")}) {
    size_t at = line.find(list);
    if (at == std::string_view::npos) continue;
    size_t i = at + list.size();
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size() || line[i] != '=') continue;
    names = Split(list, ',');
    values = i + 1;
    return true;
  }
  return false;
}

// A number in the listing's text, a decimal comma read as a point; false when it is not one.
bool Number(std::string_view text, double& value, std::string& plain) {
  plain.assign(Trim(text));
  std::replace(plain.begin(), plain.end(), ',', '.');
  return !plain.empty() && ParseWholeNumber(plain, value);
}

}  // namespace

bool IsAewinListEvent(const std::string& line) {
  std::vector<std::string_view> names;
  size_t values;
  return line.find("Gp#") != std::string::npos && FindCoordinateList(line, names, values);
}

LocationListing ConvertAewinListLayout(const std::vector<std::string>& lines,
                                       CalcProgress& progress) {
  LocationListing out;
  int events = 0;
  for (const std::string& line : lines) events += line.find("Gp#") != std::string::npos;
  progress.SetRange(0, events);
  int position = 0;
  for (size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    if (line.find("Gp#") == std::string::npos) continue;
    if (progress.StopRequested()) {
      out.status = CalcStatus::kStopped;
      return out;
    }
    std::vector<std::string_view> names;
    size_t start = 0;
    if (!FindCoordinateList(line, names, start))
      return Refused(LineName(k) + ": an event line without \"x,y,z =\" or \"x,y =\"");
    // One value per name, each followed by a comma; the list ends at the last name.
    const std::vector<std::string_view> fields = Split(std::string_view(line).substr(start), ',');
    if (fields.size() < names.size())
      return Refused(LineName(k) + ": fewer values than the names " + std::string(names[0]) +
                     "...");
    std::string coordinate[3] = {"0", "0", "0"};
    for (size_t n = 0; n < names.size(); ++n) {
      double value;
      if (!Number(fields[n], value, coordinate[n]))
        return Refused(LineName(k) + ": " + std::string(names[n]) + " is not a number (\"" +
                       std::string(Trim(fields[n])) + "\")");
      coordinate[n] = std::string(Trim(fields[n]));
    }
    // The hit line after the event: its first number is the time in seconds.
    if (k + 1 >= lines.size() || lines[k + 1].find("Gp#") != std::string::npos)
      return Refused(LineName(k) + ": an event without the hit line that gives its time");
    std::string_view hit = Trim(lines[k + 1]);
    if (!hit.empty() && hit.front() == '*') hit = Trim(hit.substr(1));
    const std::string_view first = hit.substr(0, hit.find_first_of(" \t"));
    std::string plain;
    double t;
    if (!Number(first, t, plain) || first.find(',') != std::string_view::npos)
      return Refused(LineName(k + 1) + ": the hit line does not start with its time (\"" +
                     std::string(first) + "\")");
    Append(out, coordinate[0], coordinate[1], coordinate[2], t);
    progress.SetPos(++position);
  }
  return out;
}

bool IsVisualAeTable(const std::vector<std::string>& lines) {
  return !lines.empty() && lines[0].find('\t') != std::string::npos &&
         lines[0].find("HHMMSS") != std::string::npos;
}

LocationListing ConvertVisualAeTable(const std::vector<std::string>& lines,
                                     CalcProgress& progress) {
  std::string_view title_line = lines[0];
  if (title_line.substr(0, 3) == "\xEF\xBB\xBF") title_line.remove_prefix(3);
  const std::vector<std::string_view> titles = Split(title_line, '\t');
  const auto column = [&titles](std::string_view name) -> long {
    for (size_t i = 0; i < titles.size(); ++i) {
      std::string_view t = Trim(titles[i]);
      if (t.size() == name.size() &&
          std::equal(t.begin(), t.end(), name.begin(), [](char a, char b) {
            return std::toupper(static_cast<unsigned char>(a)) == b;
          }))
        return static_cast<long>(i);
    }
    return -1;
  };
  const long hhmmss = column("HHMMSS"), msec = column("MSEC");
  const long cx = column("X"), cy = column("Y"), cz = column("Z");
  std::string missing;
  for (auto [index, name] : {std::pair{hhmmss, "HHMMSS"}, std::pair{msec, "MSEC"},
                             std::pair{cx, "X"}, std::pair{cy, "Y"}}) {
    if (index < 0) missing += (missing.empty() ? "" : ", ") + std::string(name);
  }
  if (!missing.empty())
    return Refused("the listing has no column " + missing +
                   " (a located event needs its time and at least two coordinates)");

  LocationListing out;
  int events = 0;
  for (const std::string& line : lines) events += Trim(Split(line, '\t')[0]) == "LE";
  progress.SetRange(0, events);
  int position = 0;
  const long last = std::max({hhmmss, msec, cx, cy, cz});
  for (size_t k = 1; k < lines.size(); ++k) {
    const std::vector<std::string_view> fields = Split(lines[k], '\t');
    if (Trim(fields[0]) != "LE") continue;
    if (progress.StopRequested()) {
      out.status = CalcStatus::kStopped;
      return out;
    }
    if (static_cast<long>(fields.size()) <= last)
      return Refused(LineName(k) + ": fewer fields than the title line");
    const std::vector<std::string_view> clock = Split(Trim(fields[hhmmss]), ':');
    double h, m, s, ms;
    std::string plain;
    if (clock.size() != 3 || !Number(clock[0], h, plain) || !Number(clock[1], m, plain) ||
        !Number(clock[2], s, plain) || !Number(fields[msec], ms, plain))
      return Refused(LineName(k) + ": HHMMSS and MSEC are not a time (\"" +
                     std::string(Trim(fields[hhmmss])) + "\", \"" +
                     std::string(Trim(fields[msec])) + "\")");
    std::string coordinate[3] = {"0", "0", "0"};
    const long columns[3] = {cx, cy, cz};
    for (int n = 0; n < 3; ++n) {
      if (columns[n] < 0) continue;
      double value;
      if (!Number(fields[columns[n]], value, coordinate[n]))
        return Refused(LineName(k) + ": " + std::string(Trim(titles[columns[n]])) +
                       " is not a number (\"" + std::string(Trim(fields[columns[n]])) + "\")");
    }
    Append(out, coordinate[0], coordinate[1], coordinate[2], h * 3600 + m * 60 + s + ms / 1000);
    progress.SetPos(++position);
  }
  return out;
}

}  // namespace plexo
