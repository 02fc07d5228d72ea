#include "app/TabrelApplication.h"

#include <QMessageBox>
#include <exception>

#include "misc/CxDebugUtil.h"

namespace tabrel {

bool TabrelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        CX_LOG(kLogFailure, "Unhandled exception in an event handler: %s", error.what());
        ShowExceptionMessage(error.what());
    } catch (...) {
        CX_LOG(kLogFailure, "Unhandled exception in an event handler.");
        ShowExceptionMessage("Unknown exception.");
    }
    return false;
}

void ShowExceptionMessage(const char* text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), QString::fromUtf8(text),
                    QMessageBox::Ok);
    box.setObjectName("msgBox");
    box.exec();
}

}  // namespace tabrel
