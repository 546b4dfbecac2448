#pragma once
// A dialog built from a control table: one widget per control at the table's position, each
// click routed to the dialog's logic by control id. It is the logic's Controls.
#include <QDialog>
#include <functional>
#include <map>

#include "platform/controls.h"

class QWidget;

namespace plexo::qt {

class DialogView : public QDialog, public Controls {
  Q_OBJECT

 public:
  explicit DialogView(const DialogTemplate& dialog, QWidget* parent = nullptr);

  // Where the widgets' events go.
  std::function<void(ControlId)> onClicked;       // buttons, radio buttons, check boxes
  std::function<void(ControlId)> onComboChanged;  // the user chose another entry
  // The window is asked to close (its close box or Escape); false keeps it open.
  std::function<bool()> onClose;

  // The widget of a control, or null.
  QWidget* Widget(ControlId id) const;

  void Enable(ControlId id, bool enabled) override;
  bool IsEnabled(ControlId id) const override;
  void SetChecked(ControlId id, bool checked) override;
  bool IsChecked(ControlId id) const override;
  void SetText(ControlId id, std::string_view text) override;
  std::string Text(ControlId id) const override;
  void SetComboIndex(ControlId id, int index) override;
  int ComboIndex(ControlId id) const override;
  void SetProgressRange(ControlId id, int low, int high) override;
  void SetProgressPos(ControlId id, int pos) override;
  void EndDialog(int result) override;

 public slots:
  void reject() override;

 private:
  QWidget* Create(const ControlSpec& control);
  QRect ToPixels(const DluRect& rect) const;

  int baseX_ = 6;  // dialog base units of the font, in pixels
  int baseY_ = 13;
  std::map<ControlId, QWidget*> widgets_;
};

}  // namespace plexo::qt
