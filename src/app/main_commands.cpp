#include "app/main_commands.h"

namespace plexo {

bool MainCommands::OnCommand(int id) {
  const MenuItem* item = FindMenuItem(id);
  if (item == nullptr) return false;
  bool available = true;
  switch (item->action) {
    case CommandAction::kOptionsDialog:
      calcMode_ = item->mode;
      frame_.RunOptionsDialog(calcMode_);
      break;
    case CommandAction::kProgressDialog:
      calcMode_ = item->mode;
      available = frame_.RunProgressDialog(calcMode_);
      break;
    case CommandAction::kFeatureDialog:
      available = frame_.RunFeatureDialog();
      break;
    case CommandAction::kViewWaveform:
    case CommandAction::kViewFftFile:
    case CommandAction::kViewTftFile:
      available = frame_.RunViewer(item->action);
      break;
    case CommandAction::kImportDialog:
      available = frame_.RunImportDialog();
      break;
    case CommandAction::kOnsetReview:
      available = frame_.RunOnsetReview();
      break;
    case CommandAction::kExit:
      frame_.Quit();
      break;
    case CommandAction::kToggleStatusBar:
      frame_.ToggleStatusBar();
      break;
    case CommandAction::kAbout:
      frame_.RunAboutBox();
      break;
    case CommandAction::kOpenReadme:
      available = frame_.OpenReadme();
      break;
  }
  if (!available) host_.MessageBox(kNotAvailableMessage);
  return true;
}

}  // namespace plexo
