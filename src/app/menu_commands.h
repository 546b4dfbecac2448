#pragma once
// The main menu as data: every menu, item, id and separator, and what each command does.
#include <string>
#include <vector>

#include "signal/calc_mode.h"

namespace plexo {

// Command ids of the menu.
enum MenuCommandId : int {
  kIdViewAeFile = 32771,
  kIdViewFftFile = 32772,
  kIdViewTftFile = 32773,
  kIdImportWaveforms = 32790,
  kIdReviewOnsets = 32792,
  kIdAppExit = 57665,
  kIdSingleFft = 32775,
  kIdSingleTft = 32776,
  kIdAverageFft = 32777,
  kIdAverageTft = 32778,
  kIdConvolution = 32779,
  kIdDeconvolution = 32780,
  kIdFeatureExtraction = 32787,
  kIdEventLinking = 32782,
  kIdColumns = 32783,
  kIdAccumulate = 32784,
  kIdSplit = 32788,
  kIdAewinToAscii = 32785,
  kIdVisualAeToAscii = 32786,
  kIdViewStatusBar = 59393,
  kIdAppAbout = 57664,
  kIdHelpReadme = 32791,
};

enum class CommandAction {
  kViewWaveform,     // waveform viewer
  kViewFftFile,      // FFT-file viewer
  kViewTftFile,      // TFT-file viewer
  kExit,             // quit
  kOptionsDialog,    // set the mode, open the Options dialog
  kFeatureDialog,    // Feature Extraction dialog; the mode is left as it is
  kProgressDialog,   // set the mode, open the conversion progress dialog
  kToggleStatusBar,  // show or hide the status bar
  kAbout,            // About box
  kImportDialog,     // pick the folders, open the "Import waveforms" dialog
  kOpenReadme,       // open the README (the user's guide) in the desktop's viewer
  kOnsetReview,      // pick a folder or database, open the onset review window
};

struct MenuItem {
  bool separator = false;
  std::string caption;  // "&" marks the mnemonic
  int id = 0;
  CommandAction action = CommandAction::kAbout;
  CalcMode mode = CalcMode::kNone;  // the mode the command sets, where it sets one
};

struct Menu {
  std::string caption;
  std::vector<MenuItem> items;
};

// The menu bar, left to right.
const std::vector<Menu>& MainMenu();

// The item with this command id, or null.
const MenuItem* FindMenuItem(int id);

}  // namespace plexo
