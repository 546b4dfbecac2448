#pragma once
// The main frame's command routing, without a toolkit: a menu command records its calculation
// mode and asks the frame's window to open the dialog or viewer that belongs to it.
#include <string_view>

#include "app/menu_commands.h"
#include "platform/host.h"
#include "signal/calc_mode.h"

namespace plexo {

inline constexpr std::string_view kNotAvailableMessage = "This command is not available yet.";

// What the frame's window does for the commands. The dialogs and viewers that are not part of
// the desktop yet answer false, and the command tells the user so.
class FrameWindow {
 public:
  virtual ~FrameWindow() = default;
  virtual void RunOptionsDialog(CalcMode mode) = 0;
  virtual void RunAboutBox() = 0;
  virtual void ToggleStatusBar() = 0;
  virtual void Quit() = 0;
  virtual bool RunFeatureDialog() { return false; }
  virtual bool RunProgressDialog(CalcMode /*mode*/) { return false; }
  virtual bool RunViewer(CommandAction /*viewer*/) { return false; }
  virtual bool RunImportDialog() { return false; }
  // Asks for a folder or database and opens the onset review window on it.
  virtual bool RunOnsetReview() { return false; }
  // Opens the README; false when the frame cannot (it then says why itself when it can).
  virtual bool OpenReadme() { return false; }
};

class MainCommands {
 public:
  MainCommands(FrameWindow& frame, Host& host) : frame_(frame), host_(host) {}

  // Runs the command of a menu item; false for an id the menu does not have.
  bool OnCommand(int id);

  CalcMode calcMode() const { return calcMode_; }

 private:
  FrameWindow& frame_;
  Host& host_;
  // Kept after a dialog closes; Feature Extraction and the viewers leave it unchanged.
  CalcMode calcMode_ = CalcMode::kNone;
};

}  // namespace plexo
