// The Memos facade over the three generations: telling a file's generation, loading,
// the catalogue, field texts, imports (equal, matching, new), saving and loading again.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "InfoTestSupport.h"
#include "palm/unified/PmMemoInfo.h"
#include "support/ClassicWriter.h"
#include "support/Db6xWriter.h"
#include "support/EnvGuards.h"
#include "support/LogCapture.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

constexpr std::uint32_t kPalm6 = 60001;

// The same three memos in each generation: a private one in category 1 ("Work"), a plain
// one, and a deleted one (status 0x80) that no facade shows.
std::string WriteClassic(const TempDir& dir, const std::string& name = "memopad.dat") {
    ClassicFile file = ClassicMemoFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    file.records = {ClassicMemoRecord({.id = 11}, "Groceries\r\nmilk", 1, 1),
                    ClassicMemoRecord({.id = 12}, "Call Bob"),
                    ClassicMemoRecord({.id = 13, .status = 0x80}, "Gone")};
    const std::string path = dir.File(name);
    WriteFile(path, file.Build());
    return path;
}

std::string WriteEx(const TempDir& dir, const std::string& name = "memopad.dat") {
    PalmSgFile file = MemoPadFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    file.records = {MemoRecord({.id = 11, .category = 1, .isPrivate = 1}, "Groceries\r\nmilk"),
                    MemoRecord({.id = 12}, "Call Bob"),
                    MemoRecord({.id = 13, .status = 0x80}, "Gone")};
    const std::string path = dir.File(name);
    WriteFile(path, file.Build());
    return path;
}

std::string WriteEx2(const TempDir& dir, const std::string& name = "MemoPad.mdb") {
    const std::string path = dir.File(name);
    Db6xWriter db(path, kMemoColumns);
    db.AddCategory(1, "Work");
    db.InsertMain({{"Record ID", "11"},
                   {"Status", "0"},
                   {"Placement", "0"},
                   {"Private", "1"},
                   {"Category", "'1'"},
                   {"Note", "'Groceries' || char(13, 10) || 'milk'"}});
    db.InsertMain({{"Record ID", "12"},
                   {"Status", "0"},
                   {"Placement", "1"},
                   {"Private", "0"},
                   {"Category", "'0'"},
                   {"Note", "'Call Bob'"}});
    db.InsertMain({{"Record ID", "13"},
                   {"Status", "128"},
                   {"Placement", "2"},
                   {"Private", "0"},
                   {"Category", "'0'"},
                   {"Note", "'Gone'"}});
    return path;
}

using Writer = std::string (*)(const TempDir&, const std::string&);

struct Generation {
    PmDataVersion version;
    Writer write;
    const char* fileName;
    std::int32_t memoId;
};

const std::vector<Generation>& Generations() {
    static const std::vector<Generation> all = {
        {PM_DATA_CLASSIC, WriteClassic, "memopad.dat", 3},
        {PM_DATA_EX, WriteEx, "memopad.dat", 13},
        {PM_DATA_EX2, WriteEx2, "MemoPad.mdb", 5},
    };
    return all;
}

std::vector<std::string> Notes(PmMemoInfo& memos) {
    std::vector<std::string> notes;
    for (const CommNoteRec* note = memos.GetCommMgr().GetFirst(); note != nullptr;
         note = memos.GetCommMgr().GetNext()) {
        notes.push_back(note->m_szNote);
    }
    return notes;
}

}  // namespace

