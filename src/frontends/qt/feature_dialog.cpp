#include "frontends/qt/feature_dialog.h"

#include "frontends/qt/onset_review_window.h"

namespace plexo::qt {

FeatureDialog::FeatureDialog(QWidget* parent, FeatureWorkspace& workspace, Host* host,
                             const std::string& setupPath)
    : DialogWindow(FeatureDialogTemplate(), parent, host,
                   [&](Controls& controls, Host& shown, CalcRunner& runner) {
                     return CFeatureDlg(controls, shown, runner, workspace, 0, setupPath);
                   }) {
  view_.onClicked = [this](ControlId id) { logic_.OnClicked(id); };
  // The close box and Escape act as Cancel.
  view_.onClose = [this] { return logic_.OnCancel(); };
  // "Review onsets..." opens the review window over this dialog, with its settings.
  Host& shown = host != nullptr ? *host : qtHost_;
  logic_.onReviewOnsets = [this, &shown](const FeatureSettings& settings, int maxSamples) {
    ReviewOnsets(&view_, shown, settings, maxSamples);
  };
  logic_.OnInitDialog();
}

FeatureDialog::~FeatureDialog() { logic_.OnDestroy(); }

int FeatureDialog::Exec() {
  const int result = view_.exec();
  logic_.OnDestroy();
  return result;
}

}  // namespace plexo::qt
