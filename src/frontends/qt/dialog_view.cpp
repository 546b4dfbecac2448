#include "frontends/qt/dialog_view.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "app/title_picture.h"
#include "frontends/qt/cv_image.h"
#include "frontends/qt/gui_thread.h"
#include "frontends/qt/qt_text.h"

namespace plexo::qt {

DialogView::DialogView(const DialogTemplate& dialog, QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQString(dialog.title));
  // Dialog units follow the font, as they do for a dialog resource: a quarter of the average
  // letter width across, an eighth of the line height down.
  const QFontMetrics metrics(font());
  const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
  baseX_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
  baseY_ = metrics.height();
  // Group boxes first, so that they lie beneath the controls drawn over them.
  for (const ControlSpec& control : dialog.controls) {
    if (control.kind == ControlKind::kGroupBox) Create(control);
  }
  for (const ControlSpec& control : dialog.controls) {
    if (control.kind != ControlKind::kGroupBox) Create(control);
  }
  setFixedSize(ToPixels({0, 0, dialog.width, dialog.height}).size());
}

QRect DialogView::ToPixels(const DluRect& rect) const {
  return QRect(rect.x * baseX_ / 4, rect.y * baseY_ / 8, rect.width * baseX_ / 4,
               rect.height * baseY_ / 8);
}

QWidget* DialogView::Create(const ControlSpec& control) {
  const QString caption = ToQString(control.caption);
  const ControlId id = control.id;
  QRect area = ToPixels(control.rect);
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::kButton:
    case ControlKind::kDefaultButton: {
      auto* button = new QPushButton(caption, this);
      button->setAutoDefault(false);
      button->setDefault(control.kind == ControlKind::kDefaultButton);
      connect(button, &QPushButton::clicked, this, [this, id] {
        if (onClicked) onClicked(id);
      });
      widget = button;
      break;
    }
    case ControlKind::kRadioButton:
    case ControlKind::kCheckBox: {
      QAbstractButton* button = nullptr;
      if (control.kind == ControlKind::kRadioButton) {
        auto* radio = new QRadioButton(caption, this);
        // The logic checks and unchecks each button itself, as the dialog's handlers do.
        radio->setAutoExclusive(false);
        button = radio;
      } else {
        button = new QCheckBox(caption, this);
      }
      connect(button, &QAbstractButton::clicked, this, [this, id] {
        if (onClicked) onClicked(id);
      });
      widget = button;
      break;
    }
    case ControlKind::kGroupBox:
      widget = new QGroupBox(caption, this);
      break;
    case ControlKind::kLabel:
      widget = new QLabel(caption, this);
      break;
    case ControlKind::kEdit:
      widget = new QLineEdit(this);
      break;
    case ControlKind::kComboBox: {
      auto* combo = new QComboBox(this);
      for (const std::string& item : control.items) combo->addItem(ToQString(item));
      combo->setCurrentIndex(-1);
      connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, id] {
        if (onComboChanged) onComboChanged(id);
      });
      // The table's height includes the drop-down list.
      area.setHeight(std::max(combo->sizeHint().height(), ToPixels({0, 0, 0, 13}).height()));
      widget = combo;
      break;
    }
    case ControlKind::kProgressBar: {
      auto* bar = new QProgressBar(this);
      bar->setRange(0, 100);
      bar->setValue(0);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case ControlKind::kIcon: {
      auto* icon = new QLabel(this);
      icon->setPixmap(ToQPixmap(DrawProgramIcon(32)));
      area.setSize(QSize(32, 32));
      widget = icon;
      break;
    }
  }
  widget->setGeometry(area);
  widget->setEnabled(control.initiallyEnabled);
  if (id != kStaticId) {
    widget->setObjectName(QString::number(id));
    widgets_[id] = widget;
  }
  return widget;
}

QWidget* DialogView::Widget(ControlId id) const {
  auto found = widgets_.find(id);
  return found == widgets_.end() ? nullptr : found->second;
}

void DialogView::Enable(ControlId id, bool enabled) {
  if (QWidget* widget = Widget(id)) widget->setEnabled(enabled);
}

bool DialogView::IsEnabled(ControlId id) const {
  QWidget* widget = Widget(id);
  return widget != nullptr && widget->isEnabledTo(const_cast<DialogView*>(this));
}

void DialogView::SetChecked(ControlId id, bool checked) {
  if (auto* button = qobject_cast<QAbstractButton*>(Widget(id))) button->setChecked(checked);
}

bool DialogView::IsChecked(ControlId id) const {
  auto* button = qobject_cast<QAbstractButton*>(Widget(id));
  return button != nullptr && button->isChecked();
}

void DialogView::SetText(ControlId id, std::string_view text) {
  QWidget* widget = Widget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(ToQString(text));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(ToQString(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(ToQString(text));
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(ToQString(text));
  }
}

std::string DialogView::Text(ControlId id) const {
  QWidget* widget = Widget(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return ToStdString(edit->text());
  if (auto* label = qobject_cast<QLabel*>(widget)) return ToStdString(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return ToStdString(button->text());
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return ToStdString(group->title());
  return {};
}

void DialogView::SetComboIndex(ControlId id, int index) {
  if (auto* combo = qobject_cast<QComboBox*>(Widget(id))) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
  }
}

int DialogView::ComboIndex(ControlId id) const {
  auto* combo = qobject_cast<QComboBox*>(Widget(id));
  return combo != nullptr ? combo->currentIndex() : -1;
}

void DialogView::SetProgressRange(ControlId id, int low, int high) {
  QPointer<QProgressBar> bar = qobject_cast<QProgressBar*>(Widget(id));
  if (bar == nullptr) return;
  PostToGuiThread(bar, [bar, low, high] {
    if (bar) bar->setRange(low, high);
  });
}

void DialogView::SetProgressPos(ControlId id, int pos) {
  QPointer<QProgressBar> bar = qobject_cast<QProgressBar*>(Widget(id));
  if (bar == nullptr) return;
  PostToGuiThread(bar, [bar, pos] {
    if (bar) bar->setValue(pos);
  });
}

void DialogView::EndDialog(int result) { done(result); }

void DialogView::reject() {
  // The close box and Escape both land here.
  if (onClose && !onClose()) return;
  QDialog::reject();
}

}  // namespace plexo::qt
