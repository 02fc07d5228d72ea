#include "TfmDebug.h"

namespace tabrel {

void ShowDebugOptions(WizardState& /*state*/, QWidget* /*parent*/) {}

}  // namespace tabrel
