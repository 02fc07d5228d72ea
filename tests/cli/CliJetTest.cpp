// tabrel-cli on Palm Desktop 6.x databases in Jet files: for each application, the same rows
// written as a Jet file and as an SQLite database export to the same CSV bytes, and take
// an import alike; info tells the generation; a file it cannot write is refused, and a save
// that fails or is killed leaves the file as it was.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "CliConvertSupport.h"
#include "support/Db6xWriter.h"
#include "support/JetWriter.h"
#include "support/RunProgram.h"

namespace tabrel {

using namespace test;
using namespace test::cliconvert;

namespace {

// A row by column name; the columns not named are NULL (Yes/No columns: No).
using NamedRow = std::map<std::string, JetValue>;

struct AppCase {
    std::string app;       // the tabrel-cli name
    std::string fileName;  // the Palm Desktop file name
    JetPalmApp jetApp;
    std::span<const Db6xColumn> columns;
    std::vector<std::string_view> numberTexts;  // text columns that hold numbers
    NamedRow realistic;                         // a row with the application's own values
    std::string probe;                          // a text of that row the CSV shows (UTF-8)
};

const std::string kLongNote = [] {
    std::string note;
    for (int i = 0; note.size() < 70000; ++i) {
        note += "Zeile " + std::to_string(i) + ", \"quoted\"\r\n";
    }
    return note;
}();

std::vector<AppCase> Apps() {
    const JetValue one(std::int64_t{1});
    return {{"contacts",
             "Address.mdb",
             JetPalmApp::Contacts,
             kAddrColumns,
             {"Category"},
             {{"Category", JetValue(std::string("2"))},
              {"First Name", JetValue(std::string("Åsa"))},
              {"Last Name", JetValue(std::string("O'Neil"))},
              {"Company", JetValue(std::string("Ωμέγα Ltd, \"Athens\""))},
              {"Work Phone", JetValue(std::string("+30 21 0000"))},
              {"Primary Contact", one},
              {"Note", JetValue(kLongNote)}},
             "\"\u00C5sa\""},
            {"calendar",
             "DateBook.mdb",
             JetPalmApp::Calendar,
             kDateColumns,
             {"Category", "Start Time", "End Time"},
             {{"Category", JetValue(std::string("1"))},
              {"Start Time", JetValue(std::string("1136073600"))},
              {"End Time", JetValue(std::string("1136077200"))},
              {"Summary", JetValue(std::string("Neujahr — Grüße"))},
              {"Location", JetValue(std::string())},
              {"Alarm", one},
              {"Alarm Advance", JetValue(std::int64_t{15})},
              {"Note", JetValue(std::string("Bring \"cake\",\r\nplates"))}},
             "Neujahr \u2014 Gr\u00FC\u00DFe"},
            {"tasks",
             "Todolist.mdb",
             JetPalmApp::Tasks,
             kTodoColumns,
             {"Category", "Due Date", "Complete Date", "Alarm Time", "Repeat Start Date"},
             {{"Category", JetValue(std::string("2"))},
              {"Description", JetValue(std::string("Pay the bill — €12"))},
              {"Due Date", JetValue(std::string("1956499199"))},
              {"Completed", one},
              {"Priority", JetValue(std::int64_t{3})},
              {"Note", JetValue(kLongNote)}},
             "Pay the bill \u2014 \u20AC12"},
            {"memos",
             "MemoPad.mdb",
             JetPalmApp::Memos,
             kMemoColumns,
             {},
             {{"Category", JetValue(std::string("1"))},
              {"Private", one},
              {"Note", JetValue(std::string("Grüße\r\n\"quoted\", Ω and 日本"))}},
             "Gr\u00FC\u00DFe\r\n\"\"quoted\"\", ? and ??"}};
}

// The rows of "Main": every column with a distinct value (Db6xWriter::SampleValues), the
// application's own row, and a deleted row.
std::vector<NamedRow> MainRows(const AppCase& app) {
    NamedRow sample;
    for (const auto& [name, text] : Db6xWriter::SampleValues(app.columns, app.numberTexts)) {
        for (const Db6xColumn& column : app.columns) {
            if (column.name == name) {
                const bool number = column.type == "INTEGER" || column.type == "BIT";
                sample[name] = number ? JetValue(std::int64_t{std::stoll(text)}) : JetValue(text);
            }
        }
    }
    sample["Record ID"] = JetValue(std::int64_t{1});
    sample["Status"] = JetValue(std::int64_t{0});
    NamedRow realistic = app.realistic;
    realistic["Record ID"] = JetValue(std::int64_t{2});
    realistic["Status"] = JetValue(std::int64_t{2});
    NamedRow deleted = realistic;
    deleted["Record ID"] = JetValue(std::int64_t{3});
    deleted["Status"] = JetValue(std::int64_t{0x80});
    return {sample, realistic, deleted};
}

std::vector<JetValue> InOrder(std::span<const Db6xColumn> columns, const NamedRow& row) {
    std::vector<JetValue> values;
    for (const Db6xColumn& column : columns) {
        const auto found = row.find(std::string(column.name));
        values.push_back(found != row.end()     ? found->second
                         : column.type == "BIT" ? JetValue(std::int64_t{0})
                                                : JetValue());
    }
    return values;
}

std::string Literal(const Db6xColumn& column, const JetValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        // The UTF-8 bytes as a blob made text: any length, line breaks and quotes as they are.
        static constexpr char kDigits[] = "0123456789ABCDEF";
        std::string hex;
        for (const unsigned char c : *text) {
            hex += kDigits[c >> 4];
            hex += kDigits[c & 15];
        }
        return "CAST(X'" + hex + "' AS TEXT)";
    }
    return column.type == "BIT" ? "0" : "NULL";
}

void InsertSqlite(const Db6xWriter& db, std::string_view table, std::span<const Db6xColumn> columns,
                  const NamedRow& row) {
    const std::vector<JetValue> values = InOrder(columns, row);
    std::string literals;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        literals += (i == 0 ? "" : ", ") + Literal(columns[i], values[i]);
    }
    db.Exec("INSERT INTO " + std::string(table) + " VALUES (" + literals + ")");
}

