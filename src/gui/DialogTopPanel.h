#pragma once
// The top panel of the debug options and crash dialogs: the program icon and title images
// (imgIcon, imgText), each opening the product's home page when clicked.

#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

namespace tabrel {

// A label that reports a click of the left mouse button.
class ClickLabel final : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent) : QLabel(parent) { setCursor(Qt::PointingHandCursor); }

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Builds the panel as a child of dialog, for the top of its layout.
QWidget* MakeDialogTopPanel(QWidget* dialog);

}  // namespace tabrel
