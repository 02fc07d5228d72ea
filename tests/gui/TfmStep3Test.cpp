// The field page: the lists filled from the job, the buttons and their states, custom
// fields through the properties dialog, and what leaving the page stores in the job.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "gui/TfmFieldProp.h"
#include "gui/TfmStep3.h"
#include "support/PmAddrInfoTestFiles.h"
#include "support/PmDateInfoTestFiles.h"

namespace tabrel {

using namespace test;

namespace {

// A field page over a job that loaded one Palm Desktop file of the application.
struct FieldPage {
    explicit FieldPage(int app = AppContacts) {
        GuiApp();
        state.m_pJob = std::make_unique<ConversionJob>(addrinfo::kPalm6);
        state.Job().m_nApp = app;
        state.m_settings.m_nApp = app;
        if (app == AppCalendar) {
            EXPECT_TRUE(state.Job().Date().LoadByFile(dateinfo::WriteClassic(dir)));
        } else {
            EXPECT_TRUE(state.Job().Addr().LoadByFile(addrinfo::WriteClassic(dir)));
        }
        page = std::make_unique<TfmStep3>(state, nullptr);
    }

    QTreeWidget* All() const { return Find<QTreeWidget>(page.get(), "lvAll"); }
    QTreeWidget* Sel() const { return Find<QTreeWidget>(page.get(), "lvSel"); }
    QPushButton* Button(const char* name) const { return Find<QPushButton>(page.get(), name); }
    void Click(const char* name) const { Button(name)->click(); }
    bool Enter() { return page->PageHook(true); }
    bool Leave() { return page->PageHook(false); }

    IsolatedDesktop desktop;
    TempDir dir;
    WizardState state;
    std::unique_ptr<TfmStep3> page;
};

std::vector<std::string> Captions(const QTreeWidget* view) {
    std::vector<std::string> captions;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        captions.push_back(view->topLevelItem(i)->text(0).toStdString());
    }
    return captions;
}

std::vector<bool> Ticks(const QTreeWidget* view) {
    std::vector<bool> ticks;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        ticks.push_back(view->topLevelItem(i)->checkState(0) == Qt::Checked);
    }
    return ticks;
}

// Ticks the entry of a list whose caption is caption, as a click on its check box does.
void Tick(QTreeWidget* view, const std::string& caption) {
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        if (view->topLevelItem(i)->text(0).toStdString() == caption) {
            view->topLevelItem(i)->setCheckState(0, Qt::Checked);
            return;
        }
    }
    ADD_FAILURE() << "no entry " << caption;
}

void MakeCurrent(QTreeWidget* view, int row) {
    view->setCurrentItem(view->topLevelItem(row));
}

std::vector<std::string> Names(const std::vector<FieldDescriptor>& fields) {
    std::vector<std::string> names;
    for (const FieldDescriptor& field : fields) {
        names.push_back(field.m_szName);
    }
    return names;
}

std::vector<std::string> ClassicContactNames() {
    std::vector<std::string> names;
    for (const addrinfo::CatalogueRow& row : addrinfo::ClassicGeneration().catalogue) {
        names.push_back(row.name);
    }
    return names;
}

// Runs action; the first field properties dialog it shows modally is handed to answer,
// which closes it (the dialog is cancelled when answer leaves it open). True when a dialog
// was shown.
bool DriveDialog(const std::function<void()>& action,
                 const std::function<void(TfmFieldProp&)>& answer) {
    bool seen = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<TfmFieldProp*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible() || seen) {
            return;
        }
        seen = true;
        answer(*dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    timer.start();
    action();
    timer.stop();
    return seen;
}

void PressOk(TfmFieldProp& dialog) {
    Find<QPushButton>(&dialog, "btnOK")->click();
}

void PressCancel(TfmFieldProp& dialog) {
    Find<QPushButton>(&dialog, "btnCancel")->click();
}

// Inserts a custom field through the dialog, named name, with a fixed text.
void InsertCustom(FieldPage& page, const std::string& name, const std::string& text) {
    EXPECT_TRUE(DriveDialog(
        [&] { page.Click("btnInsert"); },
        [&](TfmFieldProp& dialog) {
            Find<QLineEdit>(&dialog, "edtName")->setText(QString::fromStdString(name));
            Find<QRadioButton>(&dialog, "rbtnString")->click();
            Find<QLineEdit>(&dialog, "edtString")->setText(QString::fromStdString(text));
            PressOk(dialog);
        }));
}

