// The field properties dialog: its boxes, how it shows catalogue and custom fields, and what
// OK stores.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "engine/FieldSelection.h"
#include "gui/TfmFieldProp.h"
#include "palm/desktop/PmApp.h"
#include "palm/unified/PmAddrInfo.h"
#include "palm/unified/PmDateInfo.h"

namespace tabrel {

using namespace test;

namespace {

template <class Facade>
std::vector<FieldDescriptor> CatalogueOf(PmDataVersion version) {
    std::vector<FieldDescriptor> rows;
    for (const PmCatalogueRow& row : Facade::GetCatalogue(version)) {
        rows.push_back(row.ToDescriptor());
    }
    return rows;
}

std::vector<FieldDescriptor> Contacts() {
    return CatalogueOf<PmAddrInfo>(PM_DATA_CLASSIC);
}

// The row of the classic Contacts catalogue called name.
FieldDescriptor Row(const std::string& name) {
    for (const FieldDescriptor& row : Contacts()) {
        if (row.m_szName == name) {
            return row;
        }
    }
    ADD_FAILURE() << "no row " << name;
    return {};
}

struct Dialog {
    explicit Dialog(int app = AppContacts, std::vector<FieldDescriptor> rows = Contacts())
        : catalogue(std::move(rows)), dialog(app, catalogue, nullptr) {}

    template <class T>
    T* Get(const char* name) {
        return Find<T>(&dialog, name);
    }
    QLineEdit* Edit(const char* name) { return Get<QLineEdit>(name); }
    QRadioButton* Option(const char* name) { return Get<QRadioButton>(name); }
    QComboBox* Box(const char* name) { return Get<QComboBox>(name); }
    void Ok() { Get<QPushButton>("btnOK")->click(); }

    // Which of cbField, edtNumber, edtString may be edited.
    std::vector<bool> ValueBoxes() {
        return {Box("cbField")->isEnabled(), Edit("edtNumber")->isEnabled(),
                Edit("edtString")->isEnabled()};
    }