TEST(PmMemoInfo, TellsTheGenerationOfAFileByExtensionAndContent) {
    ScopedLogFolder logFolder;
    TempDir dir;
    PmMemoInfo memos(kPalm6);
    EXPECT_EQ(memos.CheckFileVersion(WriteClassic(dir, "a.dat")), PM_DATA_CLASSIC);
    EXPECT_EQ(memos.CheckFileVersion(WriteEx(dir, "b.DAT")), PM_DATA_EX);
    EXPECT_EQ(memos.CheckFileVersion(WriteEx2(dir, "c.MDB")), PM_DATA_EX2);
    EXPECT_EQ(memos.GetLoadedVersion(), PM_DATA_NONE);  // the check leaves the facade alone

    // A database whose "Main" lacks the memo columns is not a memo database.
    constexpr Db6xColumn kOtherColumns[] = {{"Record ID", "INTEGER"}, {"Summary", "TEXT"}};
    Db6xWriter(dir.File("Other.mdb"), kOtherColumns);
    EXPECT_EQ(memos.CheckFileVersion(dir.File("Other.mdb")), PM_DATA_INVALID);
    EXPECT_FALSE(memos.LoadByFile(dir.File("Other.mdb")));
    // A known extension on the wrong content, an unknown extension, no file, no path.
    std::filesystem::copy_file(dir.File("b.DAT"), dir.File("b.mdb"));
    std::filesystem::copy_file(dir.File("b.DAT"), dir.File("b.txt"));
    WriteFile(dir.File("junk.dat"), Bytes(64, 0x5A));
    LogCapture log;
    EXPECT_EQ(memos.CheckFileVersion(dir.File("b.mdb")), PM_DATA_INVALID);
    EXPECT_EQ(memos.CheckFileVersion(dir.File("b.txt")), PM_DATA_INVALID);
    EXPECT_EQ(memos.CheckFileVersion(dir.File("junk.dat")), PM_DATA_INVALID);
    EXPECT_EQ(memos.CheckFileVersion(dir.File("missing.dat")), PM_DATA_INVALID);
    EXPECT_EQ(memos.CheckFileVersion(""), PM_DATA_INVALID);
    EXPECT_TRUE(log.HasInOrder(
        {"P Check Palm Desktop Memos file version, file: " + dir.File("b.txt"),
         "E Failed to check Palm Desktop Memos data file type (" + dir.File("b.txt") + ")",
         "P Check Palm Desktop Memos file version, file: ",
         "E Failed to check Palm Desktop Memos data file type ()"}));
}

// The reader of the check serves the load of the same file, unless the file changed in
// between: then the load reads it again.
TEST(PmMemoInfo, ALoadAfterTheCheckReadsTheFileAsItIsThen) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.fileName);
        TempDir dir;
        const std::string path = generation.write(dir, generation.fileName);
        PmMemoInfo memos(kPalm6);
        ASSERT_EQ(memos.CheckFileVersion(path), generation.version);
        ASSERT_TRUE(memos.LoadByFile(path));
        EXPECT_EQ(Notes(memos), (std::vector<std::string>{"Groceries\r\nmilk", "Call Bob"}));

        ASSERT_EQ(memos.CheckFileVersion(path), generation.version);
        Bytes bytes = ReadFile(path);
        const std::string_view bob = "Call Bob";
        const auto at = std::search(bytes.begin(), bytes.end(), bob.begin(), bob.end());
        ASSERT_NE(at, bytes.end());
        std::copy_n("Call Ann", bob.size(), at);
        WriteFile(path, bytes);
        std::filesystem::last_write_time(
            path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
        ASSERT_TRUE(memos.LoadByFile(path));
        EXPECT_EQ(Notes(memos), (std::vector<std::string>{"Groceries\r\nmilk", "Call Ann"}));
    }
}

