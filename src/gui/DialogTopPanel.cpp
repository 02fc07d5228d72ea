#include "gui/DialogTopPanel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QStyle>

#include "engine/DebugOptions.h"
#include "gui/GuiMessages.h"

namespace tabrel {

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

QWidget* MakeDialogTopPanel(QWidget* dialog) {
    auto* panel = new QWidget(dialog);
    panel->setObjectName("pTop");
    auto* layout = new QHBoxLayout(panel);

    auto* imgIcon = new ClickLabel(panel);
    imgIcon->setObjectName("imgIcon");
    imgIcon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(48));
    auto* imgText = new ClickLabel(panel);
    imgText->setObjectName("imgText");
    imgText->setText("<b>Tabrel Converter</b><br>Palm Desktop data to CSV and back");
    layout->addWidget(imgIcon);
    layout->addWidget(imgText, 1);

    for (ClickLabel* image : {imgIcon, imgText}) {
        QObject::connect(image, &ClickLabel::clicked, panel,
                         [] { OpenWithDesktop(QString::fromStdString(HomePageTarget())); });
    }
    return panel;
}

}  // namespace tabrel
