#pragma once
// A dialog described as data: the controls with their ids, kinds, captions, positions and initial
// states. The dialog's logic refers to controls by id only; a view (the Qt desktop, or the
// in-memory controls of the tests) builds its widgets from the same table.
#include <string>
#include <vector>

namespace plexo {

using ControlId = int;

// Static texts that the logic never addresses share this id.
inline constexpr ControlId kStaticId = -1;
// The conventional ids of the OK and Cancel buttons.
inline constexpr ControlId kIdOk = 1;
inline constexpr ControlId kIdCancel = 2;

enum class ControlKind {
  kButton,
  kDefaultButton,  // pressed by the Enter key
  kGroupBox,
  kLabel,
  kEdit,
  kComboBox,
  kRadioButton,
  kCheckBox,
  kProgressBar,
  kIcon,  // the program icon
};

// A rectangle in dialog units: a quarter of the dialog font's average character width across,
// an eighth of its height down.
struct DluRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct ControlSpec {
  ControlId id = kStaticId;
  ControlKind kind = ControlKind::kLabel;
  std::string caption;
  // The group box the control sits in, or 0.
  ControlId group = 0;
  bool initiallyEnabled = true;
  DluRect rect;
  std::vector<std::string> items;  // combo-box entries, in order
};

struct DialogTemplate {
  std::string title;
  int width = 0;  // dialog units
  int height = 0;
  std::vector<ControlSpec> controls;

  // The control with this id, or null.
  const ControlSpec* Find(ControlId id) const {
    for (const ControlSpec& control : controls) {
      if (control.id == id && id != kStaticId) return &control;
    }
    return nullptr;
  }
};

}  // namespace plexo
