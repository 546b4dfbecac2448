#pragma once
// The "Import waveforms" dialog as data: its control ids and control table.
#include "platform/dialog_template.h"

namespace plexo {

enum ImportControlId : ControlId {
  kIdcImportStart = 1200,
  kIdcImportSource = 1201,
  kIdcImportTarget = 1202,
  kIdcImportFiles = 1203,
  kIdcImportDtLabel = 1204,
  kIdcImportDt = 1205,
  kIdcImportReplace = 1206,
  kIdcImportProgress = 1207,
};

const DialogTemplate& ImportDialogTemplate();

}  // namespace plexo
