#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

#include "palm/db6x/DbOpen.h"
#include "palm/db6x/PmMemoEx2Util.h"
#include "palm/db6x/TdmMain.h"
#include "palm/db6x/jet/JetEngine.h"
#include "support/EnvGuards.h"
#include "support/JetWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

using test::JetColumn;
using test::JetTable;
using test::JetType;
using test::JetValue;

// A Jet file of tables written into the folder; its path.
std::string WriteJet(const test::TempDir& dir, const std::string& name,
                     const std::vector<JetTable>& tables, const test::JetOptions& options = {}) {
    const std::string path = dir.File(name);
    test::WriteFile(path, test::BuildJetDatabase(tables, options));
    return path;
}

std::unique_ptr<DbDatabase> Open(const std::string& path) {
    std::string error;
    auto db = OpenDbFile(path, error);
    EXPECT_NE(db, nullptr) << error;
    return db;
}

// Every row of a query; a failed query fails the test.
std::vector<DbRow> Rows(DbDatabase& db, const std::string& sql) {
    std::string error;
    std::vector<DbRow> rows;
    auto cursor = db.Query(sql, error);
    EXPECT_NE(cursor, nullptr) << sql << ": " << error;
    while (cursor != nullptr && !cursor->AtEnd()) {
        rows.push_back(cursor->ReadRow());
        cursor->Next(error);
    }
    return rows;
}

// One column of every type, and a row holding a value in each.
JetTable EveryTypeTable() {
    JetTable table{"Main",
                   {{"Id", JetType::Long, 255, true},
                    {"Flag", JetType::Bool},
                    {"Small", JetType::Byte},
                    {"Short", JetType::Int},
                    {"Long", JetType::Long},
                    {"Money", JetType::Money},
                    {"Single", JetType::Float},
                    {"Double", JetType::Double},
                    {"When", JetType::DateTime},
                    {"Raw", JetType::Binary, 16},
                    {"Name", JetType::Text, 50},
                    {"Picture", JetType::Ole},
                    {"Note", JetType::Memo},
                    {"Guid", JetType::Guid},
                    {"Decimal", JetType::Numeric}},
                   {}};
    table.rows.push_back({JetValue(std::int64_t{1}), JetValue(std::int64_t{1}),
                          JetValue(std::int64_t{200}), JetValue(std::int64_t{-5}),
                          JetValue(std::int64_t{-123456}), JetValue(12.3456), JetValue(1.5),
                          JetValue(2.25), JetValue(45000.5), JetValue(std::string("\x01\x02\xFF")),
                          JetValue(std::string("Hello")), JetValue(std::string("\x00\x7F", 2)),
                          JetValue(std::string("A memo")),
                          JetValue(std::string("{01234567-89AB-CDEF-0123-456789ABCDEF}")),
                          JetValue(std::string("-12.345"))});
    return table;
}

struct FileTimes {
    timespec atime{};
    timespec mtime{};
    timespec ctime{};
};

FileTimes TimesOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return {info.st_atim, info.st_mtim, info.st_ctim};
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Sets the file's access and change times two days back, so that a read that updated the
// access time would show.
void AgeFile(const std::string& path) {
    const timespec old{::time(nullptr) - 2 * 86400, 0};
    const std::array<timespec, 2> times = {old, old};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times.data(), 0), 0);
}

}  // namespace

TEST(JetEngine, ReadsEachColumnTypeAsItsKind) {
    const test::TempDir dir;
    const auto db = Open(WriteJet(dir, "types.mdb", {EveryTypeTable()}));
    ASSERT_NE(db, nullptr);
    const auto rows = Rows(*db, "SELECT * FROM Main");
    ASSERT_EQ(rows.size(), 1U);
    const DbRow expected = {DbValue::Integer(1),
                            DbValue::Boolean(-1),
                            DbValue::Integer(200),
                            DbValue::Integer(-5),
                            DbValue::Integer(-123456),
                            {},
                            {},
                            {},
                            {},
                            {},
                            DbValue::Text(u"Hello"),
                            {},
                            DbValue::Text(u"A memo"),
                            {},
                            {}};
    EXPECT_EQ(rows[0], expected);
    // The values that read as empty are still held, as their numbers and bytes.
    EXPECT_EQ(Rows(*db,
                   "SELECT [Id] FROM Main WHERE [Money] = 12.3456 AND [Single] = 1.5 AND "
                   "[Double] = 2.25 AND [When] = 45000.5 AND hex([Raw]) = '0102FF' AND "
                   "hex([Picture]) = '007F' AND length([Guid]) = 16 AND length([Decimal]) = 17")
                  .size(),
              1U);
}

