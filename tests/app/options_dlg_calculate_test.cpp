// "Calculate!": validation, what each mode calls with which values, the dialog closing or
// staying, the stop flag and the setup file written on closing.
#include "options_dlg_fixture.h"

namespace plexo::testing {
namespace {

struct GridCase {
  const char* name;
  const char* timeStart;
  const char* timeEnd;
  const char* timeRes;
  const char* freqStart;
  const char* freqEnd;
  const char* freqRes;
  bool autoResolution;  // 1018 and 1021 checked
  bool valid;
};

class OptionsValidationTest : public OptionsDialogTest,
                              public ::testing::WithParamInterface<std::tuple<CalcMode, GridCase>> {
};

TEST_P(OptionsValidationTest, RejectsInconsistentGrids) {
  const auto& [mode, c] = GetParam();
  WriteSetup(CalcSettings{});
  Open(mode);
  controls->SetText(1011, c.timeStart);
  controls->SetText(1012, c.timeEnd);
  controls->SetText(1017, c.timeRes);
  controls->SetText(1013, c.freqStart);
  controls->SetText(1014, c.freqEnd);
  controls->SetText(1020, c.freqRes);
  controls->SetChecked(1018, c.autoResolution);
  controls->SetChecked(1021, c.autoResolution);
  dialog->OnClicked(1000);
  if (c.valid) {
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(calculations.calls.size(), 1u);
    EXPECT_EQ(controls->endResult, 1);
  } else {
    // The fixed text; the Average TFT's names the value on a second line.
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string first = "Non-valid input parameters! Please check consistence!";
    if (mode == CalcMode::kAverageTft) {
      EXPECT_EQ(host.messages[0].substr(0, first.size() + 1), first + "\n");
      EXPECT_GT(host.messages[0].size(), first.size() + 1);
    } else {
      EXPECT_EQ(host.messages[0], first);
    }
    EXPECT_TRUE(calculations.calls.empty());
    EXPECT_FALSE(controls->endResult.has_value());
    EXPECT_TRUE(controls->IsEnabled(1000));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Grids, OptionsValidationTest,
    ::testing::Combine(
        ::testing::Values(CalcMode::kSingleTft, CalcMode::kAverageTft),
        ::testing::Values(GridCase{"Valid", "1.00e-05", "1.00e-04", "1.00e-07", "1.00e+04",
                                   "1.00e+06", "1.00e+04", false, true},
                          GridCase{"EqualEnds", "1.00e-04", "1.00e-04", "1.00e-07", "5.00e+05",
                                   "5.00e+05", "1.00e+04", false, true},
                          GridCase{"TimeEndBeforeStart", "2.00e-04", "1.00e-04", "1.00e-07",
                                   "1.00e+04", "1.00e+06", "1.00e+04", false, false},
                          GridCase{"NegativeTimeStart", "-1.00e-05", "1.00e-04", "1.00e-07",
                                   "1.00e+04", "1.00e+06", "1.00e+04", false, false},
                          GridCase{"FreqEndBeforeStart", "0.00e+00", "1.00e-04", "1.00e-07",
                                   "2.00e+06", "1.00e+06", "1.00e+04", false, false},
                          GridCase{"NegativeFreqStart", "0.00e+00", "1.00e-04", "1.00e-07",
                                   "-1.00e+04", "1.00e+06", "1.00e+04", false, false},
                          GridCase{"ZeroTimeResolutionEvenWhenAutomatic", "0.00e+00", "1.00e-04",
                                   "0.00e+00", "1.00e+04", "1.00e+06", "1.00e+04", true, false},
                          GridCase{"ZeroFreqResolutionEvenWhenAutomatic", "0.00e+00", "1.00e-04",
                                   "1.00e-07", "1.00e+04", "1.00e+06", "0.00e+00", true, false},
                          GridCase{"TextWithoutNumberIsZero", "0.00e+00", "1.00e-04", "fine",
                                   "1.00e+04", "1.00e+06", "1.00e+04", false, false},
                          GridCase{"NotANumber", "nan", "1.00e-04", "1.00e-07", "1.00e+04",
                                   "1.00e+06", "1.00e+04", false, false})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param) == CalcMode::kSingleTft ? "Single" : "Average") +
             std::get<1>(info.param).name;
    });

class OptionsDispatchTest : public OptionsDialogTest {
 protected:
  void SetUp() override {
    settings.fftWindow = 1;
    settings.fftPrecision = 13;
    settings.wtSize = 801;
    settings.cwdSize = 3;
    settings.cwdSigma = 5;
    settings.timeStart = 1e-5;
    settings.timeEnd = 2e-4;
    settings.timeRes = 1e-7;
    settings.freqStart = 2e4;
    settings.freqEnd = 8e5;
    settings.freqRes = 5e3;
    settings.autoResTime = 1;
    settings.autoResFreq = 0;
    settings.threshold = 0.25;
    settings.autoRoi = 1;
    settings.wtComplex = 1;
  }
  void OpenWith(CalcMode mode) {
    WriteSetup(settings, "/in/fft", "/in/wt", "/in/hw.txt");
    Open(mode);
  }
  CalcSettings settings;
};

TEST_F(OptionsDispatchTest, SingleFftKeepsTheDialogOpenForTheNextFile) {
  OpenWith(CalcMode::kSingleFft);
  dialog->OnClicked(1000);
  controls->SetText(1006, "/in/second.txt");
  dialog->OnClicked(1000);
  ASSERT_EQ(calculations.calls.size(), 2u);
  EXPECT_EQ(calculations.calls[0].kind, "SingleFft");
  EXPECT_EQ(calculations.calls[0].path, "/in/fft");
  EXPECT_EQ(calculations.calls[0].windowIndex, 1);
  EXPECT_EQ(calculations.calls[1].path, "/in/second.txt");
  EXPECT_FALSE(controls->endResult.has_value());
  EXPECT_TRUE(controls->IsEnabled(1000));
}

TEST_F(OptionsDispatchTest, SingleTftPassesTheGridAndTheWaveletLength) {
  OpenWith(CalcMode::kSingleTft);
  controls->SetText(1009, "512.9");  // the integer part counts
  dialog->OnClicked(1000);
  ASSERT_EQ(calculations.calls.size(), 1u);
  const CalculationCall& call = calculations.calls[0];
  EXPECT_EQ(call.kind, "SingleTft");
  EXPECT_EQ(call.method, TftMethod::kCwt);
  EXPECT_EQ(call.tft.path, "/in/wt");
  EXPECT_EQ(call.tft.timeStart, 1e-5);
  EXPECT_EQ(call.tft.timeEnd, 2e-4);
  EXPECT_EQ(call.tft.timeRes, 1e-7);
  EXPECT_EQ(call.tft.freqStart, 2e4);
  EXPECT_EQ(call.tft.freqEnd, 8e5);
  EXPECT_EQ(call.tft.freqRes, 5e3);
  EXPECT_EQ(call.tft.output, TftOutput::kComplex);
  EXPECT_EQ(call.tft.waveletLength, 512);
  EXPECT_TRUE(call.tft.autoTimeRes);
  EXPECT_FALSE(call.tft.autoFreqRes);
  EXPECT_EQ(controls->endResult, 1);
}

TEST_F(OptionsDispatchTest, SingleTftWignerVillePassesSubsamplingAndWindowParameter) {
  settings.wtSelect = 1;
  settings.wtComplex = 0;
  OpenWith(CalcMode::kSingleTft);
  dialog->OnClicked(1000);
  ASSERT_EQ(calculations.calls.size(), 1u);
  const CalculationCall& call = calculations.calls[0];
  EXPECT_EQ(call.method, TftMethod::kSpwvd);
  EXPECT_EQ(call.tft.subsampling, 3);
  EXPECT_EQ(call.tft.windowParameter, 5);
  EXPECT_EQ(call.tft.output, TftOutput::kModulus);
}

TEST_F(OptionsDispatchTest, AverageFftTakesTheFolderAndClosesTheDialog) {
  OpenWith(CalcMode::kAverageFft);
  dialog->OnClicked(1000);
  ASSERT_EQ(calculations.calls.size(), 1u);
  EXPECT_EQ(calculations.calls[0].kind, "AverageFft");
  EXPECT_EQ(calculations.calls[0].path, "/in/fft");
  EXPECT_EQ(calculations.calls[0].windowIndex, 1);
  EXPECT_EQ(controls->endResult, 1);
}

TEST_F(OptionsDispatchTest, AverageTftAddsThresholdAndItsFlag) {
  OpenWith(CalcMode::kAverageTft);
  controls->SetText(1019, "0.5000");
  dialog->OnClicked(1000);
  ASSERT_EQ(calculations.calls.size(), 1u);
  const CalculationCall& call = calculations.calls[0];
  EXPECT_EQ(call.kind, "AverageTft");
  EXPECT_EQ(call.method, TftMethod::kCwt);
  EXPECT_EQ(call.path, "/in/wt");
  EXPECT_EQ(call.threshold, 0.5);
  EXPECT_TRUE(call.autoThreshold);
  EXPECT_EQ(call.tft.waveletLength, 801);
  EXPECT_EQ(call.tft.freqRes, 5e3);
  EXPECT_EQ(controls->endResult, 1);
}

TEST_F(OptionsDispatchTest, ConvolutionAndDeconvolutionPassPrecisionTransferAndOutput) {
  OpenWith(CalcMode::kConvolution);
  dialog->OnClicked(1000);
  settings.fftOutputType = 1;
  OpenWith(CalcMode::kDeconvolution);
  dialog->OnClicked(1000);
  ASSERT_EQ(calculations.calls.size(), 2u);
  for (const CalculationCall& call : calculations.calls) {
    EXPECT_EQ(call.kind, "Transfer");
    EXPECT_EQ(call.path, "/in/fft");
    EXPECT_EQ(call.fftPrecision, 13);
    EXPECT_EQ(call.transferPath, "/in/hw.txt");
  }
  EXPECT_EQ(calculations.calls[0].operation, TransferOperation::kConvolution);
  EXPECT_EQ(calculations.calls[0].output, ConvolutionOutput::kWaveformFiles);
  EXPECT_EQ(calculations.calls[1].operation, TransferOperation::kDeconvolution);
  EXPECT_EQ(calculations.calls[1].output, ConvolutionOutput::kColumnsFile);
  EXPECT_EQ(controls->endResult, 1);
}

TEST_F(OptionsDispatchTest, CalculationAdvancesTheDialogsProgressBar) {
  OpenWith(CalcMode::kAverageFft);
  calculations.during = [](CalcProgress& progress, Host&) {
    progress.SetRange(0, 7);
    for (int k = 1; k <= 7; ++k) progress.SetPos(k);
  };
  dialog->OnClicked(1000);
  const MemoryControls::State& bar = controls->StateOf(1005);
  EXPECT_EQ(bar.progressLow, 0);
  EXPECT_EQ(bar.progressHigh, 7);
  EXPECT_EQ(bar.progressPos, 7);
  EXPECT_EQ(bar.progressUpdates, 7);
}

TEST_F(OptionsDispatchTest, ClosingDuringARunSavesAsksToStopAndEndsTheDialogAfterwards) {
  OpenWith(CalcMode::kSingleFft);
  bool stopSeenBefore = true;
  bool stopSeenAfter = false;
  bool mayCloseAtOnce = true;
  calculations.during = [&](CalcProgress& progress, Host&) {
    stopSeenBefore = progress.StopRequested();
    // A second "Calculate!" while running starts nothing; the button is greyed.
    EXPECT_FALSE(controls->IsEnabled(1000));
    dialog->OnClicked(1000);
    controls->SetText(1006, "/typed/while/running.txt");
    mayCloseAtOnce = dialog->OnClose();
    stopSeenAfter = progress.StopRequested();
  };
  dialog->OnClicked(1000);
  EXPECT_FALSE(stopSeenBefore);
  EXPECT_TRUE(stopSeenAfter);
  EXPECT_FALSE(mayCloseAtOnce);
  EXPECT_EQ(calculations.calls.size(), 1u);
  // Even a Single FFT ends the dialog once the run that was asked to stop is over.
  EXPECT_EQ(controls->endResult, kIdCancel);
  EXPECT_NE(ReadSetupText(setupPath).find("[FFT-Path]\t/typed/while/running.txt\r\n"),
            std::string::npos);
}

TEST_F(OptionsDispatchTest, ANewRunClearsTheStopFlag) {
  OpenWith(CalcMode::kSingleFft);
  dialog->OnDestroy();
  EXPECT_TRUE(dialog->StopRequested());
  bool stopSeen = true;
  calculations.during = [&](CalcProgress& progress, Host&) { stopSeen = progress.StopRequested(); };
  dialog->OnClicked(1000);
  EXPECT_FALSE(stopSeen);
}

TEST_F(OptionsDispatchTest, ClosingSavesTheSetupFileWithTheDialogsRounding) {
  settings.timeStart = 1.2345e-4;
  settings.timeEnd = 3.14159e-4;
  settings.freqEnd = 987654.321;
  WriteSetup(settings, "/in/fft", "/in/wt", "/in/hw.txt");
  AppendToSetup("[FFT-Precision]\t13.6\n");  // kept as "%.0lf" text: 14
  Open(CalcMode::kSingleFft);
  EXPECT_TRUE(dialog->OnClose());
  dialog->OnDestroy();
  const std::string text = ReadSetupText(setupPath);
  for (const char* line : {"[WT-TimeStart]\t1.230000e-004\r\n", "[WT-TimeEnd]\t3.140000e-004\r\n",
                           "[WT-FreqEnd]\t9.880000e+005\r\n", "[FFT-Precision]\t14\r\n",
                           "[FFT-Path]\t/in/fft\r\n", "[HW-Path]\t/in/hw.txt\r\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
  }
  EXPECT_TRUE(dialog->StopRequested());
}

}  // namespace
}  // namespace plexo::testing