struct ButtonStates {
    bool del, up, down, prop;
    bool operator==(const ButtonStates&) const = default;
};

ButtonStates States(const FieldPage& page) {
    return {page.Button("btnDelete")->isEnabled(), page.Button("btnUp")->isEnabled(),
            page.Button("btnDown")->isEnabled(), page.Button("btnProp")->isEnabled()};
}

}  // namespace

TEST(TfmStep3, EnteringListsTheCatalogueWithNothingSelected) {
    FieldPage page;
    ASSERT_TRUE(page.Enter());
    EXPECT_EQ(Captions(page.All()), ClassicContactNames());
    EXPECT_TRUE(Captions(page.Sel()).empty());
    EXPECT_EQ(page.All()->headerItem()->text(0).toStdString(), "Available Fields");
    EXPECT_EQ(page.Sel()->headerItem()->text(0).toStdString(), "Selected Fields");
    EXPECT_EQ(page.All()->columnWidth(0), 170);
    EXPECT_EQ(page.Sel()->columnWidth(0), 170);
    EXPECT_EQ(page.All()->currentItem(), page.All()->topLevelItem(0));
    EXPECT_EQ(States(page), (ButtonStates{false, false, false, false}));
    // The page fits the frame's middle band.
    EXPECT_LE(page.page->minimumSizeHint().width(), 690);
    EXPECT_LE(page.page->minimumSizeHint().height(), 320);

    const std::vector<std::pair<const char*, const char*>> captions = {
        {"btnSel", "> >"},           {"btnUnSel", "< <"},         {"btnInsert", "Insert"},
        {"btnDelete", "Delete"},     {"btnUp", "Move Up"},        {"btnDown", "Move Down"},
        {"btnProp", "Properties"},   {"btnAllSel", "Select All"}, {"btnAllClear", "Clear All"},
        {"btnSelSel", "Select All"}, {"btnSelClear", "Clear All"}};
    for (const auto& [name, caption] : captions) {
        EXPECT_EQ(page.Button(name)->text().toStdString(), caption) << name;
    }
}

TEST(TfmStep3, SelectAllKeepsTheCatalogueOrderInTheJob) {
    FieldPage page;
    page.Enter();
    page.Click("btnAllSel");
    EXPECT_EQ(Ticks(page.All()), std::vector<bool>(ClassicContactNames().size(), true));
    page.Click("btnAllClear");
    EXPECT_EQ(Ticks(page.All()), std::vector<bool>(ClassicContactNames().size(), false));
    page.Click("btnAllSel");
    page.Click("btnSel");

    EXPECT_TRUE(Captions(page.All()).empty());
    EXPECT_EQ(Captions(page.Sel()), ClassicContactNames());
    // Moved entries arrive unticked.
    EXPECT_EQ(Ticks(page.Sel()), std::vector<bool>(ClassicContactNames().size(), false));
    ASSERT_TRUE(page.Leave());
    EXPECT_EQ(page.state.Job().m_fields, page.state.Job().GetCatalogue());
}

