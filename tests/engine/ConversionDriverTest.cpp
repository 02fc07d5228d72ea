// The conversion pass in both directions: progress positions, counts, the CSV lines byte
// for byte, custom columns, the title row, append, encodings, failures reported as such,
// and reading CSV records into import records.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ConversionDriver.h"
#include "engine/ConversionJob.h"
#include "engine/FieldSelection.h"
#include "engine/ImportReader.h"
#include "engine/SourceChecks.h"
#include "support/EnvGuards.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

class RecordingObserver final : public ConversionObserver {
  public:
    void SetProgress(int position) override { positions.push_back(position); }
    void SetStatus(std::string_view text) override { status = text; }
    std::vector<int> positions;
    std::string status;
};

// A memopad.dat of the PalmSG generation with the given memos.
std::string WriteMemos(const TempDir& dir, const std::vector<std::string>& memos,
                       const std::string& name = "memopad.dat") {
    PalmSgFile file = MemoPadFile();
    std::uint32_t id = 1;
    for (const std::string& memo : memos) {
        file.records.push_back(MemoRecord({.id = id++}, memo));
    }
    const std::string path = dir.File(name);
    WriteFile(path, file.Build());
    return path;
}

struct Fixture {
    explicit Fixture(const std::vector<std::string>& memos) : palmPath(WriteMemos(dir, memos)) {
        settings.m_nApp = AppMemos;
        settings.m_nPmDataMode = PmDataByFile;
        job.m_nApp = AppMemos;
    }

    // Loads the memos and checks the CSV file as the source page does.
    void Prepare(int mode, const std::string& csvName = "memos.csv") {
        settings.m_nMode = mode;
        ASSERT_FALSE(LoadPalmData(job, settings, palmPath));
        ASSERT_FALSE(CheckCsvFile(job, settings, dir.File(csvName)));
        job.m_fields = DefaultFieldList(job.GetCatalogue());
    }

    ConversionResult Run() {
        job.SelectAllRecords(settings.m_nMode);
        return RunConversion(job, settings, observer);
    }

    ScopedLogFolder logFolder;
    TempDir dir;
    std::string palmPath;
    AppSettings settings;
    ConversionJob job{60000};
    RecordingObserver observer;
};

FieldDescriptor Custom(ValueSource source, std::string name, std::int32_t number = 0,
                       std::string text = {}) {
    FieldDescriptor field = NewCustomField();
    field.m_nValueSource = source;
    field.m_szName = std::move(name);
    field.m_nSourceIdOrStart = number;
    field.m_szFixedText = std::move(text);
    return field;
}

}  // namespace

TEST(ConversionDriver, WritesOneLinePerRecordWithProgress) {
    Fixture f({"first", "say \"hi\", twice\r\nsecond line", "third"});
    f.Prepare(ModePalmToCsv);
    const ConversionResult result = f.Run();
    ASSERT_TRUE(result.Succeeded());
    EXPECT_EQ(result.m_nConverted, 3u);
    EXPECT_EQ(f.job.m_nConverted, 3u);
    EXPECT_EQ(f.observer.positions, (std::vector<int>{0, 33, 66, 100, 100}));
    EXPECT_EQ(f.observer.status, "Conversion finishing ... ");
    EXPECT_EQ(ReadTextFile(f.dir.File("memos.csv")),
              "\"first\"\r\n\"say \"\"hi\"\", twice\r\nsecond line\"\r\n\"third\"\r\n");
    EXPECT_EQ(FinishResultText(3), "Convesion succeeded. 3 records were converted");
}

TEST(ConversionDriver, CustomColumnsTitleRowAndAppend) {
    Fixture f({"a", "b"});
    f.settings.m_szQuoteMark = "";
    f.settings.m_bAddTitle = true;
    f.settings.m_nAppendCsv = 1;
    WriteTextFile(f.dir.File("memos.csv"), "kept\r\n");
    f.Prepare(ModePalmToCsv);
    const FieldDescriptor memo = f.job.m_fields.at(0);
    f.job.m_fields = {Custom(ValueSourceSequence, "No", 10), memo,
                      Custom(ValueSourceFixedText, "Tag", 0, "x,y"),
                      Custom(ValueSourceRecordField, "Copy", memo.m_nId)};
    ASSERT_TRUE(f.Run().Succeeded());
    EXPECT_EQ(ReadTextFile(f.dir.File("memos.csv")),
              "kept\r\nNo,Memo,Tag,Copy\r\n10,a,x,y,a\r\n11,b,x,y,b\r\n");
}