const std::vector<NamedRow> kCategories = {{{"ID", JetValue(std::int64_t{1})},
                                            {"Name", JetValue(std::string("Business"))},
                                            {"Status", JetValue(std::int64_t{1})},
                                            {"Color", JetValue(std::int64_t{0})}},
                                           {{"ID", JetValue(std::int64_t{2})},
                                            {"Name", JetValue(std::string("Persönlich"))},
                                            {"Status", JetValue(std::int64_t{1})},
                                            {"Color", JetValue(std::int64_t{3})}}};
const std::vector<NamedRow> kInformation = {
    {{"Name", JetValue(std::string("Version"))}, {"Note", JetValue(std::string("6"))}},
    {{"Name", JetValue(std::string("CodePage"))}, {"Note", JetValue(std::string("1252"))}}};

// The same database as a Jet file (compressed text or not) and as an SQLite file.
std::string WriteJetFile(const CliWork& work, const AppCase& app, const std::string& name,
                         bool compress = true, bool longValueMaps = true) {
    std::vector<JetTable> tables = JetPalmTables(app.jetApp);
    for (const NamedRow& row : kInformation) {
        tables[0].rows.push_back(InOrder(kInformationColumns, row));
    }
    for (const NamedRow& row : kCategories) {
        tables[1].rows.push_back(InOrder(kCategoryColumns, row));
    }
    for (const NamedRow& row : MainRows(app)) {
        tables[2].rows.push_back(InOrder(app.columns, row));
    }
    const std::string path = work.File(name);
    WriteFile(path, BuildJetDatabase(tables, {compress, "", longValueMaps}));
    return path;
}

std::string WriteSqliteFile(const CliWork& work, const AppCase& app) {
    const std::string path = work.File("sqlite-" + app.fileName);
    const Db6xWriter db(path, app.columns);
    for (const NamedRow& row : kInformation) {
        InsertSqlite(db, "Information", kInformationColumns, row);
    }
    for (const NamedRow& row : kCategories) {
        InsertSqlite(db, "Category", kCategoryColumns, row);
    }
    for (const NamedRow& row : MainRows(app)) {
        InsertSqlite(db, "Main", app.columns, row);
    }
    return path;
}

timespec ModifiedAt(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mtim;
}

}  // namespace

