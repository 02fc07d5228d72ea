// The progress page: the pass it runs on entering, its bar and status, the failure message,
// and the hand-over to the finish page.

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>

#include "WizardRun.h"
#include "support/PmAddrInfoTestFiles.h"

namespace tabrel {

using namespace test;

namespace {

constexpr int kProcPage = 7;
constexpr int kFinishPage = 8;

// The wizard with a Contacts file loaded, two columns chosen and the given records of the
// common store selected, to be written to out.csv.
struct LoadedJob {
    explicit LoadedJob(std::vector<std::size_t> records) {
        ConversionJob& job = run.State().Job();
        EXPECT_TRUE(job.Addr().LoadByFile(addrinfo::WriteClassic(run.Files())));
        const std::vector<FieldDescriptor> catalogue = job.GetCatalogue();
        EXPECT_GE(catalogue.size(), 2u);
        job.m_fields.assign(catalogue.begin(), catalogue.begin() + 2);
        job.m_selectedRecords = std::move(records);
        job.m_szCsvPath = run.File("out.csv");
        run.Settings().m_szCsvAddrFile = job.m_szCsvPath;
        run.Settings().m_szQuoteMark = "";
    }

    // Enters the progress page; the bar's positions and the status seen at the first of them
    // are recorded.
    std::vector<ShownMessage> Enter() {
        auto* bar = run.Get<QProgressBar>("pbMain");
        positions.clear();
        statusAtStart.clear();
        const auto connection = QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) {
            if (positions.empty()) {
                statusAtStart = run.Get<QLabel>("lblStatus")->text().toStdString();
            }
            positions.push_back(v);
        });
        const auto shown =
            AnswerMessages([&] { EXPECT_TRUE(run.Window().GetPage(kProcPage)->PageHook(true)); });
        QObject::disconnect(connection);
        return shown;
    }
    std::string Status() { return run.Get<QLabel>("lblStatus")->text().toStdString(); }

    WizardRun run;
    std::vector<int> positions;
    std::string statusAtStart;
};

}  // namespace

TEST(TfmProc, ControlsAtCreation) {
    LoadedJob loaded({0});
    EXPECT_EQ(loaded.Status(), "Converting now, please wait ...");
    auto* bar = loaded.run.Get<QProgressBar>("pbMain");
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
}

TEST(TfmProc, ThreeRecordsStepTheBarAndGoOnToTheFinishPage) {
    LoadedJob loaded({0, 1, 0});
    EXPECT_TRUE(loaded.Enter().empty());
    EXPECT_EQ(loaded.positions, (std::vector<int>{0, 33, 66, 100}));
    EXPECT_EQ(loaded.statusAtStart, "Converting now, please wait ...");
    EXPECT_EQ(loaded.Status(), "Conversion finishing ... ");

    const WizardState& state = loaded.run.State();
    EXPECT_TRUE(state.m_lastResult.Succeeded());
    EXPECT_EQ(state.m_lastResult.m_nConverted, 3u);
    EXPECT_EQ(state.m_pJob->m_nConverted, 3u);
    EXPECT_EQ(ReadTextFile(loaded.run.File("out.csv")), "Lee,Ann\r\nRay,Bob\r\nLee,Ann\r\n");

    TfmMain& window = loaded.run.Window();
    EXPECT_EQ(window.GetShownPage(), window.GetPage(kFinishPage));
    EXPECT_FALSE(loaded.run.Get<QPushButton>("btnPrev")->isEnabled());
    EXPECT_FALSE(loaded.run.Get<QPushButton>("btnNext")->isEnabled());
    EXPECT_EQ(loaded.run.Get<QLabel>("lblResult")->text().toStdString(),
              "Convesion succeeded. 3 records were converted");
}

TEST(TfmProc, OneRecordFillsTheBarAtOnce) {
    LoadedJob loaded({1});
    EXPECT_TRUE(loaded.Enter().empty());
    EXPECT_EQ(loaded.positions, (std::vector<int>{0, 100}));
    EXPECT_EQ(loaded.run.State().m_lastResult.m_nConverted, 1u);
}

TEST(TfmProc, TheStatusKeepsItsFinishingTextForTheNextPass) {
    LoadedJob loaded({0, 1});
    loaded.Enter();
    loaded.Enter();
    EXPECT_EQ(loaded.positions, (std::vector<int>{0, 50, 100}));
    EXPECT_EQ(loaded.statusAtStart, "Conversion finishing ... ");
    EXPECT_EQ(loaded.run.State().m_lastResult.m_nConverted, 2u);
}

TEST(TfmProc, AFailedPassShowsItsMessageAndTheFinishPageSaysSo) {
    LoadedJob loaded({0, 1});
    const std::string csv = loaded.run.File("missing/out.csv");
    loaded.run.State().Job().m_szCsvPath = csv;
    const std::vector<ShownMessage> shown = loaded.Enter();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Tabrel Error");
    EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    EXPECT_EQ(shown[0].text, "Error opening CSV file: " + csv);

    const WizardState& state = loaded.run.State();
    EXPECT_FALSE(state.m_lastResult.Succeeded());
    EXPECT_EQ(state.m_lastResult.m_nConverted, 0u);
    TfmMain& window = loaded.run.Window();
    EXPECT_EQ(window.GetShownPage(), window.GetPage(kFinishPage));
    EXPECT_EQ(loaded.run.Get<QLabel>("lblResult")->text().toStdString(),
              "Error opening CSV file: " + csv);
}

TEST(TfmProc, LeavingHasNothingToCheck) {
    LoadedJob loaded({0});
    EXPECT_TRUE(loaded.run.Window().GetPage(kProcPage)->PageHook(false));
    EXPECT_EQ(loaded.run.State().m_lastResult.m_nConverted, 0u);
    EXPECT_FALSE(std::filesystem::exists(loaded.run.File("out.csv")));
}

}  // namespace tabrel