TEST(ConversionDriver, Utf8EncodingConvertsAtTheCsvBoundary) {
    Fixture f({"caf\xE9 \x80"});
    f.settings.m_szCsvEncoding = "UTF-8";
    f.Prepare(ModePalmToCsv);
    ASSERT_TRUE(f.Run().Succeeded());
    EXPECT_EQ(ReadTextFile(f.dir.File("memos.csv")), "\"caf\xC3\xA9 \xE2\x82\xAC\"\r\n");

    // Read back (a byte-order mark skipped) into the ANSI texts.
    WriteTextFile(f.dir.File("in.csv"), "\xEF\xBB\xBF\"caf\xC3\xA9 \xE2\x82\xAC\"\r\n");
    f.settings.m_nMode = ModeCsvToPalm;
    ASSERT_FALSE(CheckCsvFile(f.job, f.settings, f.dir.File("in.csv")));
    ASSERT_EQ(ReadImportRecords(f.job, f.settings), 1u);
    EXPECT_EQ(f.job.NoteImports()[0].m_szNote, "caf\xE9 \x80");
}

TEST(ConversionDriver, ReadsCsvRecordsIntoImportRecords) {
    Fixture f({"x"});
    WriteTextFile(f.dir.File("in.csv"),
                  "\"Title\",\"ignored\"\r\n"
                  "\"one\"\r\n"
                  "\r\n"
                  "\"two\r\nlines\",\"more\",\"items\"\r\n"
                  "\"skip\",\"col\"\r\n");
    f.Prepare(ModeCsvToPalm, "in.csv");
    ASSERT_EQ(ReadImportRecords(f.job, f.settings), 4u);
    const auto& imports = f.job.NoteImports();
    EXPECT_EQ(imports[0].m_szNote, "Title");
    EXPECT_EQ(imports[1].m_szNote, "one");
    EXPECT_EQ(imports[2].m_szNote, "two\r\nlines");
    EXPECT_EQ(imports[2].m_szSubject, "two");
    // A custom field consumes its column; a record whose only item it took gives nothing.
    f.job.m_fields.insert(f.job.m_fields.begin(), Custom(ValueSourceFixedText, "skip", 0, ""));
    ASSERT_EQ(ReadImportRecords(f.job, f.settings, true), 2u);
    EXPECT_EQ(f.job.NoteImports()[0].m_szNote, "more");
    EXPECT_EQ(f.job.NoteImports()[1].m_szNote, "col");
}

TEST(ConversionDriver, ImportsAndSavesOnce) {
    Fixture f({"keep", "old\r\nnote"});
    WriteTextFile(f.dir.File("in.csv"), "\"keep\"\r\n\"old\r\nnew note\"\r\n\"brand new\"\r\n");
    f.Prepare(ModeCsvToPalm, "in.csv");
    ASSERT_EQ(ReadImportRecords(f.job, f.settings), 3u);
    const Bytes before = ReadFile(f.palmPath);
    const ConversionResult result = f.Run();
    ASSERT_TRUE(result.Succeeded());
    EXPECT_EQ(result.m_nConverted, 2u);  // the equal one is not counted
    ASSERT_TRUE(result.m_backupPath);
    EXPECT_TRUE(result.m_backupPath->starts_with(f.palmPath + "."));
    EXPECT_EQ(ReadFile(*result.m_backupPath), before);
    EXPECT_EQ(f.observer.positions, (std::vector<int>{0, 33, 66, 100, 100}));

    PmMemoInfo again(60000);
    ASSERT_TRUE(again.LoadByFile(f.palmPath));
    ASSERT_EQ(again.GetItemCount(), 3u);
    EXPECT_EQ(again.GetCommMgr().GetAt(1)->m_szNote, "old\r\nnew note");
    EXPECT_EQ(again.GetCommMgr().GetAt(2)->m_szNote, "brand new");
}

TEST(ConversionDriver, NothingNewLeavesTheFileUnsaved) {
    Fixture f({"keep"});
    WriteTextFile(f.dir.File("in.csv"), "\"keep\"\r\n");
    f.Prepare(ModeCsvToPalm, "in.csv");
    const Bytes before = ReadFile(f.palmPath);
    ReadImportRecords(f.job, f.settings);
    const ConversionResult result = f.Run();
    EXPECT_TRUE(result.Succeeded());
    EXPECT_EQ(result.m_nConverted, 0u);
    EXPECT_EQ(ReadFile(f.palmPath), before);
}

