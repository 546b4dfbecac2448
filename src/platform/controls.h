#pragma once
// What a dialog's logic can do with the controls of its dialog, by control id. The desktop
// implements it with widgets, the tests with plain memory; the logic cannot tell them apart.
#include <string>
#include <string_view>

#include "platform/dialog_template.h"

namespace plexo {

class Controls {
 public:
  virtual ~Controls() = default;

  virtual void Enable(ControlId id, bool enabled) = 0;
  virtual bool IsEnabled(ControlId id) const = 0;

  // Check boxes and radio buttons. Radio buttons are not exclusive by themselves: the logic
  // checks and unchecks each one, as the dialog's handlers do.
  virtual void SetChecked(ControlId id, bool checked) = 0;
  virtual bool IsChecked(ControlId id) const = 0;

  // Edit fields (and captions of other controls).
  virtual void SetText(ControlId id, std::string_view text) = 0;
  virtual std::string Text(ControlId id) const = 0;

  // Combo boxes: the selected entry, -1 for none. Selecting an index outside the entries clears
  // the selection.
  virtual void SetComboIndex(ControlId id, int index) = 0;
  virtual int ComboIndex(ControlId id) const = 0;

  // Progress bars. Unlike everything else here these two may be called from the thread that runs
  // a calculation.
  virtual void SetProgressRange(ControlId id, int low, int high) = 0;
  virtual void SetProgressPos(ControlId id, int pos) = 0;

  // Ends the dialog with this result (the window goes away when the current handler returns).
  virtual void EndDialog(int result) = 0;
};

}  // namespace plexo
