// Takes the README's pictures from the real windows: the main frame, the Options dialog of a
// Single TFT, the Feature Extraction dialog and the About box. Run under a display (Xvfb will do):
//   plexo_screenshots OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <iostream>

#include "app/about_box.h"
#include "app/real_calculations.h"
#include "frontends/qt/about_dlg.h"
#include "frontends/qt/feature_dialog.h"
#include "frontends/qt/main_frame.h"
#include "frontends/qt/options_dialog.h"
#include "signal/setup_file.h"

namespace {

bool Save(QWidget& widget, const QString& path) {
  widget.show();
  widget.raise();
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  if (!widget.grab().save(path)) {
    std::cerr << "cannot write " << path.toStdString() << std::endl;
    return false;
  }
  std::cout << path.toStdString() << std::endl;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: plexo_screenshots OUTPUT_FOLDER" << std::endl;
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  QTemporaryDir scratch;
  const std::string setupPath = (scratch.path() + "/Setup.ini").toStdString();
  plexo::CalcSettings settings;
  plexo::SaveSetup(settings, "/home/ae/test-01/hits", "/home/ae/test-01/hits/hit_0042.txt",
                   "/home/ae/sensors/transfer.txt", setupPath);

  plexo::qt::CMainFrame frame(setupPath);
  bool ok = Save(frame, out + "/main_window.png");

  plexo::RealCalculations calculations;
  plexo::qt::OptionsDialog options(&frame, plexo::CalcMode::kSingleTft, calculations, setupPath);
  ok = Save(options.View(), out + "/options_dialog.png") && ok;
  options.View().hide();

  plexo::FeatureWorkspace features;
  plexo::qt::FeatureDialog feature(&frame, features);
  ok = Save(feature.View(), out + "/feature_dialog.png") && ok;
  feature.View().hide();

  plexo::qt::CAboutDlg about(&frame);
  ok = Save(about, out + "/about_box.png") && ok;
  about.hide();
  return ok ? 0 : 1;
}
