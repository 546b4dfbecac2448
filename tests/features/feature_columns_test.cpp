// The feature column table against what reads it: each row's family against the step that really
// writes its value and the dialog group its check box sits in, names and ids unique, the default
// selection, and the column list of `plexo features --help`.
#include "features/feature_columns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "feature_test_data.h"
#include "features/feature_controls.h"
#include "features/feature_extraction.h"
#include "features/fft_features.h"
#include "features/time_features.h"
#include "features/wt_features.h"
#include "support/run_plexo.h"

namespace plexo {
namespace {

constexpr double kUntouched = -123.25;

// Which columns each step writes: the values start at a marker and every step runs on a burst,
// in the order a run takes them.
struct StepColumns {
  FeatureColumns time, fft, wavelet;
};

StepColumns ColumnsWrittenBySteps() {
  const double dt = 1e-7;
  const std::vector<double> samples = testing::BurstSamples(3000, 2100, 2e5, 4e5, dt, 3);
  std::vector<Complex> x(MAX_SAMPLES);
  for (size_t i = 0; i < samples.size(); ++i) x[i] = {samples[i], 0.0};
  const int count = static_cast<int>(samples.size());
  FeatureSettings settings = DefaultFeatureSettings();
  settings.freqResolution = 50e3;  // a short grid keeps the wavelet step quick
  const TransformSizeResult size = TransformSize(count);
  const SignalWindow window = SelectWindow(x.data(), count, dt, settings);

  auto written = [](const FeatureValues& v) {
    FeatureColumns columns;
    for (int c = 0; c < kFeatureColumnCount; ++c) columns[c] = v[c] != kUntouched;
    return columns;
  };
  auto marked = [] {
    FeatureValues v;
    v.values.fill(kUntouched);
    return v;
  };
  StepColumns steps;
  FeatureValues v = marked();
  ComputeTimeFeatures(x.data(), count, dt, 1.5, window, settings.impedance, v);
  steps.time = written(v);
  v = marked();
  std::vector<double> magnitude(MAX_SAMPLES / 2);
  ComputeFftFeatures(x.data(), count, size, dt, window, settings, magnitude.data(), v);
  steps.fft = written(v);
  v = marked();
  WaveletScratch scratch;
  ComputeWaveletFeatures(x.data(), size, dt, 1.5, window, settings, scratch, v);
  steps.wavelet = written(v);
  return steps;
}

const StepColumns& Steps() {
  static const StepColumns steps = ColumnsWrittenBySteps();
  return steps;
}

ControlId GroupOf(FeatureFamily family) {
  switch (family) {
    case FeatureFamily::kTime:
      return kIdfTimeGroup;
    case FeatureFamily::kFft:
      return kIdfFftGroup;
    case FeatureFamily::kWavelet:
      return kIdfWtGroup;
  }
  return 0;
}

class FeatureColumnRow : public ::testing::TestWithParam<int> {};

TEST_P(FeatureColumnRow, IsComputedByItsFamilyAndSelectedByItsOwnCheckBox) {
  const int c = GetParam();
  const FeatureColumnEntry& row = kFeatureColumnTable[c];
  EXPECT_EQ(row.column, c);

  // Exactly the step of its family writes the value; only a wavelet column runs the wavelet step.
  const StepColumns& steps = Steps();
  EXPECT_EQ(steps.time[c], row.family == FeatureFamily::kTime);
  EXPECT_EQ(steps.fft[c], row.family == FeatureFamily::kFft);
  EXPECT_EQ(steps.wavelet[c], row.family == FeatureFamily::kWavelet);
  EXPECT_EQ(NeedsWaveletFeatures(FeatureColumns().set(c)), row.family == FeatureFamily::kWavelet);

  // Its check box is a check box of the dialog, in the group of its family.
  const ControlSpec* box = FeatureDialogTemplate().Find(row.checkBox);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->kind, ControlKind::kCheckBox);
  EXPECT_EQ(box->group, GroupOf(row.family));
  EXPECT_EQ(FeatureColumnOfCheckBox(row.checkBox), c);

  // Times keep 14 digits (a time of test of seconds, sample steps of 100 ns); the rest 6.
  EXPECT_EQ(row.precision, std::string(row.unit) == "s" ? 14 : 6);

