#pragma once
// Fixed-size dialogs centred on the desktop.

#include <QWidget>

namespace tabrel {

// Gives the dialog its laid-out height at the given width, fixes that size and centres it
// on the primary screen.
void FixAndCentre(QWidget& dialog, int width);

}  // namespace tabrel
