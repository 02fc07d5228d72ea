#include "gui/TfmFieldProp.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScreen>
#include <QVBoxLayout>
#include <cstddef>
#include <initializer_list>

#include "gui/GuiMessages.h"
#include "palm/desktop/PmApp.h"

namespace tabrel {

namespace {

template <class T>
T* Named(T* control, const char* name) {
    control->setObjectName(name);
    return control;
}

// Ticks or unticks one of a group of exclusive options; unticking needs the exclusivity
// lifted for a moment, or the ticked option would stay ticked.
void SetOption(QRadioButton* option, bool ticked) {
    if (ticked || !option->isChecked()) {
        option->setChecked(ticked);
        return;
    }
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

}  // namespace

TfmFieldProp::TfmFieldProp(int app, std::span<const FieldDescriptor> catalogue, QWidget* parent)
    : QDialog(parent), m_nApp(app), m_catalogue(catalogue.begin(), catalogue.end()) {
    setObjectName("TfmFieldProp");
    setWindowTitle("Field Properties");
    setModal(true);
    BuildControls();

    for (std::size_t code = 0; code < kFieldTypeNames.size(); ++code) {
        cbType->addItem(QString::fromUtf8(kFieldTypeNames[code].data(),
                                          static_cast<qsizetype>(kFieldTypeNames[code].size())),
                        static_cast<int>(code));
    }
    for (std::size_t row = 0; row < m_catalogue.size(); ++row) {
        cbField->addItem(FromAnsi(m_catalogue[row].m_szName), static_cast<qulonglong>(row));
    }
    cbType->setCurrentIndex(-1);
    cbField->setCurrentIndex(-1);
    lblDesc->setText(DescriptionOf(m_nApp));

    // A fixed border: the dialog keeps the size its controls need, centred on the desktop.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TfmFieldProp::BuildControls() {
    auto* layout = new QVBoxLayout(this);

    lblDesc = Named(new QLabel(this), "lblDesc");
    layout->addWidget(lblDesc);

    auto* form = new QGridLayout;
    edtName = Named(new QLineEdit(this), "edtName");
    edtName->setMaxLength(static_cast<int>(FieldDescriptor::kNameMax));
    auto* lblName = Named(new QLabel("Field Name:", this), "lblName");
    lblName->setBuddy(edtName);
    form->addWidget(lblName, 0, 0);
    form->addWidget(edtName, 0, 1, 1, 2);

    cbType = Named(new QComboBox(this), "cbType");
    auto* lblType = Named(new QLabel("Field Type:", this), "lblType");
    lblType->setBuddy(cbType);
    form->addWidget(lblType, 1, 0);
    form->addWidget(cbType, 1, 1, 1, 2);

    edtLength = Named(new QLineEdit(this), "edtLength");
    auto* lblLength = Named(new QLabel("Field Length:", this), "lblLength");
    lblLength->setBuddy(edtLength);
    form->addWidget(lblLength, 2, 0);
    form->addWidget(edtLength, 2, 1);
    form->addWidget(Named(new QLabel("characters long.", this), "lblLengthUnit"), 2, 2);
    layout->addLayout(form);

    grpValue = Named(new QGroupBox(" Field Value ", this), "grpValue");
    auto* value = new QGridLayout(grpValue);
    rbtnField = Named(new QRadioButton("Contact record field", grpValue), "rbtnField");
    cbField = Named(new QComboBox(grpValue), "cbField");
    rbtnNumber = Named(new QRadioButton("Seq. number starting from", grpValue), "rbtnNumber");
    edtNumber = Named(new QLineEdit(grpValue), "edtNumber");
    rbtnString = Named(new QRadioButton("Fixed String:", grpValue), "rbtnString");
    edtString = Named(new QLineEdit(grpValue), "edtString");
    edtString->setMaxLength(static_cast<int>(FieldDescriptor::kFixedTextMax));
    value->addWidget(rbtnField, 0, 0);
    value->addWidget(cbField, 0, 1);
    value->addWidget(rbtnNumber, 1, 0);
    value->addWidget(edtNumber, 1, 1);
    value->addWidget(rbtnString, 2, 0);
    value->addWidget(edtString, 2, 1);
    layout->addWidget(grpValue);

    auto* buttons = new QHBoxLayout;
    btnOK = Named(new QPushButton("OK", this), "btnOK");
    btnCancel = Named(new QPushButton("Cancel", this), "btnCancel");
    btnOK->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    for (QRadioButton* option : {rbtnField, rbtnNumber, rbtnString}) {
        connect(option, &QRadioButton::toggled, this, &TfmFieldProp::OnValueOption);
    }
    connect(btnOK, &QPushButton::clicked, this, &TfmFieldProp::OnOk);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfmFieldProp::DescriptionOf(int app) {
    const std::string_view caption = GetAppInfo(app).fieldPropertiesCaption;
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

void TfmFieldProp::SetField(const FieldDescriptor& field) {
    m_field = field;
    const FieldProperties shown = GetFieldProperties(m_field, m_catalogue);

    lblDesc->setText(DescriptionOf(m_nApp));
    edtName->setText(FromAnsi(shown.m_szName));

    // Only a custom field's properties may be edited.
    for (QWidget* control : std::initializer_list<QWidget*>{edtName, rbtnField, rbtnNumber,
                                                            rbtnString, cbType, edtLength}) {
        control->setEnabled(shown.m_bEditable);
    }
    SetOption(rbtnField, shown.m_nValueSource == ValueSourceRecordField);
    SetOption(rbtnNumber, shown.m_nValueSource == ValueSourceSequence);
    SetOption(rbtnString, shown.m_nValueSource == ValueSourceFixedText);
    cbField->setCurrentIndex(
        shown.m_nSourceRow ? cbField->findData(static_cast<qulonglong>(*shown.m_nSourceRow)) : -1);
    edtNumber->setText(QString::fromStdString(shown.m_szNumber));
    edtString->setText(FromAnsi(shown.m_szString));
    OnValueOption();

    cbType->setCurrentIndex(shown.m_nType ? cbType->findData(*shown.m_nType) : -1);
    edtLength->setText(QString::fromStdString(shown.m_szLength));
}

FieldProperties TfmFieldProp::GetProperties() const {
    FieldProperties properties;
    properties.m_bEditable = m_field.IsCustom();
    properties.m_szName = ToAnsi(edtName->text());
    if (cbType->currentIndex() >= 0) {
        properties.m_nType = cbType->currentData().toInt();
    }
    properties.m_szLength = edtLength->text().toStdString();
    if (rbtnField->isChecked()) {
        properties.m_nValueSource = ValueSourceRecordField;
    } else if (rbtnNumber->isChecked()) {
        properties.m_nValueSource = ValueSourceSequence;
    } else if (rbtnString->isChecked()) {
        properties.m_nValueSource = ValueSourceFixedText;
    } else {
        properties.m_nValueSource = ValueSourceNone;
    }
    if (cbField->currentIndex() >= 0) {
        properties.m_nSourceRow = static_cast<std::size_t>(cbField->currentData().toULongLong());
    }
    properties.m_szNumber = edtNumber->text().toStdString();
    properties.m_szString = ToAnsi(edtString->text());
    return properties;
}

// The box of the ticked value option is the one that can be edited.
void TfmFieldProp::OnValueOption() {
    cbField->setEnabled(rbtnField->isChecked());
    edtNumber->setEnabled(rbtnNumber->isChecked());
    edtString->setEnabled(rbtnString->isChecked());
}

void TfmFieldProp::OnOk() {
    if (m_field.IsCustom()) {
        SetFieldProperties(m_field, GetProperties(), m_catalogue);
    }
    accept();
}

}  // namespace tabrel