TEST(CliJet, EveryApplicationExportsAsItsSqliteTwinDoes) {
    for (const AppCase& app : Apps()) {
        SCOPED_TRACE(app.app);
        const CliWork work;
        const std::string sqlite = WriteSqliteFile(work, app);
        const ProgramResult expected = work.Export(app.app, sqlite, work.File("sqlite.csv"),
                                                   {"--title", "--encoding", "utf-8"});
        ASSERT_EQ(expected.exitCode, 0) << expected.err;
        EXPECT_EQ(expected.out, Converted(2));
        const std::string csv = ReadTextFile(work.File("sqlite.csv"));
        for (const bool compress : {true, false}) {
            const std::string jet = WriteJetFile(work, app, app.fileName, compress);
            const Bytes before = ReadFile(jet);
            const ProgramResult result =
                work.Export(app.app, jet, work.File("jet.csv"), {"--title", "--encoding", "utf-8"});
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(result.err, "");
            EXPECT_EQ(result.out, Converted(2));
            EXPECT_EQ(ReadTextFile(work.File("jet.csv")), csv);
            EXPECT_TRUE(ReadFile(jet) == before);
        }
        // The export is no empty agreement: the application's own row is in it.
        EXPECT_NE(csv.find(app.probe), std::string::npos) << csv.substr(0, 2000);
    }
}

TEST(CliJet, ExportsNonLatinTextInTheAnsiCodePage) {
    const CliWork work;
    const AppCase memos = Apps().back();
    const std::string jet = WriteJetFile(work, memos, memos.fileName);
    const ProgramResult result = work.Export("memos", jet, work.File("memos.csv"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadTextFile(work.File("memos.csv")), CsvLines({{"c5"},
                                                              {"Gr\xFC\xDF"
                                                               "e\r\n\"quoted\", ? and ??"}}));
}

TEST(CliJet, InfoTellsTheGeneration) {
    const CliWork work;
    for (const AppCase& app : Apps()) {
        const std::string jet = WriteJetFile(work, app, app.fileName);
        const ProgramResult result = work.Run({"info", "--file", jet});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const std::string title = app.app == "contacts"   ? "Contacts"
                                  : app.app == "calendar" ? "Calendar"
                                  : app.app == "tasks"    ? "Tasks"
                                                          : "Memos";
        EXPECT_EQ(result.out,
                  "Application: " + title + "\nGeneration: Palm Desktop 6.x\nRecords: 2\n");
    }
}

TEST(CliJet, ImportIntoAJetFileItCannotWriteIsRefusedAndChangesNothing) {
    const CliWork work;
    const std::string csv = work.File("import.csv");
    WriteTextFile(csv, CsvLines({{"A new memo"}}));
    for (const AppCase& app : Apps()) {
        SCOPED_TRACE(app.app);
        // Without the long-value page maps a real engine writes, the file cannot be written.
        const std::string jet = WriteJetFile(work, app, app.fileName, true, false);
        const Bytes before = ReadFile(jet);
        const timespec modified = ModifiedAt(jet);
        const ProgramResult result = work.Import(app.app, jet, csv);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "The Palm Desktop 6.x database " + jet +
                                  " cannot be written safely. The table Information cannot be "
                                  "written: a long-value column has no page map. Nothing was "
                                  "written. Export the records to CSV, or choose a file of Palm "
                                  "Desktop 4.x.\n");
        EXPECT_TRUE(ReadFile(jet) == before);
        const timespec after = ModifiedAt(jet);
        EXPECT_EQ(after.tv_sec, modified.tv_sec);
        EXPECT_EQ(after.tv_nsec, modified.tv_nsec);
    }
    // An SQLite 6.x database stays writable.
    const AppCase memos = Apps().back();
    const ProgramResult sqlite = work.Import("memos", WriteSqliteFile(work, memos), csv);
    EXPECT_EQ(sqlite.exitCode, 0) << sqlite.err;
    EXPECT_TRUE(sqlite.out.starts_with(Converted(1) + "A copy of the original file was kept: "))
        << sqlite.out;
}

