#pragma once
// TfmDump: the crash dialog, shown when an exception escapes a page change or the start-up.

#include <QWidget>

#include "WizardState.h"

namespace tabrel {

// Creates the dialog, shows it modally and destroys it.
void ShowCrashDialog(WizardState& state, QWidget* parent);

}  // namespace tabrel