// A file another program rewrote or removed after the load is not saved over, nor copied.
TEST(ConversionDriver, AFileChangedAfterTheLoadIsNotSavedOver) {
    for (const bool removed : {false, true}) {
        Fixture f({"keep"});
        WriteTextFile(f.dir.File("in.csv"), "\"new\"\r\n");
        f.Prepare(ModeCsvToPalm, "in.csv");
        ReadImportRecords(f.job, f.settings);
        const std::string theirs = WriteMemos(f.dir, {"theirs", "too"}, "theirs.dat");
        std::filesystem::rename(theirs, f.palmPath);
        if (removed) {
            std::filesystem::remove(f.palmPath);
        }
        const ConversionResult result = f.Run();
        ASSERT_FALSE(result.Succeeded());
        EXPECT_EQ(result.m_nConverted, 0u);
        EXPECT_FALSE(result.m_backupPath);
        EXPECT_EQ(result.m_failure->text, ChangedOnDiskMessage(f.palmPath).text);
        EXPECT_EQ(result.m_failure->text,
                  "The file " + f.palmPath +
                      " was changed by another program after it was loaded, so it was not "
                      "overwritten. Please start the conversion again. Nothing was written.");
        EXPECT_EQ(std::filesystem::exists(f.palmPath), !removed);
    }
}

TEST(ConversionDriver, TheCsvFileIsReplacedOnlyByACompletePass) {
    Fixture f({"a"});
    WriteTextFile(f.dir.File("memos.csv"), "precious\r\n");
    f.Prepare(ModePalmToCsv);
    // Leaving the source page leaves the file as it was.
    EXPECT_EQ(ReadTextFile(f.dir.File("memos.csv")), "precious\r\n");
    // A folder that no longer takes files: the pass fails and the file stays.
    std::filesystem::permissions(f.dir.Path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const bool unprivileged = RunUnprivileged([&] {
        const ConversionResult result = f.Run();
        return !result.Succeeded() && result.m_nConverted == 0 &&
               result.m_failure->text == "Error opening CSV file: " + f.dir.File("memos.csv");
    });
    std::filesystem::permissions(f.dir.Path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    EXPECT_TRUE(unprivileged);
    EXPECT_EQ(ReadTextFile(f.dir.File("memos.csv")), "precious\r\n");
}

TEST(SourceChecks, RefusalMessages) {
    Fixture f({"a"});
    f.settings.m_nMode = ModePalmToCsv;
    EXPECT_EQ(CheckCsvFile(f.job, f.settings, "")->text,
              "Invalid CSV file name. Please try another one.");
    EXPECT_EQ(CheckCsvFile(f.job, f.settings, f.dir.File("no/such/x.csv"))->text,
              "Error opening CSV file: " + f.dir.File("no/such/x.csv"));
    f.settings.m_nMode = ModeCsvToPalm;
    EXPECT_EQ(CheckCsvFile(f.job, f.settings, f.dir.File("none.csv"))->text,
              "Invalid CSV file name. Please specify an existing CSV file.");
    EXPECT_EQ(CheckCsvFile(f.job, f.settings, f.dir.File("none.csv"))->caption, "Tabrel Error");

    EXPECT_EQ(CheckPalmFile(f.job, f.dir.File("x.txt"))->text,
              "Invalid Palm Desktop Memos database file.");
    f.job.m_nApp = AppContacts;
    EXPECT_EQ(CheckPalmFile(f.job, f.palmPath)->text,
              "Invalid Palm Desktop Contacts database file.");
    f.settings.m_nApp = AppContacts;
    EXPECT_EQ(LoadPalmData(f.job, f.settings, f.palmPath)->text,
              "Error opening the Palm Desktop database.");
    // The key keeps the first 259 characters of the name.
    LoadPalmData(f.job, f.settings, std::string(300, 'p'));
    EXPECT_EQ(f.settings.m_szPmAddrFile, std::string(259, 'p'));

    // Jet's lock file beside a database: Palm Desktop 6.x has it open.
    const std::string mdb = f.dir.File("Address.mdb");
    EXPECT_FALSE(CheckNotInUse(mdb));
    WriteTextFile(f.dir.File("Address.ldb"), "");
    EXPECT_EQ(CheckNotInUse(mdb)->text,
              "Another program (Palm Desktop) is using the file " + mdb + ": its lock file " +
                  f.dir.File("Address.ldb") +
                  " is beside it. Please close that program first, then try again. Nothing was "
                  "written.");
    EXPECT_EQ(NotEnoughMemoryMessage("/d/x.dat").text,
              "Not enough memory to load /d/x.dat. Nothing was written.");

    EXPECT_EQ(NoRecordSelectedText(AppTasks),
              "No task record is selected. Please select the records you want to convert.");
}

}  // namespace tabrel