// Every application: the export of the SQLite twin, with one text changed, imported into
// the Jet file and into the twin; both then export the same CSV, and a second import
// changes nothing.
TEST(CliJet, EveryApplicationImportsAsItsSqliteTwinDoes) {
    const std::vector<std::string> utf8 = {"--encoding", "utf-8"};
    for (const AppCase& app : Apps()) {
        SCOPED_TRACE(app.app);
        const CliWork work;
        const std::string sqlite = WriteSqliteFile(work, app);
        const std::string jet = WriteJetFile(work, app, app.fileName);
        ASSERT_EQ(work.Export(app.app, sqlite, work.File("base.csv"), utf8).exitCode, 0);
        std::string csv = ReadTextFile(work.File("base.csv"));
        const std::size_t at = csv.find(app.probe);
        ASSERT_NE(at, std::string::npos);
        csv.insert(at + app.probe.size(), " (changed)");
        WriteTextFile(work.File("in.csv"), csv);
        for (const std::string& file : {jet, sqlite}) {
            const ProgramResult imported = work.Import(app.app, file, work.File("in.csv"), utf8);
            EXPECT_EQ(imported.exitCode, 0) << imported.err;
            EXPECT_EQ(work.Export(app.app, file, file + ".csv", utf8).exitCode, 0);
        }
        const std::string fromJet = ReadTextFile(jet + ".csv");
        EXPECT_EQ(fromJet, ReadTextFile(sqlite + ".csv"));
        EXPECT_NE(fromJet, ReadTextFile(work.File("base.csv")));  // the change went in
        const ProgramResult again = work.Import(app.app, jet, work.File("in.csv"), utf8);
        EXPECT_TRUE(again.out.starts_with(Converted(0))) << again.out << again.err;
    }
}

// An import into a Jet file an independent library wrote, and into its SQLite twin: later
// exports give the same CSV; the new records take the next Record IDs; a second import of
// the same CSV changes nothing.
TEST(CliJet, ImportIntoAJetFileExportsAsItsSqliteTwinDoes) {
    const std::string examples = TABREL_EXAMPLES_DIR;
    const std::string jetSource = examples + "/export-jet-tasks/Todolist.mdb";
    if (!std::filesystem::exists(jetSource)) {
        GTEST_SKIP() << "no " << jetSource;
    }
    const CliWork work;
    std::filesystem::create_directories(work.File("jet"));
    std::filesystem::create_directories(work.File("sqlite"));
    const std::string jet = work.File("jet/Todolist.mdb");
    const std::string sqlite = work.File("sqlite/Todolist.mdb");
    WriteFile(jet, ReadFile(jetSource));
    WriteFile(sqlite, ReadFile(examples + "/export-6x-tasks/Todolist.mdb"));
    const std::string csv = work.File("in.csv");
    WriteTextFile(csv, CsvLines({{"New task one", "Note one"}, {"New task two", "Note, two"}}));
    for (const std::string& file : {jet, sqlite}) {
        const ProgramResult imported =
            work.Import("tasks", file, csv, {"--fields", "Description,Note"});
        EXPECT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_TRUE(imported.out.starts_with(Converted(2))) << imported.out;
        EXPECT_EQ(work.Export("tasks", file, file + ".csv").exitCode, 0);
    }
    EXPECT_EQ(ReadTextFile(jet + ".csv"), ReadTextFile(sqlite + ".csv"));
    EXPECT_EQ(ReadTextFile(jet + ".csv").find("New task two"),
              ReadTextFile(sqlite + ".csv").find("New task two"));
    const ProgramResult ids = RunProgramAndWait(FindTool("mdb-export"), {"-Q", jet, "Main"});
    EXPECT_NE(ids.out.find("\n7,1,"), std::string::npos) << ids.out.substr(0, 200);
    EXPECT_NE(ids.out.find("\n8,1,"), std::string::npos);
    EXPECT_EQ(Db6xWriter::Attach(sqlite).Rows("SELECT [Record ID] FROM Main WHERE [Record ID] > 6"),
              (std::vector<std::vector<std::string>>{{"7"}, {"8"}}));
    const ProgramResult again = work.Import("tasks", jet, csv, {"--fields", "Description,Note"});
    EXPECT_TRUE(again.out.starts_with(Converted(0))) << again.out << again.err;
}

