// The menu and its commands: modes recorded, dialogs asked for, unfinished commands announced.
#include "app/main_commands.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/recording_host.h"

namespace plexo {
namespace {

class RecordingFrame : public FrameWindow {
 public:
  void RunOptionsDialog(CalcMode mode) override { optionsModes.push_back(mode); }
  void RunAboutBox() override { ++aboutBoxes; }
  void ToggleStatusBar() override { ++statusBarToggles; }
  void Quit() override { ++quits; }
  bool RunOnsetReview() override {
    ++onsetReviews;
    return true;
  }

  std::vector<CalcMode> optionsModes;
  int aboutBoxes = 0;
  int statusBarToggles = 0;
  int quits = 0;
  int onsetReviews = 0;
};

TEST(MainMenuTest, EveryCommandIdIsFoundOnce) {
  std::set<int> ids;
  for (const Menu& menu : MainMenu()) {
    for (const MenuItem& item : menu.items) {
      if (item.separator) continue;
      EXPECT_TRUE(ids.insert(item.id).second) << item.id;
      EXPECT_EQ(FindMenuItem(item.id), &item);
    }
  }
  EXPECT_EQ(ids.size(), 22u);
}

TEST(MainCommandsTest, CalculationCommandsRecordTheirModeAndOpenTheOptionsDialog) {
  const std::pair<int, CalcMode> commands[] = {
      {32775, CalcMode::kSingleFft},   {32776, CalcMode::kSingleTft},
      {32777, CalcMode::kAverageFft},  {32778, CalcMode::kAverageTft},
      {32779, CalcMode::kConvolution}, {32780, CalcMode::kDeconvolution}};
  RecordingFrame frame;
  RecordingHost host;
  MainCommands main(frame, host);
  EXPECT_EQ(main.calcMode(), CalcMode::kNone);
  for (const auto& [id, mode] : commands) {
    EXPECT_TRUE(main.OnCommand(id));
    EXPECT_EQ(main.calcMode(), mode);
    ASSERT_FALSE(frame.optionsModes.empty());
    EXPECT_EQ(frame.optionsModes.back(), mode);
  }
  EXPECT_EQ(frame.optionsModes.size(), 6u);
  EXPECT_TRUE(host.messages.empty());
}

TEST(MainCommandsTest, UnfinishedCommandsSaySoAndKeepTheirModeRules) {
  RecordingFrame frame;
  RecordingHost host;
  MainCommands main(frame, host);
  main.OnCommand(32778);
  // Feature Extraction and the viewers leave the mode alone.
  for (int id : {32787, 32771, 32772, 32773}) {
    main.OnCommand(id);
    EXPECT_EQ(main.calcMode(), CalcMode::kAverageTft);
  }
  const std::pair<int, CalcMode> operators[] = {
      {32782, CalcMode::kEventLinking}, {32783, CalcMode::kColumns},
      {32784, CalcMode::kAccumulate},   {32788, CalcMode::kSplit},
      {32785, CalcMode::kAewinToAscii}, {32786, CalcMode::kVisualAeToAscii}};
  for (const auto& [id, mode] : operators) {
    main.OnCommand(id);
    EXPECT_EQ(main.calcMode(), mode);
  }
  EXPECT_EQ(host.messages, std::vector<std::string>(10, "This command is not available yet."));
  EXPECT_EQ(frame.optionsModes.size(), 1u);
}

TEST(MainCommandsTest, FrameCommandsReachTheFrameAndUnknownIdsAreNotHandled) {
  RecordingFrame frame;
  RecordingHost host;
  MainCommands main(frame, host);
  main.OnCommand(57664);
  main.OnCommand(59393);
  main.OnCommand(57665);
  EXPECT_FALSE(main.OnCommand(12345));
  EXPECT_EQ(frame.aboutBoxes, 1);
  EXPECT_EQ(frame.statusBarToggles, 1);
  EXPECT_EQ(frame.quits, 1);
  EXPECT_EQ(main.calcMode(), CalcMode::kNone);
  EXPECT_TRUE(host.messages.empty());
}

TEST(MainCommandsTest, ReviewOnsetsIsAFileCommandThatLeavesTheModeAlone) {
  const Menu& file = MainMenu().front();
  ASSERT_EQ(file.caption, "&File");
  std::vector<std::string> captions;
  for (const MenuItem& item : file.items) captions.push_back(item.separator ? "-" : item.caption);
  EXPECT_EQ(captions,
            (std::vector<std::string>{"View AE-file", "View FFT-file", "View TFT-file", "-",
                                      "Import waveforms...", "Review onsets...", "-", "E&xit"}));
  RecordingFrame frame;
  RecordingHost host;
  MainCommands main(frame, host);
  main.OnCommand(32778);
  EXPECT_TRUE(main.OnCommand(kIdReviewOnsets));
  EXPECT_EQ(frame.onsetReviews, 1);
  EXPECT_EQ(main.calcMode(), CalcMode::kAverageTft);
  EXPECT_EQ(frame.optionsModes.size(), 1u);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace plexo
