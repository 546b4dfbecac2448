// Takes the README's pictures from the real windows: the main frame, the Options dialog of a
// Single TFT, the Feature Extraction dialog, the About box, given a TFT file the TFT viewer's
// window, whole and zoomed with the value under the mouse, and given a folder of waveforms the
// onset review window on its second hit, the pick moved and the mouse on the criterion (nothing
// is saved). Run under a display (Xvfb will do):
//   plexo_screenshots OUTPUT_FOLDER [TFT_FILE [WAVEFORM_FOLDER]]
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <iostream>
#include <memory>

#include "app/about_box.h"
#include "app/real_calculations.h"
#include "frontends/qt/about_dlg.h"
#include "frontends/qt/chart_widget.h"
#include "frontends/qt/cv_image.h"
#include "frontends/qt/feature_dialog.h"
#include "frontends/qt/main_frame.h"
#include "frontends/qt/onset_review_window.h"
#include "frontends/qt/options_dialog.h"
#include "frontends/qt/preview_window.h"
#include "platform/recording_host.h"
#include "signal/setup_file.h"
#include "viewers/file_charts.h"

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
  if (argc < 2 || argc > 4) {
    std::cerr << "usage: plexo_screenshots OUTPUT_FOLDER [TFT_FILE [WAVEFORM_FOLDER]]" << std::endl;
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

  if (argc >= 3) {
    auto workspace = std::make_unique<plexo::ViewerWorkspace>();
    const plexo::FileChart chart =
        plexo::DrawFileChart(plexo::ViewerKind::kTft, argv[2], *workspace);
    if (chart.image.empty()) {
      std::cerr << "no TFT data in " << argv[2] << std::endl;
      return 1;
    }
    plexo::qt::PreviewWindow viewer(plexo::ViewerTitle(plexo::ViewerKind::kTft),
                                    plexo::qt::ToQImage(chart.image), &chart.data, &frame);
    ok = Save(viewer, out + "/tft_viewer.png") && ok;
    // The same window zoomed into the middle of the map, the mouse resting on it.
    plexo::qt::ChartWidget& widget = *viewer.Chart();
    plexo::ChartView zoomed = widget.View();
    const plexo::AxisRange x = zoomed.x, y = zoomed.y[0];
    zoomed.x = {x.low + 0.3 * x.Span(), x.low + 0.6 * x.Span()};
    zoomed.y[0] = {y.low + 0.1 * y.Span(), y.low + 0.5 * y.Span()};
    widget.SetView(zoomed);
    const plexo::PanelLayout panel = widget.Layout().panels[0];
    const QPointF at(panel.x.Pixel(x.low + 0.45 * x.Span()), panel.y.Pixel(y.low + 0.3 * y.Span()));
    QMouseEvent move(QEvent::MouseMove, at, QPointF(widget.mapToGlobal(at.toPoint())), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
    ok = Save(viewer, out + "/tft_viewer_zoomed.png") && ok;
    viewer.hide();
  }

  if (argc == 4) {
    plexo::RecordingHost quiet;  // the window is only looked at: no question, nothing saved
    plexo::OnsetReviewSession review(quiet);
    if (!review.Open(argv[3], plexo::DefaultFeatureSettings()) || !review.Next() ||
        review.Review().CurrentRow() == nullptr) {
      std::cerr << "no waveforms to review in " << argv[3] << std::endl;
      return 1;
    }
    // The pick moved 40 samples later, so that both picks show.
    const int automatic = review.Review().CurrentRow()->automaticSample;
    const double dt = review.Review().CurrentWaveform().sampleInterval;
    review.PickAt((automatic + 40) * dt);
    plexo::qt::OnsetReviewWindow window(review, &frame);
    window.show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    plexo::qt::ChartWidget& widget = *window.Chart();
    // Zoomed in on the picks: 400 samples before them to 600 after.
    plexo::ChartView view = widget.View();
    view.x = {(automatic - 400) * dt, (automatic + 600) * dt};
    widget.SetView(view);
    const plexo::PanelLayout panel = widget.Layout().panels[1];
    const QPointF at(panel.x.Pixel((automatic + 15) * dt),
                     (panel.area.top + panel.area.bottom) / 2);
    QMouseEvent move(QEvent::MouseMove, at, QPointF(widget.mapToGlobal(at.toPoint())), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
    ok = Save(window, out + "/onset_review.png") && ok;
    window.hide();
  }
  return ok ? 0 : 1;
}
