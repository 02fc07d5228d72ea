#include "gui/GuiMessages.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "misc/CxCodePage.h"

namespace tabrel {

void ShowMessageBox(QWidget* owner, const QString& caption, const QString& text,
                    QMessageBox::Icon icon) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    box.setObjectName("msgBox");
    box.exec();
}

void ShowError(QWidget* owner, const UserMessage& message) {
    ShowMessageBox(owner, QString::fromStdString(message.caption),
                   QString::fromStdString(message.text));
}

QString FromAnsi(const std::string& text) {
    return QString::fromStdString(AnsiToUtf8(text));
}

std::string ToAnsi(const QString& text) {
    return Utf8ToAnsi(text.toStdString());
}

bool OpenWithDesktop(const QString& target) {
    const QUrl url = target.contains("://") || target.startsWith("mailto:")
                         ? QUrl(target)
                         : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

}  // namespace tabrel
