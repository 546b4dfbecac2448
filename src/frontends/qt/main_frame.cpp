#include "frontends/qt/main_frame.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QUrl>

#include "app/about_box.h"
#include "frontends/qt/about_dlg.h"
#include "frontends/qt/feature_dialog.h"
#include "frontends/qt/import_dialog.h"
#include "frontends/qt/onset_review_window.h"
#include "frontends/qt/options_dialog.h"
#include "frontends/qt/picture_view.h"
#include "frontends/qt/progress_dialog.h"
#include "frontends/qt/qt_text.h"
#include "platform/readme_location.h"
#include "viewers/file_viewers.h"

namespace plexo::qt {

CMainFrame::CMainFrame(std::string setupPath, QWidget* parent, Host* host)
    : QMainWindow(parent),
      setupPath_(std::move(setupPath)),
      viewerHost_(host != nullptr ? host : &host_),
      commands_(*this, host_) {
  setWindowTitle(QString::fromUtf8(kProgramTitle));
  view_ = new CPictureView(this);
  setCentralWidget(view_);
  BuildMenu();
  BuildStatusBar();
  // Every dialog's host reports what a calculation wrote; the message pane shows it.
  QtHost::SetStatusSink([pane = panes_.front()](const QString& text) { pane->setText(text); });
  // The frame cannot be resized.
  setFixedSize(kWidth, kHeight);
}

CMainFrame::~CMainFrame() { QtHost::SetStatusSink(nullptr); }

void CMainFrame::BuildMenu() {
  for (const Menu& menu : MainMenu()) {
    QMenu* qmenu = menuBar()->addMenu(ToQString(menu.caption));
    for (const MenuItem& item : menu.items) {
      if (item.separator) {
        qmenu->addSeparator();
        continue;
      }
      QAction* action = qmenu->addAction(ToQString(item.caption));
      const int id = item.id;
      if (item.action == CommandAction::kToggleStatusBar) {
        action->setCheckable(true);
        action->setChecked(true);
      }
      connect(action, &QAction::triggered, this, [this, id] { commands_.OnCommand(id); });
      actions_[id] = action;
    }
  }
}

void CMainFrame::BuildStatusBar() {
  auto* message = new QLabel(QStringLiteral("Ready"), this);
  statusBar()->addWidget(message, 1);
  panes_.push_back(message);
  // Key-state indicators, shown greyed as they are when the key is off.
  for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
    auto* pane = new QLabel(QString::fromLatin1(indicator), this);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    pane->setEnabled(false);
    statusBar()->addPermanentWidget(pane);
    panes_.push_back(pane);
  }
}

QAction* CMainFrame::Action(int id) const {
  auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::RunOptionsDialog(CalcMode mode) {
  OptionsDialog dialog(this, mode, calculations_, setupPath_);
  dialog.Exec();
}

bool CMainFrame::RunProgressDialog(CalcMode mode) {
  ProgressDialog dialog(this, mode, asciiOperators_);
  dialog.Exec();
  return true;
}

bool CMainFrame::RunFeatureDialog() {
  FeatureDialog dialog(this, *featureWorkspace_, nullptr, setupPath_);
  dialog.Exec();  // the result is not used
  return true;
}

void CMainFrame::RunAboutBox() {
  CAboutDlg about(this);
  about.exec();
}

void CMainFrame::ToggleStatusBar() {
  const bool show = statusBar()->isHidden();
  statusBar()->setVisible(show);
  if (QAction* action = Action(kIdViewStatusBar)) action->setChecked(show);
}

void CMainFrame::Quit() { close(); }

bool CMainFrame::OpenReadme() {
  const std::optional<std::string> readme = FindReadme();
  if (!readme) {
    host_.MessageBox("The README is not installed: see \"man plexo\".");
    return true;
  }
  // The desktop's own viewer for Markdown or text files.
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(*readme)))) {
    host_.MessageBox("No program to show " + *readme + " was found: open it in a text editor.");
  }
  return true;
}

bool CMainFrame::RunImportDialog() {
  if (std::optional<ImportFolders> folders = AskImportFolders(host_)) {
    ImportDialog dialog(this, std::move(*folders), host_);
    dialog.Exec();
  }
  return true;
}

bool CMainFrame::RunOnsetReview() {
  // The window length after the pick as the Feature Extraction dialog opens with it.
  ReviewOnsets(this, *viewerHost_, DefaultFeatureSettings());
  return true;
}

bool CMainFrame::RunViewer(CommandAction viewer) {
  if (!viewerWorkspace_) viewerWorkspace_ = std::make_unique<ViewerWorkspace>();
  switch (viewer) {
    case CommandAction::kViewWaveform:
      ViewWaveformFile(*viewerWorkspace_, *viewerHost_);
      return true;
    case CommandAction::kViewFftFile:
      ViewFftFile(*viewerWorkspace_, *viewerHost_);
      return true;
    case CommandAction::kViewTftFile:
      ViewTftFile(*viewerWorkspace_, *viewerHost_);
      return true;
    default:
      return false;
  }
}

}  // namespace plexo::qt
