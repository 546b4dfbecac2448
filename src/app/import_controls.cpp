#include "app/import_controls.h"

namespace plexo {

namespace {

DialogTemplate BuildImportDialog() {
  using K = ControlKind;
  DialogTemplate dialog{"Import waveforms", 300, 132, {}};
  auto add = [&dialog](ControlId id, K kind, std::string caption, DluRect rect,
                       bool enabled = true) {
    dialog.controls.push_back(ControlSpec{id, kind, std::move(caption), 0, enabled, rect, {}});
  };
  add(kStaticId, K::kLabel, "From:", {7, 9, 30, 8});
  add(kIdcImportSource, K::kLabel, "", {40, 9, 253, 8});
  add(kStaticId, K::kLabel, "To:", {7, 21, 30, 8});
  add(kIdcImportTarget, K::kLabel, "", {40, 21, 253, 8});
  add(kIdcImportFiles, K::kLabel, "", {7, 35, 286, 8});
  // Asked only when headerless files are present; the logic enables it then.
  add(kIdcImportDtLabel, K::kLabel, "Sample interval of headerless files (s):", {7, 52, 150, 8},
      false);
  add(kIdcImportDt, K::kEdit, "", {160, 50, 80, 13}, false);
  add(kIdcImportReplace, K::kCheckBox, "Replace files that exist in the target folder",
      {7, 70, 220, 10});
  add(kIdcImportProgress, K::kProgressBar, "", {7, 88, 286, 10});
  add(kIdcImportStart, K::kDefaultButton, "Import", {186, 108, 50, 15});
  add(kIdCancel, K::kButton, "Close", {243, 108, 50, 15});
  return dialog;
}

}  // namespace

const DialogTemplate& ImportDialogTemplate() {
  static const DialogTemplate dialog = BuildImportDialog();
  return dialog;
}

}  // namespace plexo