  // No other row shares its name, header or check box.
  for (int other = 0; other < kFeatureColumnCount; ++other) {
    if (other == c) continue;
    const FeatureColumnEntry& o = kFeatureColumnTable[other];
    EXPECT_STRNE(row.name, o.name);
    EXPECT_STRNE(row.header, o.header);
    EXPECT_NE(row.checkBox, o.checkBox);
  }
}

std::string RowName(const ::testing::TestParamInfo<int>& info) {
  std::string name = kFeatureColumnTable[info.param].name;
  for (char& ch : name) {
    if (ch == '-') ch = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(EveryRow, FeatureColumnRow, ::testing::Range(0, kFeatureColumnCount),
                         RowName);

TEST(FeatureColumnTable, EveryCheckBoxOfTheDialogIsAColumnOrARunSetting) {
  // A feature check box without a row would never reach the table.
  std::set<ControlId> boxes;
  for (const ControlSpec& control : FeatureDialogTemplate().controls) {
    if (control.kind == ControlKind::kCheckBox && control.id != kIdfUseAic &&
        control.id != kIdfUseOnsets)
      boxes.insert(control.id);
  }
  std::set<ControlId> rows;
  for (const FeatureColumnEntry& row : kFeatureColumnTable) rows.insert(row.checkBox);
  EXPECT_EQ(boxes, rows);
  // A check box id that an edit also has would read the edit's state.
  std::set<ControlId> ids;
  for (const ControlSpec& control : FeatureDialogTemplate().controls) {
    if (control.id == kStaticId) continue;
    EXPECT_TRUE(ids.insert(control.id).second) << control.id;
  }
}

TEST(FeatureColumnTable, DefaultsAreTheTimeAndSpectrumColumnsBarTheArrivalAndLastTwoBands) {
  FeatureColumns expected;
  for (int c = kColPeakAmplitude; c <= kColPartialPower1 + 5; ++c) expected.set(c);
  EXPECT_EQ(DefaultFeatureColumns(), expected);
}

// The help's column list, one entry per column: "name [unit]" with " *" for a default column.
// Lines "NAME-1..N" stand for N columns; "(1..K *)" marks the first K of them as defaults.
std::vector<std::string> HelpColumns(const std::string& help) {
  std::vector<std::string> columns;
  std::istringstream lines(help);
  std::string line;
  bool inList = false;
  while (std::getline(lines, line)) {
    if (line.rfind("Columns (name [unit]", 0) == 0) {
      inList = true;
      continue;
    }
    if (!inList) continue;
    if (line.rfind("    ", 0) == 0) continue;  // a meaning's second line
    if (line.rfind("  ", 0) != 0) break;
    const std::string entry = line.substr(2, line.find(':') - 2);
    const std::string unit = entry.substr(entry.find('['));
    std::string name = entry.substr(0, entry.find(' '));
    int count = 1;
    int defaults = entry.find(" * ") != std::string::npos ? 1 : 0;
    if (const size_t dots = name.find(".."); dots != std::string::npos) {
      count = std::stoi(name.substr(dots + 2));
      name = name.substr(0, dots - 1);  // drops the "1" of "NAME-1"
      if (const size_t some = entry.find("(1.."); some != std::string::npos) {
        defaults = std::stoi(entry.substr(some + 4));
      } else {
        defaults = defaults == 1 ? count : 0;
      }
      for (int k = 1; k <= count; ++k)
        columns.push_back(name + std::to_string(k) + " " + unit + (k <= defaults ? " *" : ""));
      continue;
    }
    columns.push_back(name + " " + unit + (defaults == 1 ? " *" : ""));
  }
  return columns;
}

TEST(FeatureColumnTable, HelpListsEveryColumnWithItsUnitAndDefaultInTableOrder) {
  const testing::PlexoResult result = testing::RunPlexo("features --help");
  ASSERT_EQ(result.status, 0) << result.output;
  std::vector<std::string> expected;
  for (const FeatureColumnEntry& row : kFeatureColumnTable) {
    expected.push_back(std::string(row.name) + " [" + row.unit + "]" + (row.byDefault ? " *" : ""));
  }
  EXPECT_EQ(HelpColumns(result.output), expected) << result.output;
  EXPECT_NE(result.output.find("Write all " + std::to_string(kFeatureColumnCount) + " columns"),
            std::string::npos);
}

}  // namespace
}  // namespace plexo
