// The Options dialog's sample limit ("Max. Samples") and wavelet method ("WT-Method"): shown
// from the setup file, passed to the calculations, checked before a run, stored on closing.
#include "app/options_controls.h"
#include "options_dlg_fixture.h"
#include "signal/waveform.h"

namespace plexo::testing {
namespace {

class OptionsLimitsTest : public OptionsDialogTest {};

TEST_F(OptionsLimitsTest, TheSampleLimitGoesToEveryFftGroupCalculation) {
  CalcSettings settings;
  settings.maxSamples = 131072;
  WriteSetup(settings, "/in/fft", "/in/wt", "/in/hw.txt");
  for (CalcMode mode : {CalcMode::kSingleFft, CalcMode::kAverageFft, CalcMode::kConvolution,
                        CalcMode::kDeconvolution}) {
    Open(mode);
    EXPECT_EQ(controls->Text(kIdcMaxSamples), "131072");
    EXPECT_TRUE(controls->IsEnabled(kIdcMaxSamples));
    EXPECT_TRUE(controls->IsEnabled(kIdcMaxSamplesLabel));
    dialog->OnClicked(kIdcCalculate);
  }
  ASSERT_EQ(calculations.calls.size(), 4u);
  for (const CalculationCall& call : calculations.calls) EXPECT_EQ(call.maxSamples, 131072);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(OptionsLimitsTest, AFreshSetupShowsTheDefaultAndTheMapsLeaveTheFieldAlone) {
  WriteSetup(CalcSettings{});
  Open(CalcMode::kSingleFft);
  EXPECT_EQ(controls->Text(kIdcMaxSamples), "16384");
  dialog->OnClicked(kIdcCalculate);
  ASSERT_EQ(calculations.calls.size(), 1u);
  EXPECT_EQ(calculations.calls[0].maxSamples, MAX_SAMPLES);
  // The time-frequency maps keep 16384 samples: the field is greyed and not checked there.
  for (CalcMode mode : {CalcMode::kSingleTft, CalcMode::kAverageTft}) {
    Open(mode);
    EXPECT_FALSE(controls->IsEnabled(kIdcMaxSamples));
    controls->SetText(kIdcMaxSamples, "12");
    dialog->OnClicked(kIdcCalculate);
  }
  EXPECT_EQ(calculations.calls.size(), 3u);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(OptionsLimitsTest, ALimitOutsideItsRangeIsRefusedBeforeTheRun) {
  WriteSetup(CalcSettings{});
  for (const char* text : {"16383", "1048577", "20000.5", "many", "", "-16384"}) {
    Open(CalcMode::kAverageFft);
    controls->SetText(kIdcMaxSamples, text);
    host.messages.clear();
    dialog->OnClicked(kIdcCalculate);
    ASSERT_EQ(host.messages.size(), 1u) << text;
    EXPECT_EQ(host.messages[0], kMaxSamplesMessage);
    EXPECT_FALSE(controls->endResult.has_value()) << text;
  }
  EXPECT_TRUE(calculations.calls.empty());
  // The edges and the atof forms every field takes.
  for (const char* text : {"16384", "1048576", "2e4", " 65536"}) {
    Open(CalcMode::kSingleFft);
    controls->SetText(kIdcMaxSamples, text);
    dialog->OnClicked(kIdcCalculate);
  }
  ASSERT_EQ(calculations.calls.size(), 4u);
  EXPECT_EQ(calculations.calls[0].maxSamples, 16384);
  EXPECT_EQ(calculations.calls[1].maxSamples, 1048576);
  EXPECT_EQ(calculations.calls[2].maxSamples, 20000);
  EXPECT_EQ(calculations.calls[3].maxSamples, 65536);
}

TEST_F(OptionsLimitsTest, TheWaveletMethodFollowsTheSetupAndTheCombo) {
  CalcSettings settings;
  settings.wtMethod = 1;
  WriteSetup(settings);
  Open(CalcMode::kSingleTft);
  EXPECT_EQ(controls->ComboIndex(kIdcWaveletMethodCombo), 1);
  EXPECT_TRUE(controls->IsEnabled(kIdcWaveletMethodCombo));
  dialog->OnClicked(kIdcCalculate);
  controls->SetComboIndex(kIdcWaveletMethodCombo, 0);
  Open(CalcMode::kAverageTft);
  controls->SetComboIndex(kIdcWaveletMethodCombo, 0);
  dialog->OnClicked(kIdcCalculate);
  ASSERT_EQ(calculations.calls.size(), 2u);
  EXPECT_EQ(calculations.calls[0].tft.waveletMethod, WaveletMethod::kFft);
  EXPECT_EQ(calculations.calls[1].tft.waveletMethod, WaveletMethod::kDirect);
  // Wigner-Ville has no wavelet rows: the choice is greyed with the wavelet length.
  Open(CalcMode::kSingleTft);
  ToggleCheckBox(kIdcRadioSpwvd);
  EXPECT_FALSE(controls->IsEnabled(kIdcWaveletMethodCombo));
  ToggleCheckBox(kIdcRadioCwt);
  EXPECT_TRUE(controls->IsEnabled(kIdcWaveletMethodCombo));
}

TEST_F(OptionsLimitsTest, ClosingStoresBothUnderTheirNewKeysOnlyWhenNotTheDefault) {
  WriteSetup(CalcSettings{});
  Open(CalcMode::kSingleFft);
  EXPECT_TRUE(dialog->OnClose());
  dialog->OnDestroy();
  std::string text = ReadSetupText(setupPath);
  EXPECT_EQ(text.find("[Max-Samples]"), std::string::npos) << text;
  EXPECT_EQ(text.find("[WT-Method]"), std::string::npos) << text;

  Open(CalcMode::kSingleFft);
  controls->SetText(kIdcMaxSamples, "262144");
  controls->SetComboIndex(kIdcWaveletMethodCombo, 1);
  EXPECT_TRUE(dialog->OnClose());
  dialog->OnDestroy();
  text = ReadSetupText(setupPath);
  EXPECT_NE(text.find("[WT-Select]\t0\r\n[WT-Method]\t1\r\n[Max-Samples]\t262144\r\n"),
            std::string::npos)
      << text;
  Open(CalcMode::kAverageFft);
  EXPECT_EQ(controls->Text(kIdcMaxSamples), "262144");
}

}  // namespace
}  // namespace plexo::testing
