// tabrel-cli on Memos files of the three generations: export of every memo, import of a CSV
// file (an equal memo, a memo with the same first line and a changed text, a new memo) and
// the export after it.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "CliConvertSupport.h"
#include "support/ClassicWriter.h"
#include "support/Db6xWriter.h"
#include "support/LockHolder.h"
#include "support/PalmSgWriter.h"

namespace tabrel {

using namespace test;
using namespace test::cliconvert;

namespace {

// The memos of every file: a private one in category 1 "Work" whose text holds a line
// break, a comma and quotation marks, a plain one, and a deleted one (status 0x80).
const std::string kGroceries = "Groceries\r\nmilk, \"fresh\" eggs";
const std::string kCallBob = "Call Bob";

std::string WriteClassic(const CliWork& work) {
    ClassicFile file = ClassicMemoFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    file.records = {ClassicMemoRecord({.id = 11}, kGroceries, 1, 1),
                    ClassicMemoRecord({.id = 12}, kCallBob),
                    ClassicMemoRecord({.id = 13, .status = 0x80}, "Gone")};
    const std::string path = work.File("memopad.dat");
    WriteFile(path, file.Build());
    return path;
}

std::string WriteEx(const CliWork& work) {
    PalmSgFile file = MemoPadFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    file.records = {MemoRecord({.id = 11, .category = 1, .isPrivate = 1}, kGroceries),
                    MemoRecord({.id = 12}, kCallBob),
                    MemoRecord({.id = 13, .status = 0x80}, "Gone")};
    const std::string path = work.File("memopad.dat");
    WriteFile(path, file.Build());
    return path;
}

std::string WriteEx2(const CliWork& work) {
    const std::string path = work.File("MemoPad.mdb");
    const Db6xWriter db(path, kMemoColumns);
    db.AddCategory(1, "Work");
    int placement = 0;
    for (const auto& [id, status, isPrivate, category, note] :
         {std::tuple{11, 0, 1, 1, kGroceries}, std::tuple{12, 0, 0, 0, kCallBob},
          std::tuple{13, 128, 0, 0, std::string("Gone")}}) {
        db.InsertMain({{"Record ID", std::to_string(id)},
                       {"Status", std::to_string(status)},
                       {"Placement", std::to_string(placement++)},
                       {"Private", std::to_string(isPrivate)},
                       {"Category", "'" + std::to_string(category) + "'"},
                       {"Note", SqlText(note)}});
    }
    return path;
}

// The same round trip for every generation: "Call Bob" again is equal and skipped, the
// groceries with a changed second line match by their first line and are updated, and the
// third memo is new.
RoundTrip MemoTrip(const std::string& dataFile) {
    const std::string changed = "Groceries\r\nmilk, bread";
    const std::string added = "Ideas, \"big\" ones";
    return {.app = "memos",
            .dataFile = dataFile,
            .catalogue = {"Memo"},
            .exported = {{kGroceries}, {kCallBob}},
            .importCsv = CsvLines({{kCallBob}, {changed}, {added}}),
            .importExtra = {},
            .imported = 2,
            .reexported = {{changed}, {kCallBob}, {added}}};
}

}  // namespace

TEST(CliConvertMemos, ClassicFileExportsAndImports) {
    const CliWork work;
    CheckRoundTrip(work, MemoTrip(WriteClassic(work)));
}

TEST(CliConvertMemos, PalmSgFileExportsAndImports) {
    const CliWork work;
    CheckRoundTrip(work, MemoTrip(WriteEx(work)));
}

// The CSV file is UTF-8 here, with a byte-order mark: the new memo reaches the database as the
// same text, and the export (in the ANSI code page, Windows-1252) gives it back in that code
// page.
TEST(CliConvertMemos, Palm6xDatabaseExportsAndImportsUtf8) {
    const CliWork work;
    RoundTrip trip = MemoTrip(WriteEx2(work));
    trip.importCsv = "\xEF\xBB\xBF" +
                     CsvLines({{kCallBob}, {"Groceries\r\nmilk, bread"}, {"Caf\xC3\xA9 ideas"}});
    trip.importExtra = {"--encoding", "utf-8"};
    trip.reexported.back() = {"Caf\xE9 ideas"};
    CheckRoundTrip(work, trip);
}

// A CSV file whose every line is already there converts nothing and leaves the data file
// as it was.
TEST(CliConvertMemos, ImportOfPresentMemosOnlyChangesNothing) {
    const CliWork work;
    const std::string data = WriteEx(work);
    const Bytes before = ReadFile(data);
    const std::string csv = work.File("import.csv");
    WriteTextFile(csv, CsvLines({{kCallBob}, {kGroceries}}));
    const ProgramResult result = work.Import("memos", data, csv);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, Converted(0));
    EXPECT_TRUE(ReadFile(data) == before);
}

