#pragma once
// TfmDebug: the debug options dialog: the debug log on or off, its level, where it is.

#include <QWidget>

#include "WizardState.h"

namespace tabrel {

// Creates the dialog, shows it modally and destroys it.
void ShowDebugOptions(WizardState& state, QWidget* parent);

}  // namespace tabrel
