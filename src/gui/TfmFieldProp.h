#pragma once
// TfmFieldProp: the field properties dialog. It shows one field's name, type, length and
// value source; for a custom field they are editable and OK stores them into the field, a
// catalogue field is only shown.

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <span>
#include <vector>

#include "engine/FieldSelection.h"
#include "palm/unified/FieldDescriptor.h"

namespace tabrel {

class TfmFieldProp final : public QDialog {
    Q_OBJECT
  public:
    // A dialog for the application app (AppContacts ... AppMemos) whose record-field box
    // offers the rows of catalogue, in order.
    TfmFieldProp(int app, std::span<const FieldDescriptor> catalogue, QWidget* parent);

    // Shows field; the dialog keeps its own copy, which OK updates when it is a custom field.
    void SetField(const FieldDescriptor& field);
    // The field as shown, with the dialog's values once it closed with OK (custom fields).
    const FieldDescriptor& GetField() const { return m_field; }
    // What the controls hold now.
    FieldProperties GetProperties() const;

    // The description line of an application.
    static QString DescriptionOf(int app);

  private slots:
    void OnValueOption();
    void OnOk();

  private:
    void BuildControls();

    int m_nApp;
    std::vector<FieldDescriptor> m_catalogue;
    FieldDescriptor m_field;

    QLabel* lblDesc = nullptr;
    QLineEdit* edtName = nullptr;
    QComboBox* cbType = nullptr;
    QLineEdit* edtLength = nullptr;
    QGroupBox* grpValue = nullptr;
    QRadioButton* rbtnField = nullptr;
    QComboBox* cbField = nullptr;
    QRadioButton* rbtnNumber = nullptr;
    QLineEdit* edtNumber = nullptr;
    QRadioButton* rbtnString = nullptr;
    QLineEdit* edtString = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

}  // namespace tabrel