TEST(PmMemoInfo, LoadsTheLiveRecordsOfEveryGeneration) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmMemoInfo memos(kPalm6);
        EXPECT_EQ(memos.GetFieldCount(), 0u);
        EXPECT_FALSE(memos.GetFieldAt(0));
        ASSERT_TRUE(memos.LoadByFile(generation.write(dir, generation.fileName)));
        EXPECT_EQ(memos.GetLoadedVersion(), generation.version);

        ASSERT_EQ(memos.GetFieldCount(), 1u);
        const FieldDescriptor row = *memos.GetFieldAt(0);
        EXPECT_EQ(row.m_nId, generation.memoId);
        EXPECT_EQ(row.m_szName, "Memo");
        EXPECT_EQ(row.m_nType, FieldTypeString);
        EXPECT_EQ(row.m_nLength, 0);
        EXPECT_EQ(memos.GetFieldById(generation.memoId), row);
        EXPECT_FALSE(memos.GetFieldAt(1));
        EXPECT_FALSE(memos.GetFieldById(generation.memoId + 1));

        // The deleted memo is in neither list.
        ASSERT_EQ(memos.GetItemCount(), 2u);
        ASSERT_EQ(memos.GetCommMgr().GetCount(), 2u);
        EXPECT_EQ(ColumnOf(memos, "Memo"),
                  (std::vector<std::string>{"Groceries\r\nmilk", "Call Bob"}));
        const CommNoteRec& first = *memos.GetCommMgr().GetAt(0);
        EXPECT_EQ(first.m_szSubject, "Groceries");
        EXPECT_EQ(first.m_szNote, "Groceries\r\nmilk");
        EXPECT_EQ(first.m_bPrivate, 1);
        EXPECT_EQ(first.m_source.m_nSourceType, kCommSourcePalm);
        EXPECT_EQ(memos.GetItemAt(0)->m_pCommon, &first);
        ASSERT_NE(PmMemoInfo::GetItemOf(first), nullptr);
        EXPECT_EQ(PmMemoInfo::GetItemOf(first)->m_record, memos.GetItemAt(0)->m_record);
        EXPECT_EQ(memos.GetCommMgr().GetAt(1)->m_bPrivate, 0);

        // Through the common record the driver reaches the same text; a row of another
        // identifier gives nothing, and the text is cut to the buffer.
        std::string text;
        EXPECT_TRUE(memos.GetFieldText(first, row, text, 32768));
        EXPECT_EQ(text, "Groceries\r\nmilk");
        EXPECT_TRUE(memos.GetFieldText(first, row, text, 4));
        EXPECT_EQ(text, "Gro");
        FieldDescriptor other = row;
        other.m_nId = 99;
        EXPECT_FALSE(memos.GetFieldText(first, other, text, 32768));
        EXPECT_EQ(text, "");

        // A second load replaces the first entirely; a failed one leaves nothing.
        ASSERT_TRUE(
            memos.LoadByFile(generation.write(dir, std::string("2") + generation.fileName)));
        EXPECT_EQ(memos.GetItemCount(), 2u);
        EXPECT_FALSE(memos.LoadByFile(dir.File("missing.dat")));
        EXPECT_EQ(memos.GetLoadedVersion(), PM_DATA_INVALID);
        EXPECT_EQ(memos.GetItemCount(), 0u);
        EXPECT_EQ(memos.GetCommMgr().GetCount(), 0u);
        EXPECT_EQ(memos.GetFieldCount(), 0u);
        EXPECT_FALSE(memos.Save());
    }
}

TEST(PmMemoInfo, LoadByFileLogsTheLoadersItTries) {
    ScopedLogFolder logFolder;
    TempDir dir;
    const std::string path = WriteClassic(dir);
    PmMemoInfo memos(40104);
    LogCapture log;
    ASSERT_TRUE(memos.LoadByFile(path));
    EXPECT_EQ(memos.GetLoadedVersion(), PM_DATA_CLASSIC);
    EXPECT_TRUE(log.HasInOrder(
        {"P Load Palm Desktop Memos by file: " + path,
         "P .dat file, try Palm Desktop 4.1.4 database loader.",
         "P Unable to load this file with Palm Desktop 4.1.4 file loader, try earlier loader "
         "version."}));
    log.Clear();
    EXPECT_FALSE(memos.LoadByFile(dir.File("memo.txt")));
    EXPECT_EQ(log.Tagged(),
              (std::vector<std::string>{
                  "P Load Palm Desktop Memos by file: " + dir.File("memo.txt"),
                  "E Failed to load Palm Desktop Memos data file (" + dir.File("memo.txt") + ")"}));
}

TEST(PmMemoInfo, InstalledVersionChoosesTheGeneration) {
    ScopedLogFolder logFolder;
    EXPECT_EQ(PmMemoInfo(60000).GetInstalledVersion(), PM_DATA_EX2);
    EXPECT_EQ(PmMemoInfo(0xFFFFFFFF).GetInstalledVersion(), PM_DATA_EX2);
    EXPECT_EQ(PmMemoInfo(59999).GetInstalledVersion(), PM_DATA_EX);
    EXPECT_EQ(PmMemoInfo(40102).GetInstalledVersion(), PM_DATA_EX);
    EXPECT_EQ(PmMemoInfo(40101).GetInstalledVersion(), PM_DATA_CLASSIC);
    EXPECT_EQ(PmMemoInfo(30500).GetInstalledVersion(), PM_DATA_CLASSIC);

    LogCapture log;
    PmMemoInfo old(30499);
    EXPECT_EQ(old.GetInstalledVersion(), PM_DATA_NONE);
    EXPECT_FALSE(old.LoadByUser(1));
    EXPECT_EQ(old.GetLoadedVersion(), PM_DATA_INVALID);
    EXPECT_EQ(log.Tagged(), (std::vector<std::string>{"P Palm Desktop Version: 30499",
                                                      "P Load Palm Desktop Memos by user: 1",
                                                      "E Unknown Palm Desktop version."}));
    log.Clear();
    PmMemoInfo unknown(0xFFFFFFFF);
    EXPECT_TRUE(log.HasTagged("P Palm Desktop Version: -1"));
}