TEST(TfmStep3, MovingTheThirdEntryUpTwiceMakesItTheFirstColumn) {
    FieldPage page;
    page.Enter();
    for (const char* name : {"Last Name", "First Name", "Title", "Company"}) {
        Tick(page.All(), name);
    }
    page.Click("btnSel");
    ASSERT_EQ(Captions(page.Sel()),
              (std::vector<std::string>{"Last Name", "First Name", "Title", "Company"}));

    page.Sel()->topLevelItem(2)->setCheckState(0, Qt::Checked);
    MakeCurrent(page.Sel(), 2);
    EXPECT_EQ(States(page), (ButtonStates{false, true, true, true}));
    page.Click("btnUp");
    EXPECT_EQ(States(page), (ButtonStates{false, true, true, true}));
    page.Click("btnUp");
    // The moved entry stays current and ticked; at the top, Move Up is disabled.
    EXPECT_EQ(Captions(page.Sel()),
              (std::vector<std::string>{"Title", "Last Name", "First Name", "Company"}));
    EXPECT_EQ(Ticks(page.Sel()), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(page.Sel()->currentItem(), page.Sel()->topLevelItem(0));
    EXPECT_EQ(States(page), (ButtonStates{false, false, true, true}));

    page.Click("btnDown");
    EXPECT_EQ(Captions(page.Sel()),
              (std::vector<std::string>{"Last Name", "Title", "First Name", "Company"}));
    page.Click("btnUp");
    MakeCurrent(page.Sel(), 3);
    EXPECT_EQ(States(page), (ButtonStates{false, true, false, true}));

    ASSERT_TRUE(page.Leave());
    EXPECT_EQ(Names(page.state.Job().m_fields),
              (std::vector<std::string>{"Title", "Last Name", "First Name", "Company"}));
}

TEST(TfmStep3, InsertWithOkAppendsTheCustomFieldAndCancelAddsNothing) {
    FieldPage page;
    page.Enter();
    Tick(page.All(), "Company");
    page.Click("btnSel");

    // Cancel: the Selected list is unchanged.
    std::string description;
    EXPECT_TRUE(
        DriveDialog([&] { page.Click("btnInsert"); },
                    [&](TfmFieldProp& dialog) {
                        description = Find<QLabel>(&dialog, "lblDesc")->text().toStdString();
                        EXPECT_EQ(Find<QLineEdit>(&dialog, "edtName")->text(), "Custom Field");
                        EXPECT_TRUE(Find<QRadioButton>(&dialog, "rbtnString")->isChecked());
                        EXPECT_EQ(Find<QLineEdit>(&dialog, "edtString")->text(), "Custom Text");
                        PressCancel(dialog);
                    }));
    EXPECT_EQ(description, "Contacts ( Address Book ) Field Properties:");
    EXPECT_EQ(Captions(page.Sel()), (std::vector<std::string>{"Company"}));

    // OK as the dialog opened: the new field as Insert makes it.
    EXPECT_TRUE(DriveDialog([&] { page.Click("btnInsert"); }, PressOk));
    InsertCustom(page, "Source", "Palm");
    EXPECT_EQ(Captions(page.Sel()),
              (std::vector<std::string>{"Company", "Custom Field", "Source"}));
    // Custom fields never show in the Available list.
    EXPECT_EQ(Captions(page.All()).size(), ClassicContactNames().size() - 1);

    ASSERT_TRUE(page.Leave());
    const std::vector<FieldDescriptor>& fields = page.state.Job().m_fields;
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[1], NewCustomField());
    EXPECT_TRUE(fields[2].IsCustom());
    EXPECT_EQ(fields[2].m_nValueSource, ValueSourceFixedText);
    EXPECT_EQ(fields[2].m_szFixedText, "Palm");

    // Coming back shows the custom fields again, in their places.
    page.Enter();
    EXPECT_EQ(Captions(page.Sel()),
              (std::vector<std::string>{"Company", "Custom Field", "Source"}));
}

TEST(TfmStep3, DeleteRemovesOnlyCustomFields) {
    FieldPage page;
    page.Enter();
    Tick(page.All(), "Title");
    page.Click("btnSel");
    InsertCustom(page, "Tag", "x");
    InsertCustom(page, "Other", "y");

    MakeCurrent(page.Sel(), 0);
    EXPECT_FALSE(page.Button("btnDelete")->isEnabled());
    page.Click("btnDelete");  // a disabled button: nothing happens
    EXPECT_EQ(Captions(page.Sel()), (std::vector<std::string>{"Title", "Tag", "Other"}));

    MakeCurrent(page.Sel(), 1);
    EXPECT_EQ(States(page), (ButtonStates{true, true, true, true}));
    page.Click("btnDelete");
    EXPECT_EQ(Captions(page.Sel()), (std::vector<std::string>{"Title", "Other"}));
    // Nothing is current after a delete.
    EXPECT_EQ(page.Sel()->currentItem(), nullptr);
    EXPECT_EQ(States(page), (ButtonStates{false, false, false, false}));
}