TEST(JetEngine, KeepsNullsApartFromEmptyTextsAndComparesTextWithoutCase) {
    const test::TempDir dir;
    JetTable table{
        "Main", {{"Id", JetType::Long}, {"Name", JetType::Text}, {"Note", JetType::Memo}}, {}};
    table.rows.push_back({JetValue(std::int64_t{1}), JetValue(), JetValue()});
    table.rows.push_back(
        {JetValue(std::int64_t{2}), JetValue(std::string()), JetValue(std::string())});
    table.rows.push_back({JetValue(), JetValue(std::string("Smith")), JetValue(std::string("x"))});
    const auto db = Open(WriteJet(dir, "nulls.mdb", {table}));
    ASSERT_NE(db, nullptr);
    const auto rows = Rows(*db, "SELECT [Id], [Name], [Note] FROM Main");
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0], (DbRow{DbValue::Integer(1), {}, {}}));
    EXPECT_EQ(rows[1], (DbRow{DbValue::Integer(2), DbValue::Text(u""), DbValue::Text(u"")}));
    EXPECT_EQ(rows[2], (DbRow{{}, DbValue::Text(u"Smith"), DbValue::Text(u"x")}));
    EXPECT_EQ(Rows(*db, "SELECT [Id] FROM Main WHERE [Name] IS NULL AND [Note] IS NULL").size(),
              1U);
    EXPECT_EQ(Rows(*db, "SELECT [Id] FROM Main WHERE [Name] = 'SMITH'").size(), 1U);
    EXPECT_EQ(Rows(*db, "SELECT [Id] FROM Main WHERE LEFT([Name], 2) = 'Sm'").size(), 1U);
}

TEST(JetEngine, LoadsEmptyTablesAndLeavesMissingOnesMissing) {
    const test::TempDir dir;
    auto tables = test::JetPalmTables(test::JetPalmApp::Memos);
    tables.pop_back();  // no "Main"
    const auto db = Open(WriteJet(dir, "empty.mdb", tables));
    ASSERT_NE(db, nullptr);
    EXPECT_TRUE(Rows(*db, "SELECT [Name], [Note] FROM Information").empty());
    EXPECT_TRUE(Rows(*db, "SELECT [ID], [Name], [Status], [Color] FROM Category").empty());
    std::string error;
    EXPECT_EQ(db->Query("SELECT [Note] FROM Main", error), nullptr);
    EXPECT_EQ(error, "no such table: Main");
}

TEST(JetEngine, ReadsLongMemosAndOleValuesWhole) {
    const test::TempDir dir;
    std::string memo;
    for (int i = 0; memo.size() < 100000; ++i) {
        memo += "line " + std::to_string(i) + "\r\n";
    }
    memo.resize(100000);
    const std::string wide = "Ωμέγα 日本 " + std::string(70000, 'w');
    std::string ole(150000, '\0');
    for (std::size_t i = 0; i < ole.size(); ++i) {
        ole[i] = static_cast<char>(i * 7);
    }
    JetTable table{"Main", {{"Note", JetType::Memo}, {"Blob", JetType::Ole}}, {}};
    table.rows.push_back({JetValue(memo), JetValue(ole)});
    table.rows.push_back({JetValue(wide), JetValue()});
    for (const bool compress : {true, false}) {
        const auto db = Open(WriteJet(dir, "long.mdb", {table}, {compress, ""}));
        ASSERT_NE(db, nullptr);
        const auto rows = Rows(*db, "SELECT [Note] FROM Main");
        ASSERT_EQ(rows.size(), 2U);
        EXPECT_EQ(rows[0][0].GetText(), std::u16string(memo.begin(), memo.end()));
        EXPECT_EQ(rows[1][0].GetText(), u"Ωμέγα 日本 " + std::u16string(70000, u'w'));
        std::string hex;
        for (const unsigned char c : ole) {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            hex += kDigits[c >> 4];
            hex += kDigits[c & 15];
        }
        EXPECT_EQ(
            Rows(*db, "SELECT length([Note]) FROM Main WHERE hex([Blob]) = '" + hex + "'").size(),
            1U);
    }
}