TEST(PmMemoInfo, CsvTextFillsNoteAndSubject) {
    ScopedLogFolder logFolder;
    TempDir dir;
    PmMemoInfo memos(kPalm6);
    CommNoteRec note{};
    FieldDescriptor row;
    row.m_nId = 5;
    EXPECT_FALSE(memos.SetFieldText(row, "x", note));  // nothing loaded
    ASSERT_TRUE(memos.LoadByFile(WriteEx(dir)));
    note = ImportOf(memos, {{"Memo", "Plan\nday two\r\nmore"}});
    EXPECT_EQ(note.m_szSubject, "Plan");
    EXPECT_EQ(note.m_szNote, "Plan\nday two\r\nmore");
    // Another identifier is accepted and ignored; a long memo is cut to the note's limit.
    row.m_nId = 3;
    EXPECT_TRUE(memos.SetFieldText(row, "ignored", note));
    EXPECT_EQ(note.m_szSubject, "Plan");
    note = ImportOf(memos, {{"Memo", std::string(30000, 'm')}});
    EXPECT_EQ(note.m_szNote.size(), 20479u);
    EXPECT_EQ(note.m_szSubject.size(), 255u);
    EXPECT_EQ(CarriedBy(memos, {"Memo"}), (CommFieldSet{CommNoteId::kSubject, CommNoteId::kNote}));
}

// Load, import one equal, one matching and one new memo, save, load again.
TEST(PmMemoInfo, ImportsAndSavesInEveryGeneration) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        const std::string path = generation.write(dir, generation.fileName);
        {
            PmMemoInfo memos(kPalm6);
            ASSERT_TRUE(memos.LoadByFile(path));
            const CommFieldSet carried = CarriedBy(memos, {"Memo"});
            EXPECT_EQ(memos.ImportRecord(ImportOf(memos, {{"Memo", "Call Bob"}}), carried),
                      kImportEqual);
            EXPECT_TRUE(memos.AddImportRecord(
                ImportOf(memos, {{"Memo", "Groceries\r\nmilk, eggs"}}), carried));
            EXPECT_TRUE(memos.AddImportRecord(ImportOf(memos, {{"Memo", "New idea"}}), carried));
            // A second new memo whose first line is another: it does not overwrite the first.
            EXPECT_TRUE(memos.AddImportRecord(ImportOf(memos, {{"Memo", "Other idea"}}), carried));
            EXPECT_EQ(memos.GetItemCount(), 4u);
            EXPECT_EQ(memos.GetCommMgr().GetCount(), 4u);
            // The matched memo keeps its private flag: the CSV did not carry one.
            EXPECT_EQ(memos.GetCommMgr().GetAt(0)->m_bPrivate, 1);
            EXPECT_EQ(TextOf(memos, 0, "Memo"), "Groceries\r\nmilk, eggs");
            EXPECT_EQ(TextOf(memos, 2, "Memo"), "New idea");
            ASSERT_TRUE(memos.Save());
        }
        PmMemoInfo again(kPalm6);
        ASSERT_TRUE(again.LoadByFile(path));
        EXPECT_EQ(ColumnOf(again, "Memo"),
                  (std::vector<std::string>{"Groceries\r\nmilk, eggs", "Call Bob", "New idea",
                                            "Other idea"}));
        EXPECT_EQ(Notes(again).size(), 4u);
        const auto& first = *again.GetItemAt(0);
        std::uint32_t status = 0;
        std::uint32_t privateFlag = 0;
        if (generation.version == PM_DATA_CLASSIC) {
            status = first.Classic()->m_dwStatus;
            privateFlag = first.Classic()->m_bPrivate;
            EXPECT_EQ(again.GetItemAt(2)->Classic()->m_dwPlacement, 0x7FFFFFFFu);
        } else if (generation.version == PM_DATA_EX) {
            status = first.Ex()->m_dwStatus;
            privateFlag = first.Ex()->m_dwPrivate;
            EXPECT_EQ(again.GetItemAt(2)->Ex()->m_dwRecordNumber, 4096u + 3u);
            EXPECT_EQ(again.GetItemAt(2)->Ex()->m_dwField3, 3u * 14u);
        } else {
            status = static_cast<std::uint32_t>(first.Ex2()->m_nStatus);
            privateFlag = first.Ex2()->m_byPrivate;
            EXPECT_EQ(again.GetItemAt(2)->Ex2()->m_nPlacement, 0x7FFFFFFF);
        }
        EXPECT_EQ(status & 0x02, 0x02u);
        EXPECT_EQ(privateFlag, 1u);
        EXPECT_EQ(again.GetItemAt(2)->m_pCommon->m_bPrivate, 0);
    }
}

