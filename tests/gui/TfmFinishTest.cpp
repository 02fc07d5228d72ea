// The finish page: its texts in both directions and after a failed pass, and its three
// buttons.

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>

#include "WizardRun.h"
#include "palm/desktop/UserDataLibrary.h"

namespace tabrel {

using namespace test;

namespace {

constexpr int kFinishPage = 5;

struct Labels {
    std::string mode;
    std::string app;
    std::string source;
    std::string dest;
    std::string result;
};

Labels Read(WizardRun& run) {
    const auto text = [&](const char* name) { return run.Get<QLabel>(name)->text().toStdString(); };
    return {text("lblMode"), text("lblApp"), text("lblSource"), text("lblDest"), text("lblResult")};
}

// Catches what the page asks the desktop to open. QTextBrowser's setSource slot takes the
// address, so it stands in for the desktop's file handler.
class OpenedFiles {
  public:
    OpenedFiles() {
        QObject::connect(&m_browser, &QTextBrowser::sourceChanged,
                         [this](const QUrl& url) { m_opened.push_back(url.toLocalFile()); });
        QDesktopServices::setUrlHandler("file", &m_browser, "setSource");
    }
    ~OpenedFiles() { QDesktopServices::unsetUrlHandler("file"); }
    OpenedFiles(const OpenedFiles&) = delete;
    OpenedFiles& operator=(const OpenedFiles&) = delete;

    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const QString& path : m_opened) {
            paths.push_back(path.toStdString());
        }
        return paths;
    }

  private:
    QTextBrowser m_browser;
    QStringList m_opened;
};

}  // namespace

TEST(TfmFinish, PalmToCsvByUser) {
    WizardRun run("", {"Alice", "Bob"});
    AppSettings& settings = run.Settings();
    settings.m_nMode = ModePalmToCsv;
    settings.m_nApp = AppContacts;
    settings.m_nPmDataMode = PmDataByUser;
    settings.m_nPmUserId = UserDataLibrary::HashUserName("Alice");
    run.State().Job().m_szCsvPath = "/data/contacts.csv";
    run.State().m_lastResult.m_nConverted = 2;
    ASSERT_TRUE(run.Window().GoToPage(kFinishPage, false));

    const Labels labels = Read(run);
    EXPECT_EQ(labels.mode, "Palm Desktop >> CSV File");
    EXPECT_EQ(labels.app, "Contacts ( Address Book )");
    EXPECT_EQ(labels.source, fmt::format("Palm User:Alice (ID:{})", settings.m_nPmUserId));
    EXPECT_EQ(labels.dest, "/data/contacts.csv");
    EXPECT_EQ(labels.result, "Convesion succeeded. 2 records were converted");
    EXPECT_FALSE(run.Get<QPushButton>("btnPrev")->isEnabled());
    EXPECT_FALSE(run.Get<QPushButton>("btnNext")->isEnabled());
    EXPECT_EQ(run.Get<QPushButton>("btnPD")->text().toStdString(), "Open &Palm Desktop");
    EXPECT_EQ(run.Get<QPushButton>("btnCSV")->text().toStdString(), "Open CSV &File");
    EXPECT_EQ(run.Get<QPushButton>("btnAnother")->text().toStdString(), "Convert &More");
}

