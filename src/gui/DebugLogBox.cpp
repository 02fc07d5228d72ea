#include "gui/DebugLogBox.h"

#include <QGridLayout>
#include <QLabel>

#include "engine/DebugOptions.h"
#include "gui/GuiMessages.h"

namespace tabrel {

DebugLogBox::DebugLogBox(const QString& intro, QWidget* parent)
    : QGroupBox(" Debug Information ", parent) {
    auto* layout = new QGridLayout(this);
    int row = 0;
    if (!intro.isEmpty()) {
        auto* label = new QLabel(intro, this);
        label->setWordWrap(true);
        layout->addWidget(label, row++, 0, 1, 3);
    }
    edtFolder = new QLineEdit(this);
    edtFolder->setObjectName("edtFolder");
    edtFolder->setReadOnly(true);
    btnFolder = new QPushButton("...", this);
    btnFolder->setObjectName("btnFolder");
    edtFile = new QLineEdit(this);
    edtFile->setObjectName("edtFile");
    edtFile->setReadOnly(true);
    btnFile = new QPushButton("...", this);
    btnFile->setObjectName("btnFile");
    for (QPushButton* button : {btnFolder, btnFile}) {
        button->setFixedWidth(30);
    }

    auto* folderLabel = new QLabel("Log Folder:", this);
    folderLabel->setBuddy(edtFolder);
    auto* fileLabel = new QLabel("Log File:", this);
    fileLabel->setBuddy(edtFile);
    layout->addWidget(folderLabel, row, 0);
    layout->addWidget(edtFolder, row, 1);
    layout->addWidget(btnFolder, row++, 2);
    layout->addWidget(fileLabel, row, 0);
    layout->addWidget(edtFile, row, 1);
    layout->addWidget(btnFile, row, 2);

    // Without a data folder there is nothing to show or open.
    if (const auto location = FindDebugLogLocation()) {
        edtFolder->setText(QString::fromStdString(location->folder));
        edtFile->setText(QString::fromStdString(location->file));
        // Show the start of long paths.
        edtFolder->setCursorPosition(0);
        edtFile->setCursorPosition(0);
    } else {
        btnFolder->setEnabled(false);
        btnFile->setEnabled(false);
    }
    connect(btnFolder, &QPushButton::clicked, this, &DebugLogBox::OnFolder);
    connect(btnFile, &QPushButton::clicked, this, &DebugLogBox::OnFile);
}

void DebugLogBox::OnFolder() {
    OpenWithDesktop(edtFolder->text());
}

void DebugLogBox::OnFile() {
    if (const auto message = CheckDebugLogFile(edtFile->text().toStdString())) {
        ShowMessageBox(this, QString::fromStdString(message->caption),
                       QString::fromStdString(message->text), QMessageBox::Information);
        return;
    }
    OpenWithDesktop(edtFile->text());
}

}  // namespace tabrel
