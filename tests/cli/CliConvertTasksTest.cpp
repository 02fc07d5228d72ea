// tabrel-cli on Tasks files of the three generations: export of every catalogue field, import
// of a CSV file (an equal task, a task with the same description and a changed priority, a
// new task; for the PalmSG file only a few columns, chosen with --fields) and the export
// after it.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CliConvertSupport.h"
#include "support/ClassicWriter.h"
#include "support/Db6xWriter.h"
#include "support/PalmSgWriter.h"

namespace tabrel {

using namespace test;
using namespace test::cliconvert;

namespace {

// The tasks of every file: "File taxes" (due 2006-01-01 12:00 UTC, completed, priority 1,
// private, category 1 "Work", a note of two lines), "Call Ann" (no due date, priority 2)
// and a deleted one (status 0x80).
constexpr std::uint32_t kTaxesDue = 1136116800;
const std::string kTaxes = "File taxes, \"2005\"";
const std::string kTaxesNote = "Receipts\r\nin the box";

std::string WriteClassic(const CliWork& work) {
    ClassicFile file = ClassicTodoFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    file.records = {ClassicTodoRecord({.id = 11}, {.description = kTaxes,
                                                   .dueDate = kTaxesDue,
                                                   .completed = 1,
                                                   .priority = 1,
                                                   .isPrivate = 1,
                                                   .category = 1,
                                                   .note = kTaxesNote}),
                    ClassicTodoRecord(
                        {.id = 12}, {.description = "Call Ann", .dueDate = kNoDate, .priority = 2}),
                    ClassicTodoRecord({.id = 13, .status = 0x80},
                                      {.description = "Gone", .dueDate = kNoDate, .priority = 3})};
    const std::string path = work.File("todo.dat");
    WriteFile(path, file.Build());
    return path;
}

// Fields 13 to 17 of a PalmSG task: description, due date, completed, priority, note.
PalmSgValues ExValues(const std::string& description, std::uint32_t due, std::uint32_t completed,
                      std::uint32_t priority, const std::string& note) {
    PalmSgValues values;
    values.value = [=](std::size_t i) {
        return i == 14 ? due : i == 15 ? completed : i == 16 ? priority : 0u;
    };
    values.text = [=](std::size_t i) {
        return i == 13 ? description : i == 17 ? note : std::string();
    };
    return values;
}

std::string WriteEx(const CliWork& work) {
    PalmSgFile file = ToDoFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    file.records = {
        ToDoRecord({.id = 11, .number = 1, .category = 1, .isPrivate = 1},
                   ExValues(kTaxes, kTaxesDue, 1, 1, kTaxesNote)),
        ToDoRecord({.id = 12, .number = 2}, ExValues("Call Ann", kNoDate, 0, 2, "")),
        ToDoRecord({.id = 13, .number = 3, .status = 0x80}, ExValues("Gone", kNoDate, 0, 3, ""))};
    const std::string path = work.File("todo.dat");
    WriteFile(path, file.Build());
    return path;
}

std::string WriteEx2(const CliWork& work) {
    const std::string path = work.File("Todolist.mdb");
    const Db6xWriter db(path, kTodoColumns);
    db.AddCategory(1, "Work");
    db.InsertZeroRow(kTodoColumns, {{"Record ID", "11"},
                                    {"Private", "1"},
                                    {"Category", "'1'"},
                                    {"Note", SqlText(kTaxesNote)},
                                    {"Description", SqlText(kTaxes)},
                                    {"Due Date", "'1136116800'"},
                                    {"Completed", "1"},
                                    {"Priority", "1"}});
    db.InsertZeroRow(kTodoColumns, {{"Record ID", "12"},
                                    {"Placement", "1"},
                                    {"Category", "'0'"},
                                    {"Description", "'Call Ann'"},
                                    {"Due Date", "'1956499199'"},
                                    {"Priority", "2"}});
    db.InsertZeroRow(kTodoColumns, {{"Record ID", "13"},
                                    {"Status", "128"},
                                    {"Placement", "2"},
                                    {"Category", "'0'"},
                                    {"Description", "'Gone'"},
                                    {"Due Date", "'1956499199'"},
                                    {"Priority", "3"}});
    return path;
}

const Values kCatalogue = {"Description", "Due Date", "Completed", "Priority", "Private", "Note"};

const Values kTaxesValues = {kTaxes, "01/01/2006 12:00:00", "Yes", "1", "Yes", kTaxesNote};
const Values kCallAnnValues = {"Call Ann", "N/A", "No", "2", "No", ""};
const Values kTaxesLow = {kTaxes, "01/01/2006 12:00:00", "Yes", "5", "Yes", kTaxesNote};
const Values kTaxesLowLater = {kTaxes, "01/02/2006 12:00:00", "Yes", "5", "Yes", kTaxesNote};
const Values kMilkValues = {"Buy milk", "02/10/2006 08:00:00", "No", "3",
                            "No",       "2 \"big\" bottles"};

// Every column: "Call Ann" as exported is equal, "File taxes" with priority 5 (Low) and a due
// date a day later matches by its description and is updated (in a 6.x database the row is
// found by its stored due date), "Buy milk" is new.
RoundTrip EveryColumnTrip(const std::string& dataFile) {
    return {.app = "tasks",
            .dataFile = dataFile,
            .catalogue = kCatalogue,
            .exported = {kTaxesValues, kCallAnnValues},
            .importCsv = CsvLines({kCallAnnValues, kTaxesLowLater, kMilkValues}),
            .importExtra = {},
            .imported = 2,
            .reexported = {kTaxesLowLater, kCallAnnValues, kMilkValues}};
}

}  // namespace

TEST(CliConvertTasks, ClassicFileExportsAndImports) {
    const CliWork work;
    CheckRoundTrip(work, EveryColumnTrip(WriteClassic(work)));
}

// Only the chosen columns reach the tasks: the updated task keeps its completed and private
// flags and its note, and the new one has none.
TEST(CliConvertTasks, PalmSgFileExportsAndImportsChosenColumns) {
    const CliWork work;
    CheckRoundTrip(
        work,
        {.app = "tasks",
         .dataFile = WriteEx(work),
         .catalogue = kCatalogue,
         .exported = {kTaxesValues, kCallAnnValues},
         .importCsv = CsvLines({{"Call Ann", "N/A", "2"},
                                {kTaxes, "01/01/2006 12:00:00", "5"},
                                {"Buy milk", "02/10/2006 08:00:00", "3"}}),
         .importExtra = {"--fields", "Description,Due Date,Priority"},
         .imported = 2,
         .reexported = {
             kTaxesLow, kCallAnnValues, {"Buy milk", "02/10/2006 08:00:00", "No", "3", "No", ""}}});
}

TEST(CliConvertTasks, Palm6xDatabaseExportsAndImports) {
    const CliWork work;
    CheckRoundTrip(work, EveryColumnTrip(WriteEx2(work)));
}

}  // namespace tabrel
