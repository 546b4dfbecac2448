#include "app/about_box.h"

namespace plexo {

namespace {

DialogTemplate BuildAboutDialog() {
  using K = ControlKind;
  DialogTemplate dialog{"About PLEXO", 349, 129, {}};
  auto add = [&dialog](ControlId id, K kind, std::string caption, DluRect rect) {
    dialog.controls.push_back(ControlSpec{id, kind, std::move(caption), 0, true, rect, {}});
  };
  add(kStaticId, K::kIcon, "", {11, 14, 21, 20});
  add(kStaticId, K::kLabel, kVersionLine, {44, 12, 200, 8});
  add(kStaticId, K::kLabel, "Special thanks to:", {44, 32, 200, 8});
  add(kStaticId, K::kLabel,
      "- the authors of the smoothed pseudo Wigner-Ville distribution code it builds on,",
      {56, 44, 285, 8});
  add(kStaticId, K::kLabel,
      "- the authors of the radix-2 FFT routine at the heart of every spectrum.", {56, 56, 285, 8});
  add(kStaticId, K::kLabel, "PLEXO++ is an ongoing project.", {44, 80, 200, 8});
  add(kIdOk, K::kDefaultButton, "OK", {292, 106, 50, 14});
  return dialog;
}

}  // namespace

const DialogTemplate& AboutDialogTemplate() {
  static const DialogTemplate dialog = BuildAboutDialog();
  return dialog;
}

}  // namespace plexo