TEST(JetEngine, LoadsOnlyThePalmTablesWithEveryColumnInStoredOrder) {
    const test::TempDir dir;
    JetTable other{"Other", {{"Id", JetType::Long}}, {{JetValue(std::int64_t{9})}}};
    JetTable main{
        "MAIN",
        {{"Note", JetType::Memo}, {"Extra", JetType::Text}, {"Id", JetType::Long}},
        {{JetValue(std::string("n")), JetValue(std::string("e")), JetValue(std::int64_t{4})}}};
    const auto db = Open(WriteJet(dir, "extra.mdb", {other, main}));
    ASSERT_NE(db, nullptr);
    const auto rows = Rows(*db, "SELECT * FROM Main");
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0], (DbRow{DbValue::Text(u"n"), DbValue::Text(u"e"), DbValue::Integer(4)}));
    std::string error;
    EXPECT_EQ(db->Query("SELECT [Id] FROM Other", error), nullptr);
    EXPECT_EQ(error, "no such table: Other");
}

TEST(JetEngine, NamesReachTheCopyAsUtf8WhateverTheEnvironmentSays) {
    const test::ScopedEnv charset("MDBICONV", "ISO-8859-1");
    const test::TempDir dir;
    JetTable table{"Main", {{"Größe Ω", JetType::Long}}, {{JetValue(std::int64_t{3})}}};
    const auto db = Open(WriteJet(dir, "names.mdb", {table}));
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(Rows(*db, "SELECT [Größe Ω] FROM Main"), (std::vector<DbRow>{{DbValue::Integer(3)}}));
}

TEST(JetEngine, RefusesEveryCommandAndLeavesTheFileAsItWas) {
    const test::TempDir dir;
    // Without the long-value page maps a real engine writes, the table cannot be written.
    const std::string path =
        WriteJet(dir, "refuse.mdb", {EveryTypeTable()}, test::WithoutLongValueMaps());
    const test::Bytes before = test::ReadFile(path);
    const auto db = Open(path);
    ASSERT_NE(db, nullptr);
    for (const char* sql : {"DELETE FROM Main", "UPDATE Main SET [Name]='x'",
                            "INSERT INTO Main ([Id]) VALUES (2)", "SELECT * FROM Main"}) {
        std::int64_t changed = 7;
        std::string error;
        EXPECT_FALSE(db->Execute(sql, changed, error)) << sql;
        EXPECT_EQ(error, "The table Main cannot be written: a long-value column has no page map.");
        EXPECT_EQ(changed, 0);
    }
    // The copy refuses changes made through a query as well.
    std::string error;
    EXPECT_EQ(db->Query("DELETE FROM Main RETURNING [Id]", error), nullptr);
    EXPECT_EQ(Rows(*db, "SELECT [Id] FROM Main").size(), 1U);
    EXPECT_TRUE(test::ReadFile(path) == before);
}

TEST(JetEngine, WriteRecordOnAJetDatabaseItCannotWriteAnswersFalse) {
    const test::TempDir dir;
    auto tables = test::JetPalmTables(test::JetPalmApp::Memos);
    tables[1].rows.push_back({JetValue(std::int64_t{1}), JetValue(std::string("Business")),
                              JetValue(std::int64_t{1}), JetValue(std::int64_t{0})});
    tables[2].rows.push_back({JetValue(std::int64_t{5}), JetValue(std::int64_t{0}),
                              JetValue(std::int64_t{0}), JetValue(std::int64_t{0}),
                              JetValue(std::string("1")), JetValue(std::string("Old")),
                              JetValue()});
    const std::string path = WriteJet(dir, "MemoPad.mdb", tables, test::WithoutLongValueMaps());
    const test::Bytes before = test::ReadFile(path);
    {
        PmMemoEx2Util memos;
        ASSERT_TRUE(memos.LoadFile(path));
        ASSERT_EQ(memos.GetDataMgr().GetRecordCount(), 1U);
        PmMemoEx2Record record = *memos.GetDataMgr().GetRecordAt(0);
        EXPECT_EQ(record.m_szNote, "Old");
        record.m_szNote = "New";
        EXPECT_FALSE(memos.WriteRecord(record));
        record.m_nRecordId = 6;
        EXPECT_FALSE(memos.WriteRecord(record));
    }
    dmMain().CloseAll();
    EXPECT_TRUE(test::ReadFile(path) == before);
}