// A save killed at any moment leaves the file as it was or as the whole import makes it; a
// full disk or a folder that takes no new file leaves it as it was, and the message says
// why.
TEST(CliJet, AKilledOrFailedSaveLeavesTheOldFileOrTheWholeNewOne) {
    const CliWork work;
    const AppCase contacts = Apps().front();
    const std::string jet = WriteJetFile(work, contacts, contacts.fileName);
    const Bytes before = ReadFile(jet);
    const std::string csv = work.File("in.csv");
    WriteTextFile(csv, CsvLines({{"New", "Person"}, {"Other", "Person"}}));
    const std::vector<std::string> args = {"import",     "--app",    "contacts",
                                           "--file",     jet,        "--csv",
                                           csv,          "--fields", "First Name,Last Name",
                                           "--no-backup"};
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunProgramAndWait(TABREL_CLI, args).exitCode, 0);
    const auto took = std::chrono::steady_clock::now() - started;
    const Bytes after = ReadFile(jet);
    ASSERT_FALSE(after == before);

    // Ended at steps of a twelfth of the run, until one run ends by itself (a loaded
    // machine may run slower than the first run did).
    int old = 0;
    int whole = 0;
    for (int step = 0; step <= 48; ++step) {
        WriteFile(jet, before);
        const auto at = std::chrono::duration_cast<std::chrono::microseconds>(took * step / 12);
        const int exitCode =
            RunProgramAndWait(TABREL_CLI, args, [at] {
                const itimerval timer{{0, 0}, {at.count() / 1000000, at.count() % 1000000 + 1}};
                ::setitimer(ITIMER_REAL, &timer, nullptr);  // SIGALRM ends it
            }).exitCode;
        const Bytes now = ReadFile(jet);
        EXPECT_TRUE(now == before || now == after) << "killed after " << at.count() << " us";
        old += now == before ? 1 : 0;
        whole += now == after ? 1 : 0;
        if (exitCode == 0) {
            break;
        }
    }
    EXPECT_GT(old, 0);
    EXPECT_GT(whole, 0);

    const auto refused = [&](const std::function<void()>& limit, const std::string& reason) {
        WriteFile(jet, before);
        const ProgramResult result = RunProgramAndWait(TABREL_CLI, args, limit);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "Error saving the Palm Desktop database " + jet + ": " + reason +
                                  ". No records were converted.\n");
        EXPECT_TRUE(ReadFile(jet) == before);
    };
    // A file may grow no larger than half the database: as a disk that fills up.
    refused(
        [&before] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{before.size() / 2, before.size() / 2};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        },
        "File too large");
    ASSERT_EQ(::chmod(work.Dir().Folder().c_str(), 0555), 0);
    refused(
        [] {
            // The superuser writes anywhere: the program runs as nobody.
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                std::_Exit(126);
            }
        },
        "Permission denied");
    ::chmod(work.Dir().Folder().c_str(), 0700);
    for (const auto& entry : std::filesystem::directory_iterator(work.Dir().Folder())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << entry.path();
    }
}

// An import into a 6.x database in SQLite form is one transaction: when its end cannot be
// written (the file may not grow), the database holds none of it.
TEST(CliJet, AnSqliteImportThatCannotBeSavedLeavesNothingBehind) {
    const CliWork work;
    const AppCase memos = Apps().back();
    const std::string sqlite = WriteSqliteFile(work, memos);
    ASSERT_EQ(work.Export("memos", sqlite, work.File("before.csv")).exitCode, 0);
    std::vector<Values> lines;
    for (int i = 0; i < 300; ++i) {
        lines.push_back({"Memo " + std::to_string(i) + " " + std::string(2000, 'm')});
    }
    WriteTextFile(work.File("in.csv"), CsvLines(lines));
    const auto size = static_cast<rlim_t>(std::filesystem::file_size(sqlite));
    const ProgramResult result = RunProgramAndWait(
        TABREL_CLI,
        {"import", "--app", "memos", "--file", sqlite, "--csv", work.File("in.csv"), "--no-backup"},
        [size] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{size, size};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Error saving the Palm Desktop database. No records were converted.\n");
    ASSERT_EQ(work.Export("memos", sqlite, work.File("after.csv")).exitCode, 0);
    EXPECT_EQ(ReadTextFile(work.File("after.csv")), ReadTextFile(work.File("before.csv")));
}

TEST(CliJet, DamagedJetFileIsNoPalmDesktopFile) {
    const CliWork work;
    const AppCase memos = Apps().back();
    const std::string jet = WriteJetFile(work, memos, memos.fileName);
    Bytes bytes = ReadFile(jet);
    bytes.resize(bytes.size() - 1000);
    WriteFile(jet, bytes);
    const ProgramResult result = work.Export("memos", jet, work.File("out.csv"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Invalid Palm Desktop Memos database file.\n");
    EXPECT_TRUE(ReadFile(jet) == bytes);
}

}  // namespace tabrel
