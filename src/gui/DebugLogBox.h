#pragma once
// DebugLogBox: the " Debug Information " group of the debug options and crash dialogs:
// the log folder and the log file, each read-only with a "..." button that opens it.

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

namespace tabrel {

class DebugLogBox final : public QGroupBox {
    Q_OBJECT
  public:
    // intro: a line of text above the fields (none when empty).
    DebugLogBox(const QString& intro, QWidget* parent);

  private slots:
    void OnFolder();
    void OnFile();

  private:
    QLineEdit* edtFolder = nullptr;
    QPushButton* btnFolder = nullptr;
    QLineEdit* edtFile = nullptr;
    QPushButton* btnFile = nullptr;
};

}  // namespace tabrel