TEST(TfmStep3, UnselectReturnsCatalogueFieldsAndKeepsCustomFields) {
    FieldPage page;
    page.Enter();
    for (const char* name : {"Title", "Note", "Company"}) {
        Tick(page.All(), name);
    }
    page.Click("btnSel");
    InsertCustom(page, "Tag", "x");
    ASSERT_EQ(Captions(page.Sel()), (std::vector<std::string>{"Title", "Company", "Note", "Tag"}));

    page.Click("btnSelSel");
    page.Sel()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    page.Click("btnUnSel");
    EXPECT_EQ(Captions(page.Sel()), (std::vector<std::string>{"Company", "Tag"}));
    EXPECT_EQ(Ticks(page.Sel()), (std::vector<bool>{false, true}));
    // Back at the end of the Available list, in their Selected order, unticked.
    const std::vector<std::string> available = Captions(page.All());
    ASSERT_GE(available.size(), 2u);
    EXPECT_EQ(available[available.size() - 2], "Title");
    EXPECT_EQ(available.back(), "Note");
    EXPECT_EQ(Ticks(page.All()), std::vector<bool>(available.size(), false));

    page.Click("btnSelClear");
    EXPECT_EQ(Ticks(page.Sel()), (std::vector<bool>{false, false}));
}

TEST(TfmStep3, LeavingWithNothingSelectedIsRefused) {
    FieldPage page;
    page.Enter();
    bool left = true;
    const std::vector<ShownMessage> shown = AnswerMessages([&] { left = page.Leave(); });
    EXPECT_FALSE(left);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Tabrel Error");
    EXPECT_EQ(shown[0].text,
              "No record field is selected, you must select one or more fields for the "
              "conversion.");
    EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(page.state.Job().m_fields.empty());
}

TEST(TfmStep3, ContactPhoneKindsSurviveLeavingAndComingBack) {
    FieldPage page;
    page.Enter();
    Tick(page.All(), "Home Phone");
    page.Click("btnSel");
    ASSERT_TRUE(page.Leave());
    ASSERT_EQ(page.state.Job().m_fields.size(), 1u);
    EXPECT_EQ(page.state.Job().m_fields[0].m_nKind, 2);

    page.Enter();
    EXPECT_EQ(Captions(page.Sel()), (std::vector<std::string>{"Home Phone"}));
    const std::vector<std::string> available = Captions(page.All());
    EXPECT_EQ(std::count(available.begin(), available.end(), "Work Phone"), 1);
    EXPECT_EQ(std::count(available.begin(), available.end(), "Home Phone"), 0);
    EXPECT_EQ(available.size(), ClassicContactNames().size() - 1);
    EXPECT_EQ(page.Sel()->currentItem(), page.Sel()->topLevelItem(0));
    EXPECT_EQ(States(page), (ButtonStates{false, false, false, true}));
}

TEST(TfmStep3, PropertiesEditACustomFieldAndLeaveCatalogueFieldsAlone) {
    FieldPage page;
    page.Enter();
    Tick(page.All(), "Company");
    page.Click("btnSel");
    InsertCustom(page, "Tag", "x");

    // A catalogue field, by double-click: shown greyed, OK changes nothing.
    MakeCurrent(page.Sel(), 0);
    EXPECT_TRUE(
        DriveDialog([&] { emit page.Sel()->itemDoubleClicked(page.Sel()->topLevelItem(0), 0); },
                    [&](TfmFieldProp& dialog) {
                        EXPECT_FALSE(Find<QLineEdit>(&dialog, "edtName")->isEnabled());
                        Find<QLineEdit>(&dialog, "edtName")->setText("Changed");
                        PressOk(dialog);
                    }));
    EXPECT_EQ(Captions(page.Sel()), (std::vector<std::string>{"Company", "Tag"}));

    // A custom field, by the button: a sequence with an empty start stores 0.
    MakeCurrent(page.Sel(), 1);
    EXPECT_TRUE(DriveDialog([&] { page.Click("btnProp"); },
                            [&](TfmFieldProp& dialog) {
                                Find<QLineEdit>(&dialog, "edtName")->setText("Number");
                                Find<QRadioButton>(&dialog, "rbtnNumber")->click();
                                Find<QLineEdit>(&dialog, "edtNumber")->clear();
                                PressOk(dialog);
                            }));
    EXPECT_EQ(Captions(page.Sel()), (std::vector<std::string>{"Company", "Number"}));
    std::string shownStart;
    EXPECT_TRUE(DriveDialog([&] { page.Click("btnProp"); },
                            [&](TfmFieldProp& dialog) {
                                shownStart =
                                    Find<QLineEdit>(&dialog, "edtNumber")->text().toStdString();
                                Find<QLineEdit>(&dialog, "edtName")->setText("Dropped");
                                PressCancel(dialog);
                            }));
    EXPECT_EQ(shownStart, "0");
    EXPECT_EQ(Captions(page.Sel()), (std::vector<std::string>{"Company", "Number"}));

    ASSERT_TRUE(page.Leave());
    const std::vector<FieldDescriptor>& fields = page.state.Job().m_fields;
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0], page.state.Job().GetCatalogue()[3]);
    EXPECT_EQ(fields[1].m_szName, "Number");
    EXPECT_EQ(fields[1].m_nValueSource, ValueSourceSequence);
    EXPECT_EQ(fields[1].m_nSourceIdOrStart, 0);
}

