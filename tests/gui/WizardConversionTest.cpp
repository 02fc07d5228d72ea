// Whole conversions through the real wizard, for every application: the demo user's data to
// CSV with every field and a title row, then, after Convert More, that CSV with one record
// changed back into the Palm Desktop data, and the choices the window keeps after a restart.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>
#include <cstring>
#include <filesystem>

#include "WizardRun.h"
#include "palm/desktop/PalmDesktop.h"
#include "palm/unified/PmAddrInfo.h"
#include "palm/unified/PmDateInfo.h"
#include "palm/unified/PmMemoInfo.h"
#include "palm/unified/PmTodoInfo.h"
#include "support/JetWriter.h"

namespace tabrel {

using namespace test;

namespace {

// The steps of the page flow, and the position of the finish page among the window's forms.
enum Page { kModePage, kSourcePage, kFieldPage, kRecordPage, kProcPage };
constexpr int kFinishForm = 8;

struct AppCase {
    const char* name;
    JetPalmApp jetApp;
    const char* radio;     // on the mode page
    const char* list;      // the record page's list
    const char* dataFile;  // below the demo user's folder
    const char* oldText;   // a text of the first record, which the import changes ...
    const char* newText;   // ... into this one, making it a record of its own
};

const AppCase kCases[] = {
    {"Contacts", JetPalmApp::Contacts, "rbtnAddr", "lvAddrData", "address/address.dat", "Margaret",
     "Marguerite"},
    {"Calendar", JetPalmApp::Calendar, "rbtnDate", "lvDateData", "datebook/datebook.dat",
     "Sales meeting", "Board meeting"},
    {"Tasks", JetPalmApp::Tasks, "rbtnTodo", "lvTodoData", "todo/todo.dat", "Send the price list",
     "Send the invoice"},
    {"Memos", JetPalmApp::Memos, "rbtnMemo", "lvMemoData", "memopad/memopad.dat", "Shopping list",
     "Packing list"},
};

// Test names and messages show the application's name.
void PrintTo(const AppCase& app, std::ostream* out) {
    *out << app.name;
}

std::string DemoPalmFolder() {
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "demo" /
            "palm")
        .string();
}

// The loaded facade's catalogue names as the title row writes them, its record count and
// texts.
struct LoadedData {
    std::string title;
    std::size_t records = 0;
    std::string allTexts;  // every catalogue text of every record, one per line
};

template <class Info>
LoadedData Load(const std::string& file) {
    Info info;
    LoadedData data;
    if (!info.LoadByFile(file)) {
        ADD_FAILURE() << "cannot load " << file;
        return data;
    }
    for (std::uint32_t i = 0; i < info.GetFieldCount(); ++i) {
        data.title += (i == 0 ? "" : ",") + info.GetFieldAt(i)->m_szName;
    }
    data.records = info.GetCommMgr().GetCount();
    for (std::size_t r = 0; r < data.records; ++r) {
        for (std::uint32_t i = 0; i < info.GetFieldCount(); ++i) {
            std::string text;
            info.GetFieldText(*info.GetCommMgr().GetAt(r), *info.GetFieldAt(i), text, 65535);
            data.allTexts += text + "\n";
        }
    }
    return data;
}

LoadedData LoadApp(const std::string& name, const std::string& file) {
    if (name == "Contacts") {
        return Load<PmAddrInfo>(file);
    }
    if (name == "Calendar") {
        return Load<PmDateInfo>(file);
    }
    if (name == "Tasks") {
        return Load<PmTodoInfo>(file);
    }
    return Load<PmMemoInfo>(file);
}

struct WizardConversion : ::testing::TestWithParam<AppCase> {
    WizardRun run;

    WizardConversion() {
        std::filesystem::copy(DemoPalmFolder(), run.PalmFolder(),
                              std::filesystem::copy_options::recursive);
        SetPalmDesktopFolder(run.PalmFolder());
        run.Restart(std::nullopt);  // Palm Desktop 4.1.4, as the demo folder's palm.exe says
    }
    ~WizardConversion() override { SetPalmDesktopFolder(""); }

