#pragma once
// The main window: the menu, the title picture and the status bar. Menu commands go to the
// toolkit-free MainCommands, which calls back for the dialogs.
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "app/main_commands.h"
#include "app/real_calculations.h"
#include "ascii_ops/ascii_operators.h"
#include "features/feature_extraction.h"
#include "frontends/qt/qt_host.h"

class QAction;
class QLabel;

namespace plexo {
struct ViewerWorkspace;
}

namespace plexo::qt {

class CPictureView;

class CMainFrame : public QMainWindow, public FrameWindow {
  Q_OBJECT

 public:
  static constexpr int kWidth = 700;
  static constexpr int kHeight = 500;

  // `setupPath` is the setup file every Options dialog reads and writes. `host` (for tests)
  // answers the viewers' file pickers and shows their windows instead of the desktop's own.
  explicit CMainFrame(std::string setupPath, QWidget* parent = nullptr, Host* host = nullptr);
  ~CMainFrame() override;

  // The menu action of a command id, or null.
  QAction* Action(int id) const;
  CPictureView* PictureView() const { return view_; }
  MainCommands& Commands() { return commands_; }
  // The four panes of the status bar: message, CAP, NUM, SCRL.
  const std::vector<QLabel*>& StatusPanes() const { return panes_; }

  void RunOptionsDialog(CalcMode mode) override;
  bool RunFeatureDialog() override;
  void RunAboutBox() override;
  void ToggleStatusBar() override;
  void Quit() override;
  bool RunProgressDialog(CalcMode mode) override;
  bool RunImportDialog() override;
  bool RunOnsetReview() override;
  bool OpenReadme() override;
  bool RunViewer(CommandAction viewer) override;

 private:
  void BuildMenu();
  void BuildStatusBar();

  std::string setupPath_;
  QtHost host_;
  Host* viewerHost_;
  std::unique_ptr<ViewerWorkspace> viewerWorkspace_;  // the viewers' buffers, made on first use
  RealCalculations calculations_;
  RealAsciiOperators asciiOperators_;
  // The feature run's buffers, kept between openings of its dialog.
  std::unique_ptr<FeatureWorkspace> featureWorkspace_ = std::make_unique<FeatureWorkspace>();
  MainCommands commands_;
  CPictureView* view_ = nullptr;
  std::map<int, QAction*> actions_;
  std::vector<QLabel*> panes_;
};

}  // namespace plexo::qt
