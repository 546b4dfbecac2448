#include "frontends/qt/qt_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "app/about_box.h"
#include "frontends/qt/gui_thread.h"
#include "frontends/qt/preview_window.h"
#include "frontends/qt/qt_text.h"
#include "platform/file_filter.h"

namespace plexo::qt {

namespace {

std::function<void(const QString&)>& StatusSink() {
  static std::function<void(const QString&)> sink;
  return sink;
}

// The window a modal request belongs to: the open dialog, else the main window.
QWidget* Owner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

// A modal message with an OK button; the icon says whether it warns or informs.
void ShowMessage(QMessageBox::Icon icon, std::string_view text) {
  const QString message = ToQString(text);
  RunOnGuiThreadAndWait([&message, icon] {
    QMessageBox box(icon, QString::fromUtf8(kProgramTitle), message, QMessageBox::Ok, Owner());
    box.exec();
  });
}

}  // namespace

QStringList ToQtNameFilters(std::string_view filter) {
  QStringList names;
  for (const FileFilterEntry& entry : ParseFileFilter(filter)) {
    QString patterns;
    for (const std::string& pattern : entry.patterns) {
      if (!patterns.isEmpty()) patterns += ' ';
      patterns += ToQString(pattern);
    }
    QString description = ToQString(entry.description);
    // "ASCII-waveform(*.txt)" already names its patterns the way Qt reads them.
    if (!description.endsWith("(" + patterns + ")")) description += " (" + patterns + ")";
    names << description;
  }
  return names;
}

QString WrittenStatusText(const std::vector<std::string>& paths) {
  if (paths.empty()) return {};
  QString text = QStringLiteral("Wrote ") + ToQString(paths.front());
  if (paths.size() == 2) text += QStringLiteral(" and 1 more file");
  if (paths.size() > 2) text += QStringLiteral(" and %1 more files").arg(paths.size() - 1);
  return text;
}

void QtHost::SetStatusSink(std::function<void(const QString&)> sink) {
  StatusSink() = std::move(sink);
}

void QtHost::ResultWritten(const std::vector<std::string>& paths) {
  const QString text = WrittenStatusText(paths);
  if (text.isEmpty()) return;
  RunOnGuiThreadAndWait([&text] {
    if (StatusSink()) StatusSink()(text);
  });
}

void QtHost::Inform(std::string_view text) { ShowMessage(QMessageBox::Information, text); }

Host::UnsavedAnswer QtHost::AskUnsaved(std::string_view text) {
  const QString message = ToQString(text);
  UnsavedAnswer answer = UnsavedAnswer::kCancel;
  RunOnGuiThreadAndWait([&message, &answer] {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kProgramTitle), message,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, Owner());
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
      case QMessageBox::Save:
        answer = UnsavedAnswer::kSave;
        break;
      case QMessageBox::Discard:
        answer = UnsavedAnswer::kDiscard;
        break;
      default:
        break;
    }
  });
  return answer;
}

std::optional<std::string> QtHost::PickFolder(std::string_view title) {
  const QString caption = ToQString(title);
  std::optional<std::string> answer;
  RunOnGuiThreadAndWait([&answer, &caption] {
    const QString folder =
        QFileDialog::getExistingDirectory(Owner(), caption, QString(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty()) answer = ToStdString(folder);
  });
  return answer;
}

void QtHost::MessageBox(std::string_view text) { ShowMessage(QMessageBox::Warning, text); }

std::optional<std::string> QtHost::OpenFile(std::string_view filter) {
  const QStringList names = ToQtNameFilters(filter);
  std::optional<std::string> answer;
  RunOnGuiThreadAndWait([&names, &answer] {
    // An open dialog that also takes a name that does not exist yet, as "Save Setup" needs.
    QFileDialog dialog(Owner());
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(names);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      answer = ToStdString(dialog.selectedFiles().first());
    }
  });
  return answer;
}

std::optional<std::string> QtHost::BrowseForFolder() { return PickFolder({}); }

void QtHost::ShowImage(std::string_view title, const cv::Mat& image) {
  // The preview window lives on the GUI thread; the calculation waits for the key press.
  ShowPreview(title, image);
}

void QtHost::ShowChart(std::string_view title, const cv::Mat& image, const ChartData& chart) {
  ShowPreview(title, image, &chart);
}

}  // namespace plexo::qt