TEST(TfmFinish, CsvToPalmByFileWithNothingConverted) {
    WizardRun run;
    AppSettings& settings = run.Settings();
    settings.m_nMode = ModeCsvToPalm;
    settings.m_nApp = AppMemos;
    settings.m_nPmDataMode = PmDataByFile;
    settings.m_szPmMemoFile = "/data/memopad.dat";
    settings.m_szCsvMemoFile = "/data/memos.csv";
    run.State().m_lastResult.m_nConverted = 0;
    ASSERT_TRUE(run.Window().GoToPage(kFinishPage, false));

    const Labels labels = Read(run);
    EXPECT_EQ(labels.mode, "CSV File >> Palm Desktop");
    EXPECT_EQ(labels.app, "Memos ( Memo Pad )");
    EXPECT_EQ(labels.source, "/data/memos.csv");
    EXPECT_EQ(labels.dest, "/data/memopad.dat");
    EXPECT_EQ(labels.result, "Convesion succeeded. 0 records were converted");

    // The labels are filled on every entry.
    settings.m_nApp = AppCalendar;
    settings.m_szCsvDateFile = "/data/dates.csv";
    settings.m_szPmDateFile = "/data/datebook.dat";
    run.State().m_lastResult.m_nConverted = 4;
    ASSERT_TRUE(run.Window().GoToPage(kFinishPage, false));
    EXPECT_EQ(Read(run).app, "Calendar ( Date Book )");
    EXPECT_EQ(Read(run).source, "/data/dates.csv");
    EXPECT_EQ(Read(run).dest, "/data/datebook.dat");
    EXPECT_EQ(Read(run).result, "Convesion succeeded. 4 records were converted");
}

TEST(TfmFinish, AFailedPassShowsItsMessage) {
    WizardRun run;
    ConversionResult& result = run.State().m_lastResult;
    result.m_nConverted = 0;
    result.m_failure = UserMessage{
        "Tabrel Error", "Error saving the Palm Desktop database. No records were converted."};
    ASSERT_TRUE(run.Window().GoToPage(kFinishPage, false));
    EXPECT_EQ(Read(run).result,
              "Error saving the Palm Desktop database. No records were converted.");
}

TEST(TfmFinish, ConvertMoreGoesBackToTheModePage) {
    WizardRun run;
    run.Next();
    ASSERT_EQ(run.Window().GetPageIndex(), 1);
    run.State().Job().m_fields.resize(3);
    ASSERT_TRUE(run.Window().GoToPage(kFinishPage, false));
    EXPECT_TRUE(run.Click("btnAnother").empty());
    EXPECT_EQ(run.Window().GetPageIndex(), 0);
    EXPECT_EQ(run.Window().GetShownPage(), run.Window().GetPage(0));
    EXPECT_FALSE(run.Get<QPushButton>("btnPrev")->isEnabled());
    EXPECT_TRUE(run.Get<QPushButton>("btnNext")->isEnabled());
    EXPECT_EQ(run.State().Job().m_fields.size(), 3u);
    // Next goes through the source page again.
    run.Next();
    EXPECT_EQ(run.Window().GetPageIndex(), 1);
}

TEST(TfmFinish, OpenPalmDesktopNeedsTheProgram) {
    WizardRun run("", {"Alice"});
    ASSERT_TRUE(run.Window().GoToPage(kFinishPage, false));
    OpenedFiles opened;
    EXPECT_EQ(Texts(run.Click("btnPD")),
              std::vector<std::string>{"Can not find the Palm Desktop program (palm.exe) in "
                                       "the Palm Desktop folder."});
    EXPECT_TRUE(opened.Paths().empty());

    const std::string program = run.PalmFolder() + "/Palm.EXE";
    WriteTextFile(program, "MZ");
    EXPECT_TRUE(run.Click("btnPD").empty());
    EXPECT_EQ(opened.Paths(), std::vector<std::string>{program});
}

TEST(TfmFinish, OpenCsvFileOpensTheFileOfThePass) {
    WizardRun run;
    const std::string csv = run.File("out.csv");
    run.State().Job().m_szCsvPath = csv;
    ASSERT_TRUE(run.Window().GoToPage(kFinishPage, false));
    OpenedFiles opened;
    EXPECT_EQ(Texts(run.Click("btnCSV")),
              std::vector<std::string>{"Can not open the file: " + csv});

    WriteTextFile(csv, "Lee,Ann\r\n");
    EXPECT_TRUE(run.Click("btnCSV").empty());
    EXPECT_EQ(opened.Paths(), std::vector<std::string>{csv});
}

}  // namespace tabrel
