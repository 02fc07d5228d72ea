#pragma once
// Building blocks of the record detail dialogs (TfmAddrDetail, TfmDateDetail, TfmTodoDetail,
// TfmNoteDetail): boxes that show a record's values and take no input, each named as its
// control, and the frame the dialogs share (a Close button, a fixed size, centred on the
// desktop).

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QString>
#include <QVBoxLayout>
#include <string>

namespace tabrel {

// A one-line box named name, added to form with the label.
QLineEdit* AddEdit(QFormLayout* form, const char* name, const QString& label);
// A one-line box named name, on its own.
QLineEdit* MakeEdit(const char* name, QWidget* parent);
// A multi-line box named name.
QPlainTextEdit* MakeMemo(const char* name, QWidget* parent);
// A check box or radio button that shows a value; clicks do not change it.
QCheckBox* MakeCheck(const char* name, const QString& caption, QWidget* parent);
QRadioButton* MakeRadio(const char* name, const QString& caption, QWidget* parent);

// Record texts (ANSI) into the boxes; a memo shows CR LF line breaks as line breaks.
void ShowText(QLineEdit* box, const std::string& text);
void ShowText(QPlainTextEdit* box, const std::string& text);

// Ends a detail dialog's layout with its "&Close" button (btnClose), fixes the dialog's
// size and centres it on the desktop.
void FinishDetailDialog(QDialog* dialog, QVBoxLayout* layout);

}  // namespace tabrel
