#include "ascii_ops/location_conversion.h"

#include <algorithm>
#include <cctype>

#include "ascii_ops/location_layouts.h"
#include "platform/file_system.h"
#include "platform/text_file.h"
#include "platform/text_lines.h"
#include "signal/number_text.h"

namespace plexo {
namespace {

// `count` characters from `first`, cut to the text: a start or length outside the text gives
// less or nothing, never a read past it.
std::string_view Mid(std::string_view text, long long first, long long count) {
  const long long size = static_cast<long long>(text.size());
  if (first < 0) first = 0;
  if (first > size) first = size;
  if (count < 0) count = 0;
  if (count > size - first) count = size - first;
  return text.substr(static_cast<size_t>(first), static_cast<size_t>(count));
}

std::string_view From(std::string_view text, long long first) {
  return Mid(text, first, static_cast<long long>(text.size()));
}

long long Find(std::string_view text, char c) {
  const size_t at = text.find(c);
  return at == std::string_view::npos ? -1 : static_cast<long long>(at);
}

std::string_view TrimLeft(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  return text.substr(i);
}

void AppendPosition(LocationListing& out, std::string_view x, std::string_view y,
                    std::string_view z, double t) {
  out.table.append(x).append("\t").append(y).append("\t").append(z).append("\t");
  AppendE(out.table, t);
  out.table += '\n';
  ++out.positions;
}

bool IsAewinEvent(std::string_view line) { return line.find("Gp#") != std::string_view::npos; }
bool IsVisualAeEvent(std::string_view line) { return line.substr(0, 2) == "LE"; }

template <typename IsEvent>
int CountEvents(const std::vector<std::string>& lines, IsEvent is_event) {
  int count = 0;
  for (const std::string& line : lines) {
    if (is_event(line) && count < INT32_MAX) ++count;
  }
  return count;
}

template <typename Convert>
CalcStatus ConvertFile(const std::string& path, CalcProgress& progress, Host& host,
                       Convert convert) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return CalcStatus::kFailed;
  const LocationListing listing = convert(lines, progress);
  if (listing.status == CalcStatus::kRefused)
    host.MessageBox(listing.problem.empty() ? std::string(kTwoDimensionalMessage)
                                            : path + ": " + listing.problem);
  if (listing.status != CalcStatus::kDone) return listing.status;
  if (std::string error; !WriteTextFile(LocationTablePath(path), listing.table, &error)) {
    host.MessageBox(error);
    return CalcStatus::kFailed;
  }
  host.ResultWritten({LocationTablePath(path)});
  host.Inform(PositionsFoundMessage(listing.positions));
  return CalcStatus::kDone;
}

}  // namespace

std::string LocationTablePath(const std::string& input) {
  return PathWithoutExtension(input) + "_DV-compatibel.dat";
}

std::string PositionsFoundMessage(int count) {
  return FormatD(count) + " localized source positions found.";
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  FileBytes bytes;
  if (!ReadWholeFileOrReport(path, bytes)) return false;
  LineSplitter splitter(bytes.Text());
  std::string_view line;
  while (splitter.Next(line)) lines.emplace_back(line);
  return true;
}

LocationListing ConvertAewinListing(const std::vector<std::string>& lines, CalcProgress& progress) {
  const auto first_event = std::find_if(lines.begin(), lines.end(),
                                        [](const std::string& line) { return IsAewinEvent(line); });
  if (first_event != lines.end() && IsAewinListEvent(*first_event))
    return ConvertAewinListLayout(lines, progress);
  LocationListing out;
  progress.SetRange(0, CountEvents(lines, IsAewinEvent));
  int position = 0;
  bool pending = false;
  std::string x, y, z;
  for (const std::string& raw : lines) {
    if (IsAewinEvent(raw)) {
      if (progress.StopRequested()) {
        out.status = CalcStatus::kStopped;
        return out;
      }
      std::string line;
      for (char c : raw) {
        if (c != ' ') line += c;
      }
      const long long px = Find(line, 'x');
      const long long py = Find(line, 'y');
      const long long pz = Find(line, 'z');
      const long long pd = Find(line, 'd');
      const bool has_x = px >= 0, has_y = py >= 0, has_z = pz >= 0;
      if (has_x + has_y + has_z < 2) {
        out.status = CalcStatus::kRefused;
        return out;
      }
      // Each value starts two characters after its letter ("x=") and, before the next letter,
      // loses its last character (a unit or separator) where the lengths say so.
      // A missing coordinate is "0".
      std::string nx("0"), ny("0"), nz("0");
      if (has_x && has_y && has_z) {
        nx = std::string(Mid(line, px + 2, py - px - 3));
        ny = std::string(Mid(line, py + 2, pz - py - 2));
        nz = std::string(Mid(line, pz + 2, pd - pz - 2));
      } else if (has_x && has_y) {
        nx = std::string(Mid(line, px + 2, py - px - 3));
        ny = std::string(Mid(line, py + 2, pd - py - 2));
      } else if (has_x && has_z) {
        nx = std::string(Mid(line, px + 2, pz - px - 3));
        nz = std::string(Mid(line, pz + 2, pd - pz - 2));
      } else {
        ny = std::string(Mid(line, py + 2, pz - py - 3));
        nz = std::string(Mid(line, pz + 2, pd - pz - 2));
      }
      x.swap(nx);
      y.swap(ny);
      z.swap(nz);
      pending = true;
      progress.SetPos(++position);
    } else if (pending) {
      // The line after an event holds its time: seconds and milliseconds.
      const std::string_view u = Mid(raw, 1, 19);
      const double t = ParseDouble(Mid(u, 0, 11)) + ParseDouble(Mid(u, 12, 3)) * 0.001;
      AppendPosition(out, x, y, z, t);
      pending = false;
    }
  }
  return out;
}

LocationListing ConvertVisualAeListing(const std::vector<std::string>& lines,
                                       CalcProgress& progress) {
  if (IsVisualAeTable(lines)) return ConvertVisualAeTable(lines, progress);
  LocationListing out;
  progress.SetRange(0, CountEvents(lines, IsVisualAeEvent));
  int position = 0;
  for (const std::string& line : lines) {
    if (!IsVisualAeEvent(line)) continue;
    if (progress.StopRequested()) {
      out.status = CalcStatus::kStopped;
      return out;
    }
    // hh:mm:ss.mmmuuu
    const std::string_view m = Mid(line, 13, 17);
    const double t = ParseDouble(Mid(m, 0, 2)) * 3600 + ParseDouble(Mid(m, 3, 2)) * 60 +
                     ParseDouble(Mid(m, 6, 2)) + ParseDouble(Mid(m, 9, 3)) * 0.001 +
                     ParseDouble(Mid(m, 12, 3)) * 1e-6;

    std::string_view rest = TrimLeft(From(line, 30));
    size_t blank = rest.find(' ');
    const std::string_view x = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : TrimLeft(rest.substr(blank));
    blank = rest.find(' ');
    const std::string_view y = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : TrimLeft(rest.substr(blank));
    const std::string_view z = rest.empty() ? std::string_view("0") : rest;
    AppendPosition(out, x, y, z, t);
    progress.SetPos(++position);
  }
  return out;
}

CalcStatus ConvertAewinLocations(const std::string& path, CalcProgress& progress, Host& host) {
  return ConvertFile(path, progress, host, ConvertAewinListing);
}

CalcStatus ConvertVisualAeLocations(const std::string& path, CalcProgress& progress, Host& host) {
  return ConvertFile(path, progress, host, ConvertVisualAeListing);
}

}  // namespace plexo