    std::string DataFile() const { return run.PalmFolder() + "/Demo User/" + GetParam().dataFile; }
    std::string Label(const char* name) { return run.Get<QLabel>(name)->text().toStdString(); }
    bool Enabled(const char* name) { return run.Get<QWidget>(name)->isEnabled(); }
    QTreeWidget* RecordList() { return run.Get<QTreeWidget>(GetParam().list); }
    // Select All of the shown record page (each record page has its own button).
    void SelectAllRecords() {
        Find<QPushButton>(run.Window().GetShownPage(), "btnSelAll")->click();
    }

    // Next, expecting no message and the given page.
    void NextTo(int page) {
        const std::vector<ShownMessage> shown = run.Next();
        for (const ShownMessage& message : shown) {
            ADD_FAILURE() << "message: " << message.text;
        }
        ASSERT_EQ(run.Window().GetPageIndex(), page);
    }
    // Next on the record page: the progress page runs the pass and shows the finish page.
    void NextToFinish() {
        NextTo(kProcPage);
        ASSERT_EQ(run.Window().GetShownPage(), run.Window().GetPage(kFinishForm));
    }

    // The source page by Palm user, with the CSV file, double quotes, a title row and the
    // given writing choice.
    void FillSourcePage(const std::string& csv, bool title) {
        run.Get<QRadioButton>("rbtnPDUser")->click();
        QComboBox* users = run.Get<QComboBox>("cbUser");
        ASSERT_EQ(users->count(), 1);
        EXPECT_EQ(users->itemText(0).toStdString(), "Demo User");
        users->setCurrentIndex(0);
        run.Get<QLineEdit>("edtCSVFile")->setText(QString::fromStdString(csv));
        run.Get<QRadioButton>("rbtnQuoteDouble")->click();
        run.Get<QRadioButton>("rbtnOverwrite")->click();
        run.Get<QCheckBox>("cbAddTitle")->setChecked(title);
    }
};

TEST_P(WizardConversion, ToCsvAndBackWithConvertMore) {
    const AppCase& app = GetParam();
    const std::string csv = run.File("out.csv");
    const LoadedData before = LoadApp(app.name, DataFile());
    ASSERT_EQ(before.records, 12u);

    // Palm Desktop to CSV.
    EXPECT_FALSE(Enabled("btnPrev"));
    run.Get<QRadioButton>("rbtnP2C")->click();
    run.Get<QRadioButton>(app.radio)->click();
    NextTo(kSourcePage);
    EXPECT_TRUE(Enabled("btnPrev"));
    FillSourcePage(csv, true);
    NextTo(kFieldPage);
    run.Click("btnAllSel");
    run.Click("btnSel");
    auto* selected = run.Get<QTreeWidget>("lvSel");
    EXPECT_EQ(selected->topLevelItemCount(),
              std::count(before.title.begin(), before.title.end(), ',') + 1);
    NextTo(kRecordPage);
    ASSERT_EQ(RecordList()->topLevelItemCount(), 12);
    SelectAllRecords();
    NextToFinish();
    EXPECT_EQ(Label("lblMode"), "Palm Desktop >> CSV File");
    EXPECT_EQ(Label("lblDest"), csv);
    EXPECT_EQ(Label("lblResult"), "Convesion succeeded. 12 records were converted");
    EXPECT_FALSE(Enabled("btnNext"));
    EXPECT_FALSE(Enabled("btnPrev"));

    // The title row, then the records (a memo's record spans several lines).
    std::string text = ReadTextFile(csv);
    ASSERT_EQ(text.substr(0, before.title.size() + 2), before.title + "\r\n");

    // CSV to Palm Desktop: the same file with the first record's text changed, read back
    // with every record but the title row ticked.
    const std::size_t at = text.find(app.oldText);
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, std::strlen(app.oldText), app.newText);
    WriteTextFile(csv, text);

