#include "TfmDump.h"

namespace tabrel {

void ShowCrashDialog(WizardState& /*state*/, QWidget* /*parent*/) {}

}  // namespace tabrel
