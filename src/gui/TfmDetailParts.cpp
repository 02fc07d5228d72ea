#include "gui/TfmDetailParts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>

#include "gui/GuiMessages.h"

namespace tabrel {

namespace {

template <class Button>
Button* MakeShowingButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new Button(caption, parent);
    button->setObjectName(name);
    button->setAttribute(Qt::WA_TransparentForMouseEvents);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

QLineEdit* AddEdit(QFormLayout* form, const char* name, const QString& label) {
    QLineEdit* box = MakeEdit(name, form->parentWidget());
    form->addRow(label, box);
    return box;
}

QLineEdit* MakeEdit(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

QPlainTextEdit* MakeMemo(const char* name, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

QCheckBox* MakeCheck(const char* name, const QString& caption, QWidget* parent) {
    return MakeShowingButton<QCheckBox>(name, caption, parent);
}

QRadioButton* MakeRadio(const char* name, const QString& caption, QWidget* parent) {
    return MakeShowingButton<QRadioButton>(name, caption, parent);
}

void ShowText(QLineEdit* box, const std::string& text) {
    box->setText(FromAnsi(text));
    box->setCursorPosition(0);
}

void ShowText(QPlainTextEdit* box, const std::string& text) {
    QString shown = FromAnsi(text);
    shown.replace("\r\n", "\n");
    shown.replace('\r', '\n');
    box->setPlainText(shown);
}

void FinishDetailDialog(QDialog* dialog, QVBoxLayout* layout) {
    auto* close = new QPushButton("&Close", dialog);
    close->setObjectName("btnClose");
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    dialog->adjustSize();
    if (const QScreen* screen = QApplication::primaryScreen()) {
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
    }
}

}  // namespace tabrel