    run.Click("btnAnother");
    ASSERT_EQ(run.Window().GetPageIndex(), kModePage);
    run.Get<QRadioButton>("rbtnC2P")->click();
    NextTo(kSourcePage);
    FillSourcePage(csv, false);
    NextTo(kFieldPage);
    EXPECT_EQ(selected->topLevelItemCount(),
              std::count(before.title.begin(), before.title.end(), ',') + 1);
    NextTo(kRecordPage);
    ASSERT_EQ(RecordList()->topLevelItemCount(), 13);  // the title row is read as a record
    SelectAllRecords();
    RecordList()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    NextToFinish();
    EXPECT_EQ(Label("lblMode"), "CSV File >> Palm Desktop");
    EXPECT_EQ(Label("lblSource"), csv);
    // Only the changed record is written; the eleven others are equal to theirs.
    // The copy kept of the file before the import is named.
    const std::string result = Label("lblResult");
    EXPECT_TRUE(
        result.starts_with("Convesion succeeded. 1 records were converted\nA copy of the "
                           "original file was kept: " +
                           DataFile() + "."))
        << result;

    const LoadedData after = LoadApp(app.name, DataFile());
    EXPECT_EQ(after.records, 13u);
    EXPECT_NE(after.allTexts.find(app.newText), std::string::npos);
    EXPECT_NE(after.allTexts.find(app.oldText), std::string::npos);

    // The window keeps the last choices when it is closed and started again.
    run.Restart(std::nullopt);
    EXPECT_TRUE(run.Get<QRadioButton>("rbtnC2P")->isChecked());
    EXPECT_TRUE(run.Get<QRadioButton>(app.radio)->isChecked());
    NextTo(kSourcePage);
    EXPECT_TRUE(run.Get<QRadioButton>("rbtnPDUser")->isChecked());
    EXPECT_EQ(run.Get<QLineEdit>("edtCSVFile")->text().toStdString(), csv);
    EXPECT_TRUE(run.Get<QRadioButton>("rbtnQuoteDouble")->isChecked());
}

// A CSV line (its first field filled) into a Palm Desktop 6.x Jet file named by file: the
// wizard writes it (the copy of the file named on the finish page), and the file then holds
// the new record.
TEST_P(WizardConversion, IntoAJetFile) {
    const AppCase& app = GetParam();
    std::vector<JetTable> tables = JetPalmTables(app.jetApp);
    tables[0].rows = {{JetValue(std::string("Version")), JetValue(std::string("6"))},
                      {JetValue(std::string("CodePage")), JetValue(std::string("1252"))}};
    const std::string jet = run.File("Palm.mdb");
    WriteFile(jet, BuildJetDatabase(tables));
    const std::string title = LoadApp(app.name, jet).title;
    const std::size_t fields = std::count(title.begin(), title.end(), ',') + 1;
    std::string line = "\"" + std::string(app.newText) + "\"";
    for (std::size_t i = 1; i < fields; ++i) {
        line += ",\"\"";
    }
    const std::string csv = run.File("in.csv");
    WriteTextFile(csv, line + "\r\n");

    run.Get<QRadioButton>("rbtnC2P")->click();
    run.Get<QRadioButton>(app.radio)->click();
    NextTo(kSourcePage);
    run.Get<QRadioButton>("rbtnPDFile")->click();
    run.Get<QLineEdit>("edtPDFile")->setText(QString::fromStdString(jet));
    run.Get<QLineEdit>("edtCSVFile")->setText(QString::fromStdString(csv));
    run.Get<QRadioButton>("rbtnQuoteDouble")->click();
    NextTo(kFieldPage);
    run.Click("btnAllSel");
    run.Click("btnSel");
    NextTo(kRecordPage);
    ASSERT_EQ(RecordList()->topLevelItemCount(), 1);
    SelectAllRecords();
    NextToFinish();
    const std::string result = Label("lblResult");
    EXPECT_TRUE(
        result.starts_with("Convesion succeeded. 1 records were converted\nA copy of "
                           "the original file was kept: " +
                           jet + "."))
        << result;
    EXPECT_EQ(LoadApp(app.name, jet).records, 1u);
}

INSTANTIATE_TEST_SUITE_P(EveryApplication, WizardConversion, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace

}  // namespace tabrel
