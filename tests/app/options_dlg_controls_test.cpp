// The Options dialog's controls: what each mode enables, the method buttons, the check boxes,
// the pickers of the three "Load" buttons and the setup buttons.
#include <set>

#include "options_dlg_fixture.h"

namespace plexo::testing {
namespace {

std::set<ControlId> EnabledControls(const MemoryControls& controls) {
  std::set<ControlId> enabled;
  for (const auto& [id, state] : controls.States()) {
    if (state.enabled) enabled.insert(id);
  }
  return enabled;
}

std::set<ControlId> Union(std::set<ControlId> a, const std::set<ControlId>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

const std::set<ControlId> kAlwaysEnabled = {1000, 1002, 1010, 1005};
const std::set<ControlId> kFftPath = {1029, 1031, 1006, 1023, 1052, 1053};
const std::set<ControlId> kConvolution = {1032, 1022, 1046, 1047, 1016, 1025};
const std::set<ControlId> kTftCommon = {1007, 1011, 1012, 1105, 1106, 1013, 1014,
                                        1048, 1018, 1033, 1036, 1037, 1038, 1039,
                                        1040, 1041, 1042, 1043, 1044, 1045, 1024};
const std::set<ControlId> kCwtFields = {1034, 1035, 1009, 1054, 1055};
const std::set<ControlId> kSpwvdFields = {1050, 1051, 1026, 1027};

struct EnablingCase {
  const char* name;
  CalcMode mode;
  double wtSelect;
  double autoResTime;
  double autoResFreq;
  double autoRoi;
  std::set<ControlId> enabled;
};

class OptionsEnablingTest : public OptionsDialogTest,
                            public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(OptionsEnablingTest, EnablesExactlyTheControlsOfTheMode) {
  const EnablingCase& c = GetParam();
  CalcSettings settings;
  settings.wtSelect = c.wtSelect;
  settings.autoResTime = c.autoResTime;
  settings.autoResFreq = c.autoResFreq;
  settings.autoRoi = c.autoRoi;
  WriteSetup(settings);
  Open(c.mode);
  EXPECT_EQ(EnabledControls(*controls), Union(kAlwaysEnabled, c.enabled));
  // The window function, the wavelet type and "Auto Resolution Frequency" come only from the
  // setup file.
  for (ControlId never : {1004, 1049, 1008, 1021}) EXPECT_FALSE(controls->IsEnabled(never));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, OptionsEnablingTest,
    ::testing::Values(EnablingCase{"NoMode", CalcMode::kNone, 0, 0, 0, 0, {}},
                      EnablingCase{"SingleFft", CalcMode::kSingleFft, 0, 0, 0, 0, kFftPath},
                      EnablingCase{"AverageFft", CalcMode::kAverageFft, 1, 1, 1, 1, kFftPath},
                      EnablingCase{"Convolution", CalcMode::kConvolution, 0, 0, 0, 0,
                                   Union(kFftPath, kConvolution)},
                      EnablingCase{"Deconvolution", CalcMode::kDeconvolution, 0, 0, 0, 0,
                                   Union(kFftPath, kConvolution)},
                      // Time resolution automatic: its field greyed; frequency resolution typed.
                      EnablingCase{"SingleTftCwt", CalcMode::kSingleTft, 0, 1, 0, 1,
                                   Union(Union(kTftCommon, kCwtFields), {1020})},
                      EnablingCase{"SingleTftSpwvd", CalcMode::kSingleTft, 1, 0, 1, 0,
                                   Union(Union(kTftCommon, kSpwvdFields), {1017})},
                      EnablingCase{"AverageTftAutoThreshold", CalcMode::kAverageTft, 0, 0, 0, 1,
                                   Union(Union(kTftCommon, kCwtFields), {1017, 1020, 1015, 1019})},
                      EnablingCase{"AverageTftTypedThreshold", CalcMode::kAverageTft, 1, 1, 1, 0,
                                   Union(Union(kTftCommon, kSpwvdFields), {1015})}),
    [](const ::testing::TestParamInfo<EnablingCase>& info) { return info.param.name; });

TEST_F(OptionsDialogTest, ShowsTheSettingsInTheirTextForms) {
  CalcSettings settings;
  settings.timeStart = 1.2345e-4;
  settings.freqEnd = 1e6;
  settings.threshold = 0.12345;
  settings.fftWindow = 1;
  settings.fftOutputType = 7;  // no such entry: nothing selected
  settings.wtType = 1.9;
  settings.wtComplex = 1;
  settings.autoResFreq = 0.5;  // truncated: unchecked
  WriteSetup(settings, "/a/b.txt");
  AppendToSetup("[WT-Size]\t1000.6\r\n");  // integers of the file are shown as "%.0lf"
  Open(CalcMode::kSingleTft);
  EXPECT_EQ(controls->Text(1011), "1.23e-004");
  EXPECT_EQ(controls->Text(1014), "1.00e+006");
  EXPECT_EQ(controls->Text(1009), "1001");
  EXPECT_EQ(controls->Text(1019), "0.1235");
  EXPECT_EQ(controls->Text(1006), "/a/b.txt");
  EXPECT_EQ(controls->ComboIndex(1004), 1);
  EXPECT_EQ(controls->ComboIndex(1022), -1);
  EXPECT_EQ(controls->ComboIndex(1008), 1);
  EXPECT_TRUE(controls->IsChecked(1048));
  EXPECT_FALSE(controls->IsChecked(1021));
  EXPECT_TRUE(controls->IsChecked(1105));
  EXPECT_FALSE(controls->IsChecked(1106));
}

TEST_F(OptionsDialogTest, MethodButtonsSwitchTheFieldsAndTheChoiceComesBackOnNextOpening) {
  WriteSetup(CalcSettings{});
  Open(CalcMode::kSingleTft);
  controls->SetChecked(1106, true);
  dialog->OnClicked(1106);
  EXPECT_TRUE(controls->IsChecked(1106));
  EXPECT_FALSE(controls->IsChecked(1105));
  for (ControlId id : {1026, 1027, 1050, 1051}) EXPECT_TRUE(controls->IsEnabled(id)) << id;
  for (ControlId id : {1009, 1034, 1035}) EXPECT_FALSE(controls->IsEnabled(id)) << id;
  EXPECT_TRUE(dialog->OnClose());
  dialog->OnDestroy();

  Open(CalcMode::kAverageTft);
  EXPECT_EQ(dialog->Settings().wtSelect, 1.0);
  EXPECT_TRUE(controls->IsChecked(1106));
  EXPECT_FALSE(controls->IsChecked(1105));
  EXPECT_TRUE(controls->IsEnabled(1026));
  EXPECT_FALSE(controls->IsEnabled(1009));

  controls->SetChecked(1105, true);
  dialog->OnClicked(1105);
  EXPECT_FALSE(controls->IsChecked(1106));
  for (ControlId id : {1009, 1034, 1035}) EXPECT_TRUE(controls->IsEnabled(id)) << id;
  for (ControlId id : {1026, 1027, 1050, 1051}) EXPECT_FALSE(controls->IsEnabled(id)) << id;
  dialog->OnDestroy();
  Open(CalcMode::kSingleTft);
  EXPECT_EQ(dialog->Settings().wtSelect, 0.0);
  EXPECT_TRUE(controls->IsChecked(1105));
}

TEST_F(OptionsDialogTest, CheckBoxesGreyTheFieldsTheyReplace) {
  CalcSettings settings;
  settings.autoResTime = 0;
  settings.autoResFreq = 0;
  settings.autoRoi = 0;
  WriteSetup(settings);
  Open(CalcMode::kAverageTft);
  EXPECT_TRUE(controls->IsEnabled(1017));
  ToggleCheckBox(1018);
  EXPECT_FALSE(controls->IsEnabled(1017));
  ToggleCheckBox(1018);
  EXPECT_TRUE(controls->IsEnabled(1017));

  EXPECT_FALSE(controls->IsEnabled(1019));
  ToggleCheckBox(1015);
  EXPECT_TRUE(controls->IsEnabled(1019));
  ToggleCheckBox(1015);
  EXPECT_FALSE(controls->IsEnabled(1019));

  // "Auto Resolution Frequency" is greyed, but its rule holds should it ever be clicked.
  EXPECT_TRUE(controls->IsEnabled(1020));
  ToggleCheckBox(1021);
  EXPECT_FALSE(controls->IsEnabled(1020));
}

struct PickerCase {
  const char* name;
  CalcMode mode;
  ControlId button;
  ControlId field;
  bool folder;
  std::string_view filter;
};

class OptionsPickerTest : public OptionsDialogTest,
                          public ::testing::WithParamInterface<PickerCase> {};

TEST_P(OptionsPickerTest, LoadButtonOpensThePickerOfTheMode) {
  const PickerCase& c = GetParam();
  WriteSetup(CalcSettings{});
  Open(c.mode);
  const std::string before = controls->Text(c.field);
  // A cancelled picker keeps the field.
  dialog->OnClicked(c.button);
  EXPECT_EQ(controls->Text(c.field), before);

  host.file_answers.push_back("/picked/path");
  host.folder_answers.push_back("/picked/path");
  dialog->OnClicked(c.button);
  EXPECT_EQ(controls->Text(c.field), "/picked/path");
  if (c.folder) {
    EXPECT_EQ(host.folder_requests, 2);
    EXPECT_TRUE(host.file_filters.empty());
  } else {
    EXPECT_EQ(host.folder_requests, 0);
    EXPECT_EQ(host.file_filters, std::vector<std::string>(2, std::string(c.filter)));
  }
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, OptionsPickerTest,
    ::testing::Values(
        PickerCase{"SingleFftFile", CalcMode::kSingleFft, 1023, 1006, false, kWaveformFilter},
        PickerCase{"AverageFftFolder", CalcMode::kAverageFft, 1023, 1006, true, ""},
        PickerCase{"ConvolutionFolder", CalcMode::kConvolution, 1023, 1006, true, ""},
        PickerCase{"DeconvolutionFolder", CalcMode::kDeconvolution, 1023, 1006, true, ""},
        PickerCase{"SingleTftFile", CalcMode::kSingleTft, 1024, 1007, false, kWaveformFilter},
        PickerCase{"AverageTftFolder", CalcMode::kAverageTft, 1024, 1007, true, ""},
        PickerCase{"ConvolutionTransfer", CalcMode::kConvolution, 1025, 1016, false,
                   kTransferFunctionFilter},
        PickerCase{"DeconvolutionTransfer", CalcMode::kDeconvolution, 1025, 1016, false,
                   kTransferFunctionFilter}),
    [](const ::testing::TestParamInfo<PickerCase>& info) { return info.param.name; });

TEST_F(OptionsDialogTest, TransferFunctionLoadOutsideConvolutionOnlySaysItIsNotNeeded) {
  WriteSetup(CalcSettings{});
  for (CalcMode mode :
       {CalcMode::kSingleFft, CalcMode::kSingleTft, CalcMode::kAverageFft, CalcMode::kAverageTft}) {
    host.messages.clear();
    Open(mode);
    host.file_answers.push_back("/not/used");
    dialog->OnClicked(1025);
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"No transfer-function necessary for calculation!"});
    EXPECT_TRUE(host.file_filters.empty());
    EXPECT_EQ(controls->Text(1016), "/data/hw");
    host.file_answers.clear();
  }
}

TEST_F(OptionsDialogTest, PickedPathDoesNotRevertWhatWasTypedElsewhere) {
  WriteSetup(CalcSettings{});
  Open(CalcMode::kSingleTft);
  controls->SetText(1011, "5.00e-05");
  host.file_answers.push_back("/w.txt");
  dialog->OnClicked(1024);
  EXPECT_EQ(controls->Text(1011), "5.00e-05");
  EXPECT_EQ(controls->Text(1007), "/w.txt");
}

TEST_F(OptionsDialogTest, LoadSetupShowsTheChosenFileAndIgnoresUnreadableOnes) {
  WriteSetup(CalcSettings{});
  CalcSettings other;
  other.timeEnd = 3e-4;
  other.wtSelect = 1;
  const std::string otherFile = folder.File("other.ini");
  ASSERT_TRUE(SaveSetup(other, "/o/fft", "/o/wt", "/o/hw", otherFile));
  Open(CalcMode::kSingleTft);
  controls->SetText(1012, "9.99e-01");

  host.file_answers.push_back(folder.File("missing.ini"));
  dialog->OnClicked(1010);
  EXPECT_EQ(controls->Text(1012), "9.99e-01");
  EXPECT_TRUE(host.messages.empty());

  host.file_answers.push_back(otherFile);
  dialog->OnClicked(1010);
  EXPECT_EQ(host.file_filters.back(), "PLEXO Ini-Files(*.ini)|*.ini||");
  EXPECT_EQ(controls->Text(1012), "3.00e-004");
  EXPECT_EQ(controls->Text(1007), "/o/wt");
  EXPECT_TRUE(controls->IsEnabled(1026));
  // The method buttons follow the loaded file, so "Calculate!" runs what the fields show.
  EXPECT_TRUE(controls->IsChecked(1106));
  EXPECT_FALSE(controls->IsChecked(1105));
}

TEST_F(OptionsDialogTest, SaveSetupWritesWhatTheControlsShow) {
  WriteSetup(CalcSettings{});
  Open(CalcMode::kSingleTft);
  controls->SetText(1011, "5.5e-5");
  controls->SetText(1007, "/typed/wave.txt");
  const std::string saved = folder.File("saved.ini");
  host.file_answers.push_back(saved);
  dialog->OnClicked(1002);
  const std::string text = ReadSetupText(saved);
  EXPECT_NE(text.find("[WT-TimeStart]\t5.500000e-005\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[WT-Path]\t/typed/wave.txt\r\n"), std::string::npos) << text;
}

// A setup that cannot be saved is named with the reason, whether chosen or saved on closing.
TEST_F(OptionsDialogTest, SetupThatCannotBeSavedIsReported) {
  WriteSetup(CalcSettings{});
  Open(CalcMode::kSingleTft);
  const std::string chosen = folder.File("no such folder/saved.ini");
  host.file_answers.push_back(chosen);
  ::testing::internal::CaptureStderr();
  dialog->OnClicked(1002);
  std::filesystem::remove(setupPath);
  std::filesystem::create_directory(setupPath);
  dialog->OnDestroy();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "File open NOT succesfull\nFile open NOT succesfull\n");
  EXPECT_EQ(host.messages,
            (std::vector<std::string>{
                "File " + chosen + " could not be written: No such file or directory!",
                "File " + setupPath + " could not be written: Is a directory!"}));
}

TEST_F(OptionsDialogTest, ComboChoicesAreStoredAndSaved) {
  WriteSetup(CalcSettings{});
  Open(CalcMode::kConvolution);
  controls->SetComboIndex(1022, 1);
  dialog->OnComboChanged(1022);
  EXPECT_EQ(dialog->Settings().fftOutputType, 1.0);
  dialog->OnDestroy();
  EXPECT_NE(ReadSetupText(setupPath).find("[FFT-Outputtype]\t1\r\n"), std::string::npos);
}

TEST_F(OptionsDialogTest, OpensWithoutSetupFileSilently) {
  Open(CalcMode::kSingleTft);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(dialog->Settings().timeEnd, CalcSettings{}.timeEnd);
}

}  // namespace
}  // namespace plexo::testing