    QApplication& application = GuiApp();
    std::vector<FieldDescriptor> catalogue;
    TfmFieldProp dialog;
};

FieldDescriptor Custom(std::int32_t source, std::int32_t idOrStart, std::int32_t kind = 0,
                       const std::string& text = "") {
    FieldDescriptor field = NewCustomField();
    field.m_szName = "Mine";
    field.m_nValueSource = source;
    field.m_nSourceIdOrStart = idOrStart;
    field.m_nSourceKind = kind;
    field.m_szFixedText = text;
    return field;
}

}  // namespace

TEST(TfmFieldProp, OffersTheNineTypesAndTheCatalogueRows) {
    Dialog d;
    EXPECT_EQ(d.dialog.windowTitle().toStdString(), "Field Properties");
    auto* types = d.Box("cbType");
    ASSERT_EQ(types->count(), 9);
    const std::vector<std::string> names = {"None",   "Integer", "Float",   "DateTime",    "Alpha",
                                            "String", "Boolean", "BitFlag", "Repeat Event"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(types->itemText(i).toStdString(), names[static_cast<std::size_t>(i)]);
        EXPECT_EQ(types->itemData(i).toInt(), i);
    }
    auto* fields = d.Box("cbField");
    ASSERT_EQ(fields->count(), static_cast<int>(d.catalogue.size()));
    for (int i = 0; i < fields->count(); ++i) {
        EXPECT_EQ(fields->itemText(i).toStdString(),
                  d.catalogue[static_cast<std::size_t>(i)].m_szName);
        EXPECT_EQ(fields->itemData(i).toULongLong(), static_cast<qulonglong>(i));
    }
    EXPECT_EQ(d.Get<QGroupBox>("grpValue")->title().toStdString(), " Field Value ");
    EXPECT_EQ(d.Option("rbtnField")->text().toStdString(), "Contact record field");
    EXPECT_EQ(d.Option("rbtnNumber")->text().toStdString(), "Seq. number starting from");
    EXPECT_EQ(d.Option("rbtnString")->text().toStdString(), "Fixed String:");
    EXPECT_EQ(d.Get<QPushButton>("btnOK")->text().toStdString(), "OK");
    EXPECT_EQ(d.Get<QPushButton>("btnCancel")->text().toStdString(), "Cancel");
}

TEST(TfmFieldProp, DescribesEveryApplication) {
    const std::vector<std::pair<int, std::string>> cases = {
        {AppContacts, "Contacts ( Address Book ) Field Properties:"},
        {AppCalendar, "Calendar ( Date Book ) Field Properties:"},
        {AppTasks, "Task ( Todo List ) Field Properties:"},
        {AppMemos, "Memos ( Memo Pad ) Field Properties:"}};
    for (const auto& [app, text] : cases) {
        Dialog d(app, CatalogueOf<PmDateInfo>(PM_DATA_EX));
        d.dialog.SetField(NewCustomField());
        EXPECT_EQ(d.Get<QLabel>("lblDesc")->text().toStdString(), text);
        // The option's caption is the same for every application.
        EXPECT_EQ(d.Option("rbtnField")->text().toStdString(), "Contact record field");
    }
}

TEST(TfmFieldProp, ShowsACatalogueFieldGreyedAndOkChangesNothing) {
    Dialog d;
    const FieldDescriptor home = Row("Home Phone");
    d.dialog.SetField(home);
    EXPECT_EQ(d.Edit("edtName")->text().toStdString(), "Home Phone");
    EXPECT_EQ(d.Box("cbType")->currentText().toStdString(), "String");
    EXPECT_EQ(d.Edit("edtLength")->text().toStdString(), "32");
    // The row of the field itself, told from the other phone rows by its kind.
    EXPECT_EQ(d.Box("cbField")->currentText().toStdString(), "Home Phone");
    EXPECT_TRUE(d.Option("rbtnField")->isChecked());
    for (const char* name :
         {"edtName", "edtLength", "cbType", "rbtnField", "rbtnNumber", "rbtnString"}) {
        EXPECT_FALSE(d.Get<QWidget>(name)->isEnabled()) << name;
    }
    EXPECT_EQ(d.ValueBoxes(), (std::vector<bool>{true, false, false}));

    d.Edit("edtName")->setText("Other");
    d.Edit("edtLength")->setText("5");
    d.Box("cbField")->setCurrentIndex(0);
    d.Ok();
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(d.dialog.GetField(), home);
}

TEST(TfmFieldProp, ShowsACustomFieldsValueSource) {
    {
        Dialog d;
        d.dialog.SetField(Custom(ValueSourceRecordField, 0, 7));
        EXPECT_TRUE(d.Option("rbtnField")->isChecked());
        EXPECT_EQ(d.Box("cbField")->currentText().toStdString(), "Pager");
        EXPECT_EQ(d.ValueBoxes(), (std::vector<bool>{true, false, false}));
        for (const char* name :
             {"edtName", "edtLength", "cbType", "rbtnField", "rbtnNumber", "rbtnString"}) {
            EXPECT_TRUE(d.Get<QWidget>(name)->isEnabled()) << name;
        }
    }
    {
        Dialog d;
        d.dialog.SetField(Custom(ValueSourceSequence, -12));
        EXPECT_TRUE(d.Option("rbtnNumber")->isChecked());
        EXPECT_EQ(d.Edit("edtNumber")->text().toStdString(), "-12");
        EXPECT_EQ(d.ValueBoxes(), (std::vector<bool>{false, true, false}));
    }
    {
        Dialog d;
        d.dialog.SetField(Custom(ValueSourceFixedText, 0, 0, "Fixed"));
        EXPECT_TRUE(d.Option("rbtnString")->isChecked());
        EXPECT_EQ(d.Edit("edtString")->text().toStdString(), "Fixed");
        EXPECT_EQ(d.Edit("edtName")->text().toStdString(), "Mine");
        EXPECT_EQ(d.ValueBoxes(), (std::vector<bool>{false, false, true}));
    }
    {
        // A type code the box does not offer chooses nothing.
        Dialog d;
        FieldDescriptor odd = NewCustomField();
        odd.m_nType = 42;
        d.dialog.SetField(odd);
        EXPECT_EQ(d.Box("cbType")->currentIndex(), -1);
    }
}

TEST(TfmFieldProp, ChoosingAnOptionEnablesItsBox) {
    Dialog d;
    d.dialog.SetField(NewCustomField());
    d.Option("rbtnField")->click();
    EXPECT_EQ(d.ValueBoxes(), (std::vector<bool>{true, false, false}));
    d.Option("rbtnNumber")->click();
    EXPECT_EQ(d.ValueBoxes(), (std::vector<bool>{false, true, false}));
    d.Option("rbtnString")->click();
    EXPECT_EQ(d.ValueBoxes(), (std::vector<bool>{false, false, true}));
}

TEST(TfmFieldProp, OkStoresTheValuesOfACustomField) {
    Dialog d;
    d.dialog.SetField(NewCustomField());
    d.Edit("edtName")->setText("Where");
    d.Box("cbType")->setCurrentIndex(d.Box("cbType")->findText("Integer"));
    d.Edit("edtLength")->setText("12abc");
    d.Option("rbtnField")->click();
    d.Box("cbField")->setCurrentIndex(d.Box("cbField")->findText("Mobile Phone"));
    d.Ok();
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    const FieldDescriptor& field = d.dialog.GetField();
    EXPECT_TRUE(field.IsCustom());
    EXPECT_EQ(field.m_szName, "Where");
    EXPECT_EQ(field.m_nType, FieldTypeInteger);
    EXPECT_EQ(field.m_nLength, 12);
    EXPECT_EQ(field.m_nValueSource, ValueSourceRecordField);
    EXPECT_EQ(field.m_nSourceIdOrStart, 0);
    EXPECT_EQ(field.m_nSourceKind, 8);

    // A start that is no number stores 0, and shows 0 the next time.
    Dialog again;
    again.dialog.SetField(field);
    EXPECT_EQ(again.Box("cbField")->currentText().toStdString(), "Mobile Phone");
    again.Option("rbtnNumber")->click();
    again.Edit("edtNumber")->setText("abc");
    again.Edit("edtLength")->clear();
    again.Ok();
    EXPECT_EQ(again.dialog.GetField().m_nValueSource, ValueSourceSequence);
    EXPECT_EQ(again.dialog.GetField().m_nSourceIdOrStart, 0);
    EXPECT_EQ(again.dialog.GetField().m_nLength, 0);
    Dialog third;
    third.dialog.SetField(again.dialog.GetField());
    EXPECT_EQ(third.Edit("edtNumber")->text().toStdString(), "0");
}

TEST(TfmFieldProp, CancelKeepsTheField) {
    const FieldDescriptor start = Custom(ValueSourceFixedText, 0, 0, "Keep");
    Dialog d;
    d.dialog.SetField(start);
    d.Edit("edtName")->setText("Changed");
    d.Option("rbtnNumber")->click();
    d.Get<QPushButton>("btnCancel")->click();
    EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(d.dialog.GetField(), start);
}

}  // namespace tabrel