// CSV text as people have it imports as its plain form does: lines ended by a CR alone,
// and UTF-8 text behind a byte-order mark, read with the default (ANSI) encoding.
TEST(CliConvertMemos, CrOnlyAndByteOrderMarkCsvImportAsTheirPlainForm) {
    const CliWork work;
    const std::string plain = CsvLines({{"Ideas"}, {"Groceries"}, {"Caf\xE9"}});
    std::string crOnly = plain;
    for (std::size_t at = 0; (at = crOnly.find("\r\n", at)) != std::string::npos; ++at) {
        crOnly.erase(at + 1, 1);
    }
    const std::string bom = "\xEF\xBB\xBF" + CsvLines({{"Ideas"}, {"Groceries"}, {"Caf\xC3\xA9"}});
    std::vector<std::string> exports;
    for (const std::string& text : {plain, crOnly, bom}) {
        const std::string data = WriteEx(work);
        const std::string csv = work.File("import.csv");
        WriteTextFile(csv, text);
        const ProgramResult imported = work.Import("memos", data, csv);
        EXPECT_TRUE(imported.out.starts_with(Converted(3))) << imported.err;
        const std::string out = work.File("out.csv");
        EXPECT_EQ(work.Export("memos", data, out).exitCode, 0);
        exports.push_back(ReadTextFile(out));
    }
    EXPECT_EQ(exports[1], exports[0]);
    EXPECT_EQ(exports[2], exports[0]);
    EXPECT_NE(exports[0].find("\"Caf\xE9\""), std::string::npos);
}

// While another program (a Palm Desktop, under Wine or not) holds a lock on the file, an
// import is refused with a message naming the file and the lock and leaves the file byte
// for byte, without a copy; an export still reads it.
TEST(CliConvertMemos, ImportIntoAFileAnotherProgramLocksIsRefused) {
    const CliWork work;
    const std::string data = WriteEx(work);
    const Bytes before = ReadFile(data);
    const std::string csv = work.File("import.csv");
    WriteTextFile(csv, CsvLines({{"A new memo"}}));
    for (const LockKind kind : {LockKind::RecordRead, LockKind::RecordWrite, LockKind::FlockShared,
                                LockKind::FlockExclusive}) {
        SCOPED_TRACE(static_cast<int>(kind));
        const LockHolder holder(data, kind);
        ASSERT_TRUE(holder.IsHolding());
        const ProgramResult imported = work.Import("memos", data, csv);
        EXPECT_EQ(imported.exitCode, 1);
        EXPECT_TRUE(imported.err.starts_with("Another program (Palm Desktop) is using the file " +
                                             data + ": it holds a lock on the file"))
            << imported.err;
        EXPECT_TRUE(ReadFile(data) == before);
        const ProgramResult exported = work.Export("memos", data, work.File("out.csv"));
        EXPECT_EQ(exported.exitCode, 0) << exported.err;
    }
    for (const auto& entry : std::filesystem::directory_iterator(work.Dir().Path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "memopad.dat" || name.ends_with(".csv") || name == "config") << name;
    }
}

// Each import keeps a copy of the file as it was, names it and keeps the newest five;
// --no-backup keeps none.
TEST(CliConvertMemos, AnImportKeepsTheLastFiveCopiesOfTheFile) {
    const CliWork work;
    const std::string data = WriteEx(work);
    std::vector<std::string> copies;
    for (int i = 0; i < 7; ++i) {
        const Bytes before = ReadFile(data);
        const std::string csv = work.File("import.csv");
        WriteTextFile(csv, CsvLines({{"Memo " + std::to_string(i)}}));
        const ProgramResult imported = work.Import("memos", data, csv);
        const std::string named = Converted(1) + "A copy of the original file was kept: ";
        ASSERT_TRUE(imported.out.starts_with(named + data + ".")) << imported.out;
        copies.push_back(imported.out.substr(named.size(), imported.out.size() - named.size() - 1));
        EXPECT_TRUE(ReadFile(copies.back()) == before);
    }
    for (std::size_t i = 0; i < copies.size(); ++i) {
        EXPECT_EQ(std::filesystem::exists(copies[i]), i >= 2) << copies[i];
    }
    const std::string csv = work.File("import.csv");
    WriteTextFile(csv, CsvLines({{"Memo 7"}}));
    const ProgramResult quiet = work.Import("memos", data, csv, {"--no-backup"});
    EXPECT_EQ(quiet.out, Converted(1));
    std::size_t kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(work.Dir().Path())) {
        kept += entry.path().extension() == ".bak" ? 1 : 0;
    }
    EXPECT_EQ(kept, 5u);
}

}  // namespace tabrel