TEST(JetEngine, ConvertsNonLatinTextToTheCodePageThroughTheReaders) {
    const test::TempDir dir;
    auto tables = test::JetPalmTables(test::JetPalmApp::Memos);
    tables[2].rows.push_back({JetValue(std::int64_t{1}), JetValue(std::int64_t{0}),
                              JetValue(std::int64_t{0}), JetValue(std::int64_t{0}),
                              JetValue(std::string("0")), JetValue(std::string("Grüße, Ωμέγα €")),
                              JetValue()});
    const std::string path = WriteJet(dir, "MemoPad.mdb", tables);
    {
        PmMemoEx2Util memos;
        ASSERT_TRUE(memos.LoadFile(path));
        ASSERT_EQ(memos.GetDataMgr().GetRecordCount(), 1U);
        EXPECT_EQ(memos.GetDataMgr().GetRecordAt(0)->m_szNote,
                  "Gr\xFC\xDF"
                  "e, ????? \x80");
    }
    dmMain().CloseAll();
}

TEST(JetEngine, RefusesDamagedTruncatedAndForeignFilesWithTheirReasons) {
    const test::TempDir dir;
    const test::Bytes good = test::BuildJetDatabase(test::JetPalmTables(test::JetPalmApp::Memos));
    struct Case {
        std::string name;
        test::Bytes bytes;
        std::string reason;
    };
    std::vector<Case> cases;
    test::Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() - 100));
    cases.push_back({"cut.mdb", cut,
                     "The file is damaged or truncated: its size is not a whole number of pages."});
    cases.push_back({"short.mdb", test::Bytes(good.begin(), good.begin() + 2 * 4096),
                     "The file is truncated: it ends before the system catalogue."});
    test::Bytes jet3 = good;
    jet3[0x14] = 0;
    cases.push_back({"jet3.mdb", jet3,
                     "The file is a Jet 3 (Access 97) database, not a Palm Desktop 6.x database."});
    test::Bytes ace = good;
    ace[0x14] = 2;
    cases.push_back(
        {"ace.mdb", ace,
         "The file is a Jet database of an unknown version (2), not a Palm Desktop 6.x database."});
    test::Bytes page0 = good;
    page0[0] = 1;
    cases.push_back({"page0.mdb", page0, "The file is not a Jet database."});
    test::Bytes noCatalogue = good;
    std::fill(noCatalogue.begin() + 2 * 4096, noCatalogue.begin() + 3 * 4096, 0);
    cases.push_back({"nocatalogue.mdb", noCatalogue,
                     "The file is damaged: its system catalogue cannot be read."});
    for (const Case& c : cases) {
        const std::string path = dir.File(c.name);
        test::WriteFile(path, c.bytes);
        std::string error;
        EXPECT_EQ(OpenJetFile(path, error), nullptr) << c.name;
        EXPECT_EQ(error, c.reason) << c.name;
    }
    std::string error;
    EXPECT_EQ(OpenDbFile(dir.File("page0.mdb"), error), nullptr);
    EXPECT_EQ(error, "The file is not a Jet database.");
    test::WriteFile(dir.File("text.mdb"), test::Bytes{'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(OpenDbFile(dir.File("text.mdb"), error), nullptr);
    EXPECT_EQ(error, "The file is not a database that can be read.");
    EXPECT_EQ(OpenDbFile(dir.File("missing.mdb"), error), nullptr);
    EXPECT_EQ(error, "The file cannot be read: No such file or directory.");
}

TEST(JetEngine, RefusesAFileCutAtAPageBoundary) {
    const test::TempDir dir;
    auto tables = test::JetPalmTables(test::JetPalmApp::Memos);
    for (std::int64_t id = 1; id <= 60; ++id) {
        tables[2].rows.push_back({JetValue(id), JetValue(std::int64_t{0}), JetValue(id),
                                  JetValue(std::int64_t{0}), JetValue(std::string("0")),
                                  JetValue(std::string(static_cast<std::size_t>(id) * 40, 'm')),
                                  JetValue()});
    }
    const test::Bytes good = test::BuildJetDatabase(tables);
    std::string error;
    for (std::size_t pages = 1; pages <= 3; ++pages) {
        const std::string path = dir.File("cut" + std::to_string(pages) + ".mdb");
        test::WriteFile(path, test::Bytes(good.begin(), good.end() - 4096 * pages));
        EXPECT_EQ(OpenDbFile(path, error), nullptr) << pages;
        EXPECT_TRUE(error.starts_with("The file is damaged")) << error;
    }
}

TEST(JetEngine, RefusesAPasswordProtectedFile) {
    const test::TempDir dir;
    const std::string path =
        WriteJet(dir, "secret.mdb", test::JetPalmTables(test::JetPalmApp::Tasks), {true, "pw"});
    std::string error;
    EXPECT_EQ(OpenDbFile(path, error), nullptr);
    EXPECT_EQ(error, "The database is password-protected.");
    // The reader's load fails with the connection-error line naming the reason.
    const test::LogCapture log;
    EXPECT_FALSE(PmMemoEx2Util().LoadFile(path));
    EXPECT_TRUE(
        log.Has("Database Connection Error, Connection String=Provider=Microsoft.Jet."
                "OLEDB.4.0;Data Source=\"" +
                path + "\", Error=The database is password-protected."));
    dmMain().CloseAll();
}

TEST(JetEngine, LeavesBytesAndTimesOfTheFileUnchanged) {
    const test::TempDir dir;
    const std::string path = WriteJet(dir, "times.mdb", {EveryTypeTable()});
    AgeFile(path);
    const test::Bytes bytes = test::ReadFile(path);
    AgeFile(path);
    const FileTimes before = TimesOf(path);
    {
        const auto db = Open(path);
        ASSERT_NE(db, nullptr);
        EXPECT_EQ(Rows(*db, "SELECT [Id] FROM Main").size(), 1U);
    }
    const FileTimes after = TimesOf(path);
    EXPECT_TRUE(SameTime(before.mtime, after.mtime));
    EXPECT_TRUE(SameTime(before.ctime, after.ctime));
    EXPECT_TRUE(SameTime(before.atime, after.atime));
    EXPECT_TRUE(test::ReadFile(path) == bytes);
}

TEST(JetEngine, ReadsAFileAnotherProgramHoldsLocked) {
    const test::TempDir dir;
    const std::string path = WriteJet(dir, "locked.mdb", {EveryTypeTable()});
    const test::Bytes bytes = test::ReadFile(path);
    std::array<int, 2> ready{};
    ASSERT_EQ(::pipe(ready.data()), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        // Another program: holds a write lock on the whole file until it is ended.
        const int fd = ::open(path.c_str(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        const bool locked = fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0;
        const char answer = locked ? 'L' : 'F';
        (void)!::write(ready[1], &answer, 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(answer, 'L');
    {
        // The lock is there: a write lock from this process is refused.
        const int fd = ::open(path.c_str(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        EXPECT_EQ(::fcntl(fd, F_GETLK, &lock), 0);
        EXPECT_EQ(lock.l_pid, holder);
        ::close(fd);
    }
    const auto db = Open(path);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(Rows(*db, "SELECT [Name] FROM Main")[0][0].GetText(), u"Hello");
    EXPECT_TRUE(test::ReadFile(path) == bytes);
}

TEST(JetEngine, RefusesAFileItMayNotRead) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop the superuser";
    }
    const test::TempDir dir;
    const std::string path = WriteJet(dir, "closed.mdb", {EveryTypeTable()});
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    std::string error;
    EXPECT_EQ(OpenDbFile(path, error), nullptr);
    EXPECT_EQ(error, "The file cannot be read: Permission denied.");
}

}  // namespace tabrel
