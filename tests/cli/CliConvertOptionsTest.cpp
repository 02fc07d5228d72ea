// tabrel-cli's conversion options (--title, --quote, --encoding), its refusals and failures
// with their messages, and the fields and info commands.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "CliConvertSupport.h"
#include "support/ClassicWriter.h"
#include "support/Db6xWriter.h"
#include "support/PalmSgWriter.h"
#include "support/PmAddrInfoTestFiles.h"
#include "support/PmDateInfoTestFiles.h"

namespace tabrel {

using namespace test;
using namespace test::cliconvert;

namespace {

namespace fs = std::filesystem;

// A classic memopad.dat with the given memos.
std::string WriteClassicMemos(const CliWork& work, const std::vector<std::string>& memos) {
    ClassicFile file = ClassicMemoFile();
    std::uint32_t id = 11;
    for (const std::string& memo : memos) {
        file.records.push_back(ClassicMemoRecord({.id = id++}, memo));
    }
    const std::string path = work.File("memopad.dat");
    WriteFile(path, file.Build());
    return path;
}

// A 6.x Todolist.mdb with two tasks and a deleted one.
std::string WriteTasks6x(const CliWork& work) {
    const std::string path = work.File("Todolist.mdb");
    const Db6xWriter db(path, kTodoColumns);
    int id = 11;
    for (const char* status : {"0", "0", "128"}) {
        db.InsertZeroRow(kTodoColumns, {{"Record ID", std::to_string(id++)},
                                        {"Status", status},
                                        {"Category", "'0'"},
                                        {"Description", "'Task'"},
                                        {"Due Date", "'1956499199'"},
                                        {"Priority", "3"}});
    }
    return path;
}

// Every file in the work folder but the settings folder, by name.
std::vector<std::string> FilesIn(const CliWork& work) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(work.Dir().Path())) {
        if (entry.path().filename() != "config") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// The title row holds the catalogue names, unquoted; single quotation marks enclose the
// values, doubled inside them; Windows-1252 text is written as UTF-8.
TEST(CliConvertOptions, TitleSingleQuoteAndUtf8) {
    const CliWork work;
    const std::string data = WriteClassicMemos(work, {"Caf\xE9 \"Zoe\"", "It's here, now"});
    const std::string csv = work.File("memos.csv");
    const ProgramResult result =
        work.Export("memos", data, csv, {"--title", "--quote", "single", "--encoding", "utf-8"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, Converted(2));
    EXPECT_EQ(ReadTextFile(csv), "Memo\r\n'Caf\xC3\xA9 \"Zoe\"'\r\n'It''s here, now'\r\n");
}

// Without a quotation mark the values are written as they are, commas and quotation marks
// inside them included.
TEST(CliConvertOptions, QuoteNoneWritesValuesAsTheyAre) {
    const CliWork work;
    ClassicFile file = ClassicTodoFile();
    file.records = {ClassicTodoRecord({.id = 11}, {.description = "File taxes, \"2005\"",
                                                   .dueDate = 1136116800,
                                                   .completed = 1,
                                                   .priority = 1,
                                                   .note = "Receipts"})};
    const std::string data = work.File("todo.dat");
    WriteFile(data, file.Build());
    const std::string csv = work.File("tasks.csv");
    const ProgramResult result = work.Export("tasks", data, csv, {"--quote", "none"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, Converted(1));
    EXPECT_EQ(ReadTextFile(csv), "File taxes, \"2005\",01/01/2006 12:00:00,Yes,1,No,Receipts\r\n");
}

TEST(CliConvertRefusals, ImportWithoutTheCsvFile) {
    const CliWork work;
    const std::string data = WriteClassicMemos(work, {"One"});
    const Bytes before = ReadFile(data);
    const ProgramResult result = work.Import("memos", data, work.File("missing.csv"));
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Invalid CSV file name. Please specify an existing CSV file.\n");
    EXPECT_TRUE(ReadFile(data) == before);
}

// A data file of another application is refused before anything is written: the CSV file
// keeps its content.
TEST(CliConvertRefusals, DataFileOfAnotherApplication) {
    const CliWork work;
    PalmSgFile memos = MemoPadFile();
    memos.records = {MemoRecord({.id = 11}, "One")};
    const std::string memoFile = work.File("memopad.dat");
    WriteFile(memoFile, memos.Build());
    const std::string csv = work.File("out.csv");
    WriteTextFile(csv, "old\r\n");

    const ProgramResult contacts = work.Export("contacts", memoFile, csv);
    EXPECT_NE(contacts.exitCode, 0);
    EXPECT_EQ(contacts.out, "");
    EXPECT_EQ(contacts.err, "Invalid Palm Desktop Contacts database file.\n");

    const ProgramResult calendar = work.Export("calendar", WriteTasks6x(work), csv);
    EXPECT_NE(calendar.exitCode, 0);
    EXPECT_EQ(calendar.out, "");
    EXPECT_EQ(calendar.err, "Invalid Palm Desktop Calendar database file.\n");
    EXPECT_EQ(ReadTextFile(csv), "old\r\n");
}

TEST(CliConvertRefusals, UnknownFieldName) {
    const CliWork work;
    const std::string data = WriteClassicMemos(work, {"One"});
    const std::string csv = work.File("out.csv");
    const ProgramResult result = work.Export("memos", data, csv, {"--fields", "Memo,Subject"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Unknown field: Subject\n");
    EXPECT_FALSE(fs::exists(csv));
}

// An export whose CSV file cannot be made reports it and leaves nothing behind.
TEST(CliConvertRefusals, ExportIntoAMissingFolder) {
    const CliWork work;
    const std::string data = WriteClassicMemos(work, {"One"});
    const std::string csv = work.File("no-such-folder/out.csv");
    const ProgramResult result = work.Export("memos", data, csv);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Error opening CSV file: " + csv + "\n");
    EXPECT_EQ(FilesIn(work), std::vector<std::string>{"memopad.dat"});
}

TEST(CliConvertCommands, FieldsListsTheCatalogueInOrder) {
    const CliWork work;
    const ProgramResult result =
        work.Run({"fields", "--app", "calendar", "--file", dateinfo::WriteEx2(work.Dir())});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "Private\nCategory\nStart Time\nEnd Time\nNote\nLocation\nSummary\nUntimed\n"
              "Repeat Info\n");
}

// info finds the application of a file itself and counts its records, deleted ones left out.
TEST(CliConvertCommands, InfoTellsApplicationGenerationAndRecords) {
    const CliWork work;
    const ProgramResult classic = work.Run({"info", "--file", addrinfo::WriteClassic(work.Dir())});
    EXPECT_EQ(classic.exitCode, 0) << classic.err;
    EXPECT_EQ(classic.out,
              "Application: Contacts\nGeneration: Palm Desktop 4.1 or earlier\nRecords: 2\n");

    const ProgramResult palmSg = work.Run({"info", "--file", dateinfo::WriteEx(work.Dir())});
    EXPECT_EQ(palmSg.exitCode, 0) << palmSg.err;
    EXPECT_EQ(palmSg.out, "Application: Calendar\nGeneration: Palm Desktop 4.1.x\nRecords: 2\n");

    const ProgramResult palm6x = work.Run({"info", "--file", WriteTasks6x(work)});
    EXPECT_EQ(palm6x.exitCode, 0) << palm6x.err;
    EXPECT_EQ(palm6x.out, "Application: Tasks\nGeneration: Palm Desktop 6.x\nRecords: 2\n");
}

}  // namespace tabrel
