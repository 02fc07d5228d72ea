#include "gui/DialogPlacement.h"

#include <QApplication>
#include <QLayout>
#include <QScreen>

namespace tabrel {

void FixAndCentre(QWidget& dialog, int width) {
    dialog.setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    const int height = dialog.layout() != nullptr ? dialog.layout()->heightForWidth(width) : -1;
    dialog.setFixedSize(width, height > 0 ? height : dialog.sizeHint().height());
    if (const QScreen* screen = QApplication::primaryScreen()) {
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
}

}  // namespace tabrel