TEST(TfmStep3, TheDialogOffersTheFieldsOfTheCurrentApplication) {
    FieldPage page(AppCalendar);
    page.Enter();
    std::vector<std::string> offered;
    std::string description;
    EXPECT_TRUE(DriveDialog([&] { page.Click("btnInsert"); },
                            [&](TfmFieldProp& dialog) {
                                auto* fields = Find<QComboBox>(&dialog, "cbField");
                                for (int i = 0; i < fields->count(); ++i) {
                                    offered.push_back(fields->itemText(i).toStdString());
                                }
                                description =
                                    Find<QLabel>(&dialog, "lblDesc")->text().toStdString();
                                PressCancel(dialog);
                            }));
    EXPECT_EQ(offered, (std::vector<std::string>{"Start Time", "End Time", "Description", "Note",
                                                 "Untimed", "Repeat Info"}));
    EXPECT_EQ(description, "Calendar ( Date Book ) Field Properties:");
}

TEST(TfmStep3, LeavingForCsvToPalmReadsTheCsvFileColumnByColumn) {
    FieldPage page;
    page.state.m_settings.m_nMode = ModeCsvToPalm;
    page.state.Job().m_szCsvPath = page.dir.File("in.csv");
    WriteTextFile(page.state.Job().m_szCsvPath,
                  "Lee,skipped,Ann\n"
                  "Ray\n"
                  "\n"
                  "Ng,z,Al,Extra\n");
    page.Enter();
    Tick(page.All(), "Last Name");
    page.Click("btnSel");
    InsertCustom(page, "Gap", "");
    Tick(page.All(), "First Name");
    page.Click("btnSel");
    ASSERT_TRUE(page.Leave());

    const std::vector<CommAddrRec>& imports = page.state.Job().AddrImports();
    ASSERT_EQ(imports.size(), 3u);
    EXPECT_EQ(imports[0].m_szLastName, "Lee");
    EXPECT_EQ(imports[0].m_szFirstName, "Ann");
    EXPECT_EQ(imports[1].m_szLastName, "Ray");
    EXPECT_EQ(imports[1].m_szFirstName, "");
    EXPECT_EQ(imports[2].m_szLastName, "Ng");
    EXPECT_EQ(imports[2].m_szFirstName, "Al");

    // Leaving again reads the file afresh rather than adding to the list.
    page.Enter();
    ASSERT_TRUE(page.Leave());
    EXPECT_EQ(page.state.Job().AddrImports().size(), 3u);
}

TEST(TfmStep3, LeavingForPalmToCsvReadsNoCsvFile) {
    FieldPage page;
    page.state.m_settings.m_nMode = ModePalmToCsv;
    page.state.Job().m_szCsvPath = page.dir.File("out.csv");
    WriteTextFile(page.state.Job().m_szCsvPath, "Lee\n");
    page.Enter();
    Tick(page.All(), "Last Name");
    page.Click("btnSel");
    ASSERT_TRUE(page.Leave());
    EXPECT_TRUE(page.state.Job().AddrImports().empty());
}

}  // namespace tabrel
