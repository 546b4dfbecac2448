#include "features/feature_options.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "signal/number_text.h"

namespace plexo {
namespace {

std::optional<double> FiniteNumber(const std::string& text) {
  double value = 0.0;
  if (!ParseWholeNumber(text, value) || !std::isfinite(value)) return std::nullopt;
  return value;
}

struct Band {
  int k = 0;  // 1-based
  std::string begin;
  std::string end;
};

// "K:BEGIN:END" with K in 1 .. bands and both edges numbers; the edges stay texts (the
// calculation parses them as the dialog's fields).
std::optional<Band> ParseBand(const std::string& text, int bands) {
  const size_t first = text.find(':');
  if (first != 1 || text[0] < '1' || text[0] > '0' + bands) return std::nullopt;
  const size_t second = text.find(':', first + 1);
  if (second == std::string::npos) return std::nullopt;
  Band band{text[0] - '0', text.substr(first + 1, second - first - 1), text.substr(second + 1)};
  if (!FiniteNumber(band.begin) || !FiniteNumber(band.end)) return std::nullopt;
  return band;
}

// Sets the bands given by `texts` into begin/end. Refused: a malformed band, the same K twice,
// or a band whose column (firstColumn + K - 1) is not written, which could only be dropped.
template <size_t N>
std::string ApplyBands(const std::vector<std::string>& texts, const char* option, int firstColumn,
                       const FeatureColumns& columns, std::array<std::string, N>& begin,
                       std::array<std::string, N>& end) {
  const auto& names = FeatureColumnNames();
  std::array<bool, N> seen{};
  for (const std::string& text : texts) {
    const std::optional<Band> band = ParseBand(text, static_cast<int>(N));
    if (!band)
      return std::string(option) + " expects K:BEGIN:END with K in 1.." + std::to_string(N) +
             " and numbers BEGIN and END, not " + text;
    const size_t b = static_cast<size_t>(band->k - 1);
    if (seen[b]) return std::string(option) + " " + std::to_string(band->k) + " is given twice";
    seen[b] = true;
    const int column = firstColumn + band->k - 1;
    if (!columns.test(column))
      return std::string(option) + " " + text + " is given, but its column " + names[column] +
             " is not written (add it to --columns)";
    begin[b] = band->begin;
    end[b] = band->end;
  }
  return {};
}

}  // namespace

const FeatureParamEntry* FeatureParamNamed(std::string_view name) {
  for (const FeatureParamEntry& entry : kFeatureParamTable) {
    if (name == entry.name || (entry.alias != nullptr && name == entry.alias)) return &entry;
  }
  return nullptr;
}

std::string CheckFeatureParam(FeatureParamKind kind, std::string& text) {
  const std::optional<double> value = FiniteNumber(text);
  switch (kind) {
    case FeatureParamKind::kNumber:
      if (value) return {};
      return "Value " + text + " is not allowed: give a number";
    case FeatureParamKind::kPositiveNumber:
      if (value && *value > 0.0) return {};
      return "Value " + text + " is not allowed: give a number > 0";
    case FeatureParamKind::kPositiveCount:
      if (value && *value == std::floor(*value) && *value >= 1.0 && *value <= 2147483647.0) {
        text = std::to_string(static_cast<int>(*value));
        return {};
      }
      return "Value " + text + " is not allowed: give a whole number >= 1";
  }
  return {};
}

const std::vector<std::string>& FeatureColumnNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const FeatureColumnEntry& entry : kFeatureColumnTable) all.emplace_back(entry.name);
    return all;
  }();
  return names;
}

int FeatureColumnNamed(std::string_view name) {
  const auto& names = FeatureColumnNames();
  const auto found = std::find(names.begin(), names.end(), name);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

std::string ApplyFeatureOptions(FeatureOptions o, FeatureRequest& r) {
  if (o.all && !o.columns.empty()) return "--all and --columns exclude each other: give one";
  if (o.all) {
    r.columns.set();
  } else if (!o.columns.empty()) {
    r.columns.reset();
    for (const std::string& name : o.columns) {
      const int column = FeatureColumnNamed(name);
      if (column < 0) return "Unknown column " + name;
      r.columns.set(static_cast<size_t>(column));
    }
  }
  if (std::string error = ApplyBands(o.bands, "--band", kColPartialPower1, r.columns,
                                     o.params.ppBegin, o.params.ppEnd);
      !error.empty())
    return error;
  if (std::string error = ApplyBands(o.wtBands, "--wt-band", kColTimeFrequencyPower1, r.columns,
                                     o.params.wtBegin, o.params.wtEnd);
      !error.empty())
    return error;
  const std::optional<WaveletMethod> method = WaveletMethodNamed(o.waveletMethod);
  if (!method) return "The wavelet method is direct or fft, not " + o.waveletMethod;
  r.settings = ParseFeatureParams(o.params, o.useAic);
  r.settings.waveletMethod = *method;
  return {};
}

}  // namespace plexo
