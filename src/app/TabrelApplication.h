#pragma once
// TabrelApplication: the wizard's application object. An exception that escapes an event
// handler (outside a page change, which the main window handles itself) is logged and shown
// with the standard exception message instead of ending the program.

#include <QApplication>

namespace tabrel {

class TabrelApplication final : public QApplication {
  public:
    TabrelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;
};

// The standard exception message: a modal error box with the application's title.
void ShowExceptionMessage(const char* text);

}  // namespace tabrel