TEST(PmMemoInfo, UpdatesReachRecordsAddedInTheSameRun) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        const std::string path = generation.write(dir, generation.fileName);
        {
            PmMemoInfo memos(kPalm6);
            ASSERT_TRUE(memos.LoadByFile(path));
            ASSERT_TRUE(memos.AddImportRecord(ImportOf(memos, {{"Memo", "Trip\r\nday 1"}})));
            ASSERT_TRUE(memos.AddImportRecord(ImportOf(memos, {{"Memo", "Trip\r\nday 1, 2"}})));
            EXPECT_EQ(memos.GetItemCount(), 3u);
            ASSERT_TRUE(memos.Save());
        }
        PmMemoInfo again(kPalm6);
        ASSERT_TRUE(again.LoadByFile(path));
        EXPECT_EQ(ColumnOf(again, "Memo"),
                  (std::vector<std::string>{"Groceries\r\nmilk", "Call Bob", "Trip\r\nday 1, 2"}));
    }
}

TEST(PmMemoInfo, ImportedCategoryIsCreatedOrFound) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmMemoInfo memos(kPalm6);
        ASSERT_TRUE(memos.LoadByFile(generation.write(dir, generation.fileName)));
        CommNoteRec note = ImportOf(memos, {{"Memo", "Filed"}});
        note.m_szCategory = "Work,Home";
        ASSERT_TRUE(memos.AddImportRecord(note));
        note = ImportOf(memos, {{"Memo", "Filed too"}});
        note.m_szCategory = "Travel";
        ASSERT_TRUE(memos.AddImportRecord(note));
        const auto& filed = *memos.GetItemAt(2);
        const auto& created = *memos.GetItemAt(3);
        if (generation.version == PM_DATA_CLASSIC) {
            EXPECT_EQ(filed.Classic()->m_dwCategoryId, 1u);
            EXPECT_EQ(created.Classic()->m_szCategory, "Travel");
            EXPECT_NE(created.Classic()->m_dwCategoryId, 0u);
        } else if (generation.version == PM_DATA_EX) {
            EXPECT_EQ(filed.Ex()->m_dwCategoryId, 1u);
            EXPECT_EQ(created.Ex()->m_szCategory, "Travel");
        } else {
            EXPECT_EQ(filed.Ex2()->m_nCategoryId, 1);
            EXPECT_EQ(created.Ex2()->m_szCategoryName, "Travel");
        }
    }
}

TEST(PmMemoInfo, AFailedDatabaseWriteAddsNothing) {
    ScopedLogFolder logFolder;
    TempDir dir;
    const std::string path = WriteEx2(dir);
    PmMemoInfo memos(kPalm6);
    ASSERT_TRUE(memos.LoadByFile(path));
    // The table goes away behind the reader's back: every write fails.
    Db6xWriter::Attach(path).Exec("DROP TABLE Main");
    EXPECT_EQ(memos.ImportRecord(ImportOf(memos, {{"Memo", "New idea"}})), kImportFailed);
    EXPECT_EQ(memos.ImportRecord(ImportOf(memos, {{"Memo", "Call Bob\r\nagain"}})), kImportFailed);
    EXPECT_EQ(memos.GetItemCount(), 2u);
    EXPECT_EQ(memos.GetCommMgr().GetCount(), 2u);
    EXPECT_EQ(memos.GetCommMgr().GetAt(1)->m_szNote, "Call Bob");
    EXPECT_EQ(TextOf(memos, 1, "Memo"), "Call Bob");
}

}  // namespace tabrel
