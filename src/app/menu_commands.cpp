#include "app/menu_commands.h"

namespace plexo {

namespace {

MenuItem Item(std::string caption, int id, CommandAction action, CalcMode mode = CalcMode::kNone) {
  return MenuItem{false, std::move(caption), id, action, mode};
}

MenuItem Separator() { return MenuItem{true, {}, 0, CommandAction::kAbout, CalcMode::kNone}; }

std::vector<Menu> BuildMainMenu() {
  using A = CommandAction;
  using M = CalcMode;
  return {
      {"&File",
       {Item("View AE-file", kIdViewAeFile, A::kViewWaveform),
        Item("View FFT-file", kIdViewFftFile, A::kViewFftFile),
        Item("View TFT-file", kIdViewTftFile, A::kViewTftFile), Separator(),
        Item("Import waveforms...", kIdImportWaveforms, A::kImportDialog),
        Item("Review onsets...", kIdReviewOnsets, A::kOnsetReview), Separator(),
        Item("E&xit", kIdAppExit, A::kExit)}},
      {"&Calculation",
       {Item("Single FFT", kIdSingleFft, A::kOptionsDialog, M::kSingleFft),
        Item("Single TFT", kIdSingleTft, A::kOptionsDialog, M::kSingleTft),
        Item("Average FFT", kIdAverageFft, A::kOptionsDialog, M::kAverageFft),
        Item("Average TFT", kIdAverageTft, A::kOptionsDialog, M::kAverageTft), Separator(),
        Item("Signal Convolution", kIdConvolution, A::kOptionsDialog, M::kConvolution),
        Item("Signal Deconvolution", kIdDeconvolution, A::kOptionsDialog, M::kDeconvolution),
        Separator(), Item("Feature Extraction", kIdFeatureExtraction, A::kFeatureDialog)}},
      {"&ASCII-Operators",
       {Item("Event linking", kIdEventLinking, A::kProgressDialog, M::kEventLinking),
        Item("Columns", kIdColumns, A::kProgressDialog, M::kColumns),
        Item("Accumulate", kIdAccumulate, A::kProgressDialog, M::kAccumulate),
        Item("Split", kIdSplit, A::kProgressDialog, M::kSplit), Separator(),
        Item("AEwin (x,y,z,t) to ASCII", kIdAewinToAscii, A::kProgressDialog, M::kAewinToAscii),
        Item("VisualAE (x,y,z,t) to ASCII", kIdVisualAeToAscii, A::kProgressDialog,
             M::kVisualAeToAscii)}},
      {"&View", {Item("&Status Bar", kIdViewStatusBar, A::kToggleStatusBar)}},
      {"&Help",
       {Item("PLEXO++ &Guide (README)", kIdHelpReadme, A::kOpenReadme), Separator(),
        Item("&About PLEXO...", kIdAppAbout, A::kAbout)}},
  };
}

}  // namespace

const std::vector<Menu>& MainMenu() {
  static const std::vector<Menu> menu = BuildMainMenu();
  return menu;
}

const MenuItem* FindMenuItem(int id) {
  for (const Menu& menu : MainMenu()) {
    for (const MenuItem& item : menu.items) {
      if (!item.separator && item.id == id) return &item;
    }
  }
  return nullptr;
}

}  // namespace plexo
