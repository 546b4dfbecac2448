#pragma once
// Controls kept in memory, built from a dialog template: lets tests drive a dialog's logic
// without a display. Addressing a control the template does not have is a fault in the logic
// and throws.
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/controls.h"

namespace plexo {

class MemoryControls : public Controls {
 public:
  struct State {
    ControlKind kind = ControlKind::kLabel;
    bool enabled = true;
    bool checked = false;
    std::string text;
    int itemCount = 0;
    int comboIndex = -1;
    int progressLow = 0;
    int progressHigh = 100;
    int progressPos = 0;
    int progressUpdates = 0;  // how often the position was set
  };

  explicit MemoryControls(const DialogTemplate& dialog) {
    for (const ControlSpec& control : dialog.controls) {
      if (control.id == kStaticId) continue;
      State& state = states_[control.id];
      state.kind = control.kind;
      state.enabled = control.initiallyEnabled;
      state.text = control.caption;
      state.itemCount = static_cast<int>(control.items.size());
      if (control.kind == ControlKind::kEdit) state.text.clear();
    }
  }

  void Enable(ControlId id, bool enabled) override { At(id).enabled = enabled; }
  bool IsEnabled(ControlId id) const override { return At(id).enabled; }
  void SetChecked(ControlId id, bool checked) override { At(id).checked = checked; }
  bool IsChecked(ControlId id) const override { return At(id).checked; }
  void SetText(ControlId id, std::string_view text) override { At(id).text = text; }
  std::string Text(ControlId id) const override { return At(id).text; }
  void SetComboIndex(ControlId id, int index) override {
    State& state = At(id);
    state.comboIndex = index >= 0 && index < state.itemCount ? index : -1;
  }
  int ComboIndex(ControlId id) const override { return At(id).comboIndex; }
  void SetProgressRange(ControlId id, int low, int high) override {
    At(id).progressLow = low;
    At(id).progressHigh = high;
  }
  void SetProgressPos(ControlId id, int pos) override {
    At(id).progressPos = pos;
    ++At(id).progressUpdates;
  }
  void EndDialog(int result) override { endResult = result; }

  const State& StateOf(ControlId id) const { return At(id); }
  bool Has(ControlId id) const { return states_.count(id) != 0; }
  const std::map<ControlId, State>& States() const { return states_; }

  // Set by EndDialog.
  std::optional<int> endResult;

 private:
  State& At(ControlId id) {
    auto found = states_.find(id);
    if (found == states_.end()) throw std::logic_error("no control " + std::to_string(id));
    return found->second;
  }
  const State& At(ControlId id) const { return const_cast<MemoryControls*>(this)->At(id); }

  std::map<ControlId, State> states_;
};

}  // namespace plexo
