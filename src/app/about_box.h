#pragma once
// The About box: program icon, version, credits and the OK button.
#include "platform/dialog_template.h"
#include "plexo_version.h"

namespace plexo {

inline constexpr const char* kProgramTitle = "PLEXO++";
inline constexpr const char* kVersionLine = "PLEXO++ Version " PLEXO_VERSION;

const DialogTemplate& AboutDialogTemplate();

}  // namespace plexo
