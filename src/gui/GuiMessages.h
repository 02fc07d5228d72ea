#pragma once
// Message boxes and shell "open" for the wizard's pages and dialogs.

#include <QMessageBox>
#include <QString>
#include <string>

#include "misc/UserMessage.h"

namespace tabrel {

// A modal message box owned by owner (none: no owner) with the caption, the text and the
// icon; its object name is "msgBox".
void ShowMessageBox(QWidget* owner, const QString& caption, const QString& text,
                    QMessageBox::Icon icon = QMessageBox::Critical);
// The same for an engine message (UTF-8 text, as file names are), with the error icon.
void ShowError(QWidget* owner, const UserMessage& message);

// Texts of the Palm Desktop data and the CSV files cross the widgets in the ANSI code page's
// bytes; Qt holds Unicode.
QString FromAnsi(const std::string& text);
std::string ToAnsi(const QString& text);

// Opens a file, folder or address with the desktop's handler; false when none could start.
bool OpenWithDesktop(const QString& target);

}  // namespace tabrel
