// The Tasks facade over the three generations: telling a file's generation, loading, the
// catalogues, field texts in both directions, imports (equal, matching, new), merging,
// saving and loading again.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "InfoTestSupport.h"
#include "palm/dat/PmTime.h"
#include "palm/unified/PmTodoInfo.h"
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
constexpr std::int32_t kTaxesDue = 1136116800;  // 2006-01-01 12:00:00 UTC
constexpr auto kNoDate = static_cast<std::uint32_t>(kPmTimeNoDate);
using Texts = std::vector<std::string>;
using Item = PmTodoInfo::Item;

// The same tasks in each generation: "Taxes" (completed, priority 1, private, in category 1
// "Work", with a note; 4.1.x and 6.x: an alarm and a weekly repeat every 2 weeks on Monday
// and Wednesday), "Call Ann" (priority 2, no due date) and a deleted one (status 0x80) that
// no facade shows. Without tasks: the same file with no records.
std::string WriteClassic(const TempDir& dir, const std::string& name, bool tasks) {
    ClassicFile file = ClassicTodoFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    if (tasks) {
        file.records = {
            ClassicTodoRecord({.id = 11}, {.description = "Taxes",
                                           .dueDate = kTaxesDue,
                                           .completed = 1,
                                           .priority = 1,
                                           .isPrivate = 1,
                                           .category = 1,
                                           .note = "Receipts"}),
            ClassicTodoRecord({.id = 12},
                              {.description = "Call Ann", .dueDate = kNoDate, .priority = 2}),
            ClassicTodoRecord({.id = 13, .status = 0x80},
                              {.description = "Gone", .dueDate = kNoDate, .priority = 3})};
    }
    const std::string path = dir.File(name);
    WriteFile(path, file.Build());
    return path;
}

PalmSgValues ExValues(const std::string& description, std::uint32_t due, std::uint32_t completed,
                      std::uint32_t priority, std::uint32_t alarm, const std::string& note) {
    PalmSgValues values;
    values.value = [=](std::size_t i) {
        return i == 14 ? due : i == 15 ? completed : i == 16 ? priority : i == 20 ? alarm : 0u;
    };
    values.text = [=](std::size_t i) {
        return i == 13 ? description : i == 17 ? note : std::string();
    };
    return values;
}

std::string WriteEx(const TempDir& dir, const std::string& name, bool tasks) {
    PalmSgFile file = ToDoFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    if (tasks) {
        const Bytes weekly = RepeatField(
            NamedRepeat("CWeekly", {2, 2, kNoDate, 0}, ByteWriter().U32(1).U8(0x0A).Get()));
        file.records = {
            ToDoRecord({.id = 11, .number = 1, .category = 1, .isPrivate = 1},
                       ExValues("Taxes", kTaxesDue, 1, 1, 1, "Receipts"), weekly),
            ToDoRecord({.id = 12, .number = 2}, ExValues("Call Ann", kNoDate, 0, 2, 0, "")),
            ToDoRecord({.id = 13, .number = 3, .status = 0x80},
                       ExValues("Gone", kNoDate, 0, 3, 0, ""))};
    }
    const std::string path = dir.File(name);
    WriteFile(path, file.Build());
    return path;
}

std::string WriteEx2(const TempDir& dir, const std::string& name, bool tasks) {
    const std::string path = dir.File(name);
    Db6xWriter db(path, kTodoColumns);
    db.AddCategory(1, "Work");
    if (tasks) {
        db.InsertZeroRow(kTodoColumns, {{"Record ID", "11"},
                                        {"Private", "1"},
                                        {"Category", "'1'"},
                                        {"Note", "'Receipts'"},
                                        {"Description", "'Taxes'"},
                                        {"Due Date", "'1136116800'"},
                                        {"Completed", "1"},
                                        {"Priority", "1"},
                                        {"Alarm Set", "1"},
                                        {"Repeat Info", "'W2 MO WE #0'"}});
        db.InsertZeroRow(kTodoColumns, {{"Record ID", "12"},
                                        {"Placement", "1"},
                                        {"Category", "'0'"},
                                        {"Description", "'Call Ann'"},
                                        {"Due Date", "'1956499199'"},
                                        {"Priority", "2"}});
        db.InsertZeroRow(kTodoColumns, {{"Record ID", "13"},
                                        {"Status", "128"},
                                        {"Category", "'0'"},
                                        {"Description", "'Gone'"},
                                        {"Due Date", "'1956499199'"},
                                        {"Priority", "3"}});
    }
    return path;
}

using Writer = std::string (*)(const TempDir&, const std::string&, bool);

struct Generation {
    PmDataVersion version;
    Writer write;
    const char* fileName;
    // Identifiers of Description, Due Date, Completed, Priority, Private, Note.
    std::array<std::int32_t, 6> ids;
    std::int32_t descriptionLength;
    std::int32_t noteLength;

    std::string Write(const TempDir& dir, bool tasks = true, const std::string& prefix = "") const {
        return write(dir, prefix + fileName, tasks);
    }
};

const std::vector<Generation>& Generations() {
    static const std::vector<Generation> all = {
        {PM_DATA_CLASSIC, WriteClassic, "todo.dat", {3, 4, 5, 6, 7, 9}, 1024, 8192},
        {PM_DATA_EX, WriteEx, "todo.dat", {13, 14, 15, 16, 6, 17}, 1024, 8192},
        {PM_DATA_EX2, WriteEx2, "Todolist.mdb", {6, 7, 8, 9, 3, 5}, 256, 2048},
    };
    return all;
}

const std::vector<std::string> kRowNames = {"Description", "Due Date", "Completed",
                                            "Priority",    "Private",  "Note"};

// Every field text of the item at position, in catalogue order.
Texts TextsOf(const PmTodoInfo& tasks, std::size_t position) {
    Texts texts;
    for (const std::string& name : kRowNames) {
        texts.push_back(TextOf(tasks, position, name));
    }
    return texts;
}

// A common task filled from texts of the six rows, in catalogue order.
CommTaskRec ImportRow(PmTodoInfo& tasks, const Texts& texts) {
    std::vector<std::pair<std::string, std::string>> named;
    for (std::size_t i = 0; i < kRowNames.size(); ++i) {
        named.emplace_back(kRowNames[i], texts[i]);
    }
    return ImportOf(tasks, named);
}

// The header and category members of an item's record, whatever its generation.
struct Stamp {
    std::uint32_t status = 0;
    std::uint32_t placement = 0;
    std::int32_t categoryId = 0;
    std::string category;
};

Stamp StampOf(const Item& item) {
    if (const PmTodoRecord* r = item.Classic()) {
        return {r->m_dwStatus, r->m_dwPlacement, static_cast<std::int32_t>(r->m_dwCategoryId),
                r->m_szCategory};
    }
    if (const PmTodoExRecord* r = item.Ex()) {
        return {r->m_dwStatus, r->m_dwPlacement, static_cast<std::int32_t>(r->m_dwCategoryId),
                r->m_szCategory};
    }
    const PmTodoEx2Record& r = *item.Ex2();
    return {static_cast<std::uint32_t>(r.m_nStatus), static_cast<std::uint32_t>(r.m_nPlacement),
            r.m_nCategoryId, r.m_szCategoryName};
}

const Texts kTaxesTexts = {"Taxes", "01/01/2006 12:00:00", "Yes", "1", "Yes", "Receipts"};
const Texts kCallAnnTexts = {"Call Ann", "N/A", "No", "2", "No", ""};

}  // namespace

TEST(PmTodoInfo, TellsTheGenerationOfAFileWithTheTaskLines) {
    ScopedLogFolder logFolder;
    TempDir dir;
    PmTodoInfo tasks(kPalm6);
    LogCapture log;
    const std::string classic = WriteClassic(dir, "a.dat", true);
    const std::string ex = WriteEx(dir, "b.DAT", true);
    const std::string ex2 = WriteEx2(dir, "c.Mdb", true);
    EXPECT_EQ(tasks.CheckFileVersion(classic), PM_DATA_CLASSIC);
    EXPECT_EQ(tasks.CheckFileVersion(ex), PM_DATA_EX);
    EXPECT_EQ(tasks.CheckFileVersion(ex2), PM_DATA_EX2);
    // No shortcut for an empty path: it is checked, and fails.
    EXPECT_EQ(tasks.CheckFileVersion(""), PM_DATA_INVALID);
    EXPECT_EQ(tasks.GetLoadedVersion(), PM_DATA_NONE);
    EXPECT_TRUE(log.HasInOrder(
        {"P Check Palm Desktop Tasks file version, file: " + classic,
         "P Check Palm Desktop Task file type: (" + classic + ") - Palm Desktop 4.1 or earlier",
         "P Check Palm Desktop Task file type: (" + ex + ") - Palm Desktop 4.1.x",
         "P Check Palm Desktop Task file type: (" + ex2 + ") - Palm Desktop 6.x",
         "P Check Palm Desktop Tasks file version, file: ",
         "E Failed to check Palm Desktop Tasks file type: ()"}));
}

TEST(PmTodoInfo, InstalledVersionAndFailedLoads) {
    ScopedLogFolder logFolder;
    EXPECT_EQ(PmTodoInfo(60000).GetInstalledVersion(), PM_DATA_EX2);
    EXPECT_EQ(PmTodoInfo(0xFFFFFFFF).GetInstalledVersion(), PM_DATA_EX2);
    EXPECT_EQ(PmTodoInfo(40102).GetInstalledVersion(), PM_DATA_EX);
    EXPECT_EQ(PmTodoInfo(30500).GetInstalledVersion(), PM_DATA_CLASSIC);
    LogCapture log;
    // Below 3.5.0 a Palm Desktop is taken to keep classic files: loading by user asks the
    // classic reader, which finds no user here.
    PmTodoInfo old(30499);
    EXPECT_EQ(old.GetInstalledVersion(), PM_DATA_CLASSIC);
    EXPECT_FALSE(old.LoadByUser(7));
    EXPECT_EQ(old.GetLoadedVersion(), PM_DATA_NONE);
    EXPECT_TRUE(
        log.HasInOrder({"P Palm Desktop Version: 30499", "P Load Palm Desktop Tasks by user: 7",
                        "E Failed to load Palm Desktop Tasks database by User: 7"}));
    // An empty path is tried like any other; Save with nothing loaded logs nothing.
    log.Clear();
    EXPECT_FALSE(old.LoadByFile(""));
    EXPECT_EQ(old.GetLoadedVersion(), PM_DATA_INVALID);
    EXPECT_FALSE(old.Save());
    EXPECT_EQ(log.Tagged(), (Texts{"P Load Palm Desktop Tasks by file: ",
                                   "E Failed to load Palm Desktop Tasks file ()"}));
}

TEST(PmTodoInfo, CatalogueOfEveryGeneration) {
    ScopedLogFolder logFolder;
    const std::array<std::int32_t, 6> types = {FieldTypeString,  FieldTypeDateTime,
                                               FieldTypeBoolean, FieldTypeInteger,
                                               FieldTypeBoolean, FieldTypeString};
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmTodoInfo tasks(kPalm6);
        EXPECT_EQ(tasks.GetFieldCount(), 0u);
        EXPECT_FALSE(tasks.GetFieldById(generation.ids[0]));
        ASSERT_TRUE(tasks.LoadByFile(generation.Write(dir)));
        EXPECT_EQ(tasks.GetLoadedVersion(), generation.version);
        ASSERT_EQ(tasks.GetFieldCount(), 6u);
        const std::array<std::int32_t, 6> lengths = {generation.descriptionLength, 4, 4, 4, 4,
                                                     generation.noteLength};
        for (std::size_t i = 0; i < 6; ++i) {
            const FieldDescriptor row = *tasks.GetFieldAt(i);
            EXPECT_EQ(row.m_nId, generation.ids[i]) << i;
            EXPECT_EQ(row.m_nKind, 0) << i;
            EXPECT_EQ(row.m_szName, kRowNames[i]) << i;
            EXPECT_EQ(row.m_nType, types[i]) << i;
            EXPECT_EQ(row.m_nLength, lengths[i]) << i;
            EXPECT_EQ(row.m_nValueSource, ValueSourceNone) << i;
            EXPECT_EQ(tasks.GetFieldById(generation.ids[i]), row) << i;
        }
        EXPECT_FALSE(tasks.GetFieldAt(6));
        EXPECT_FALSE(tasks.GetFieldById(2));
        EXPECT_EQ(PmTodoInfo::GetCatalogue(generation.version).size(), 6u);
    }
    EXPECT_TRUE(PmTodoInfo::GetCatalogue(PM_DATA_NONE).empty());
}

TEST(PmTodoInfo, LoadsLiveTasksWithTheirTextsAndCommonRecords) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmTodoInfo tasks(kPalm6);
        ASSERT_TRUE(tasks.LoadByFile(generation.Write(dir)));
        // The deleted task is in neither list.
        ASSERT_EQ(tasks.GetItemCount(), 2u);
        ASSERT_EQ(tasks.GetCommMgr().GetCount(), 2u);
        EXPECT_EQ(TextsOf(tasks, 0), kTaxesTexts);
        EXPECT_EQ(TextsOf(tasks, 1), kCallAnnTexts);

        const bool dated = generation.version != PM_DATA_CLASSIC;  // alarm and repeat
        const CommTaskRec& taxes = *tasks.GetCommMgr().GetAt(0);
        EXPECT_EQ(taxes.m_szSubject, "Taxes");
        EXPECT_EQ(taxes.m_szNote, "Receipts");
        EXPECT_EQ(taxes.m_tDueDate, kTaxesDue);
        EXPECT_EQ(taxes.m_bCompleted, 1);
        EXPECT_EQ(taxes.m_nPriority, kCommPriorityHigh);
        EXPECT_EQ(taxes.m_bPrivate, 1);
        EXPECT_EQ(taxes.m_wSensitivity, kCommSensitivityPrivate);
        EXPECT_EQ(taxes.m_bAlarm, dated ? 1 : 0);
        EXPECT_EQ(taxes.m_repeat.m_nKind, dated ? kCommRepeatWeekly : kCommRepeatNone);
        EXPECT_EQ(taxes.m_repeat.m_nInterval, dated ? 2 : 0);
        EXPECT_EQ(taxes.m_repeat.m_nWeekday, dated ? 0x0A : 0);
        EXPECT_EQ(taxes.m_repeat.m_bHasEnd, 0);
        EXPECT_EQ(taxes.m_source.m_nSourceType, kCommSourcePalm);
        EXPECT_EQ(taxes.m_source.m_nSourceId, 11);
        EXPECT_EQ(tasks.GetItemAt(0)->m_pCommon, &taxes);
        // Palm priority 2 is Normal in the common record; no due date stays the no-date value.
        const CommTaskRec& ann = *tasks.GetCommMgr().GetAt(1);
        EXPECT_EQ(ann.m_nPriority, 0);
        EXPECT_EQ(ann.m_tDueDate, kPmTimeNoDate);
        EXPECT_EQ(ann.m_bPrivate, 0);
        EXPECT_EQ(ann.m_wSensitivity, 0);

        // Through the common record; cut to the buffer; a row of no task field gives nothing.
        std::string text;
        EXPECT_TRUE(tasks.GetFieldText(taxes, RowNamed(tasks, "Due Date"), text, 6));
        EXPECT_EQ(text, "01/01");
        FieldDescriptor other = RowNamed(tasks, "Note");
        other.m_nId = 1;
        EXPECT_FALSE(tasks.GetFieldText(taxes, other, text, 32768));
        EXPECT_EQ(text, "");
        EXPECT_FALSE(tasks.GetFieldText(CommTaskRec{}, RowNamed(tasks, "Note"), text, 32768));
    }
}

TEST(PmTodoInfo, CsvTextsFillTheCommonTask) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmTodoInfo tasks(kPalm6);
        CommTaskRec task{};
        EXPECT_FALSE(tasks.SetFieldText(FieldDescriptor{}, "x", task));  // nothing loaded
        ASSERT_TRUE(tasks.LoadByFile(generation.Write(dir)));

        task =
            ImportRow(tasks, {"Book flights", "02/01/2006 09:30:00", "YES", "5", "True", "Seat"});
        EXPECT_EQ(task.m_szSubject, "Book flights");
        EXPECT_EQ(task.m_tDueDate, 1138786200);
        EXPECT_EQ(task.m_bCompleted, 1);
        EXPECT_EQ(task.m_nPriority, kCommPriorityLow);
        EXPECT_EQ(task.m_bPrivate, 1);
        EXPECT_EQ(task.m_wSensitivity, kCommSensitivityPrivate);
        EXPECT_EQ(task.m_szNote, "Seat");

        // "1", "true" set a truth value, "y" and "2" clear it; priorities map as Palm ones.
        const struct {
            const char* truth;
            std::uint8_t flag;
            const char* priority;
            std::int32_t common;
        } cases[] = {{"1", 1, "1", kCommPriorityHigh},
                     {"true", 1, " 5x", kCommPriorityLow},
                     {"y", 0, "2", 0},
                     {"2", 0, "3", 0},
                     {"", 0, "", 0}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.truth);
            task = ImportOf(tasks, {{"Completed", c.truth}, {"Private", c.truth}});
            EXPECT_EQ(task.m_bCompleted, c.flag);
            EXPECT_EQ(task.m_bPrivate, c.flag);
            EXPECT_EQ(task.m_wSensitivity, c.flag != 0 ? kCommSensitivityPrivate : 0);
            EXPECT_EQ(ImportOf(tasks, {{"Priority", c.priority}}).m_nPriority, c.common);
        }

        // "N/A" and the empty text are no due date; a text that does not parse changes
        // nothing.
        for (const char* none : {"N/A", "", " n/a "}) {
            EXPECT_EQ(ImportOf(tasks, {{"Due Date", none}}).m_tDueDate, kPmTimeNoDate) << none;
        }
        task.m_tDueDate = 77;
        EXPECT_TRUE(tasks.SetFieldText(RowNamed(tasks, "Due Date"), "next week", task));
        EXPECT_EQ(task.m_tDueDate, 77);

        // Texts are cut to the common limits (the note of every generation to 8191).
        task = ImportOf(tasks,
                        {{"Description", std::string(300, 'd')}, {"Note", std::string(9000, 'n')}});
        EXPECT_EQ(task.m_szSubject.size(), 255u);
        EXPECT_EQ(task.m_szNote.size(), 8191u);

        // A custom field or a row of no task field is accepted and ignored.
        FieldDescriptor custom;
        custom.m_nId = CustomFieldId;
        FieldDescriptor unknown = RowNamed(tasks, "Note");
        unknown.m_nId = 99;
        EXPECT_TRUE(tasks.SetFieldText(custom, "x", task));
        EXPECT_TRUE(tasks.SetFieldText(unknown, "x", task));
        EXPECT_EQ(task.m_szNote.size(), 8191u);

        EXPECT_EQ(
            CarriedBy(tasks, kRowNames),
            (CommFieldSet{CommTaskId::kSubject, CommTaskId::kNote, CommTaskId::kPriority,
                          CommTaskId::kCompleted, CommTaskId::kDueDate, CommTaskId::kPrivate}));
    }
}

// Every text exported from one database and imported into an empty one comes back the
// same, except Palm priority 2, which is Normal in the common record and written back as 3
// (and the private flag a sensitivity set on the way adds).
TEST(PmTodoInfo, ExportedTextsImportIntoAnEmptyDatabase) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmTodoInfo source(kPalm6);
        ASSERT_TRUE(source.LoadByFile(generation.Write(dir)));
        PmTodoInfo target(kPalm6);
        const std::string path = generation.Write(dir, false, "empty-");
        ASSERT_TRUE(target.LoadByFile(path));
        ASSERT_EQ(target.GetItemCount(), 0u);
        for (std::size_t i = 0; i < source.GetItemCount(); ++i) {
            CommTaskRec task = ImportRow(target, TextsOf(source, i));
            task.m_szCategory = i == 0 ? "Work,Home" : "Travel";
            if (i == 1) {
                // A private sensitivity makes the Palm task private too.
                task.m_wSensitivity = kCommSensitivityPrivate;
            }
            ASSERT_TRUE(target.AddImportRecord(task, CarriedBy(target, kRowNames)));
        }
        // The same line again is an equal record.
        EXPECT_FALSE(target.AddImportRecord(ImportRow(target, TextsOf(source, 1))));
        ASSERT_TRUE(target.Save());

        PmTodoInfo again(kPalm6);
        ASSERT_TRUE(again.LoadByFile(path));
        ASSERT_EQ(again.GetItemCount(), 2u);
        EXPECT_EQ(TextsOf(again, 0), kTaxesTexts);
        Texts ann = kCallAnnTexts;
        ann[3] = "3";
        ann[4] = "Yes";
        EXPECT_EQ(TextsOf(again, 1), ann);
        // Filed under the first of two categories; a missing one is created. New records
        // are stamped as added.
        const Stamp work = StampOf(*again.GetItemAt(0));
        const Stamp travel = StampOf(*again.GetItemAt(1));
        EXPECT_EQ(work.categoryId, 1);
        EXPECT_EQ(StampOf(*target.GetItemAt(0)).category, "Work");
        EXPECT_EQ(StampOf(*target.GetItemAt(1)).category, "Travel");
        EXPECT_EQ(travel.categoryId, StampOf(*target.GetItemAt(1)).categoryId);
        EXPECT_GT(travel.categoryId, 1);
        EXPECT_EQ(work.status & 0xFF, kPmStatusAdded);
        EXPECT_EQ(work.placement, kPmNewPlacement);
        if (const PmTodoExRecord* ex = again.GetItemAt(1)->Ex()) {
            EXPECT_EQ(ex->m_dwRecordNumber, kPmNewRecordNumberBase + 1);
            EXPECT_EQ(ex->m_dwField3, 25u);
        }
    }
}

TEST(PmTodoInfo, MergingKeepsWhatTheImportDidNotCarry) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        PmTodoInfo tasks(kPalm6);
        ASSERT_TRUE(tasks.LoadByFile(generation.Write(dir)));
        const bool dated = generation.version != PM_DATA_CLASSIC;

        // Only the description, the priority and an empty note come with the line.
        const CommFieldSet carried = CarriedBy(tasks, {"Description", "Priority", "Note"});
        ASSERT_TRUE(tasks.AddImportRecord(
            ImportOf(tasks, {{"Description", "TAXES"}, {"Priority", "5"}, {"Note", ""}}), carried));
        ASSERT_EQ(tasks.GetItemCount(), 2u);
        EXPECT_EQ(TextsOf(tasks, 0),
                  (Texts{"TAXES", "01/01/2006 12:00:00", "Yes", "5", "Yes", "Receipts"}));
        EXPECT_EQ(StampOf(*tasks.GetItemAt(0)).status & 0x02, 0x02u);
        EXPECT_EQ(StampOf(*tasks.GetItemAt(0)).categoryId, 1);
        const CommTaskRec& merged = *tasks.GetCommMgr().GetAt(0);
        EXPECT_EQ(merged.m_szNote, "Receipts");
        EXPECT_EQ(merged.m_nPriority, kCommPriorityLow);
        EXPECT_EQ(merged.m_bAlarm, dated ? 1 : 0);
        if (const PmTodoExRecord* ex = tasks.GetItemAt(0)->Ex()) {
            EXPECT_EQ(ex->m_bField20, 1u);
            EXPECT_EQ(ex->m_repeat.nKind, 2u);
        }
        if (const PmTodoEx2Record* ex2 = tasks.GetItemAt(0)->Ex2()) {
            EXPECT_EQ(ex2->m_byAlarmSet, 1);
            EXPECT_EQ(ex2->m_repeat.nKind, 2u);
        }

        // A whole record (nothing named as carried) sets every flag, the due date (none
        // given: no due date) and the repeat rule; its empty note still erases nothing.
        ASSERT_TRUE(tasks.AddImportRecord(ImportOf(tasks, {{"Description", "Taxes"}})));
        EXPECT_EQ(TextsOf(tasks, 0), (Texts{"Taxes", "N/A", "No", "3", "No", "Receipts"}));
        if (const PmTodoExRecord* ex = tasks.GetItemAt(0)->Ex()) {
            EXPECT_EQ(ex->m_bField20, 0u);
            EXPECT_EQ(ex->m_repeat.nKind, 0u);
        }
        if (const PmTodoEx2Record* ex2 = tasks.GetItemAt(0)->Ex2()) {
            EXPECT_EQ(ex2->m_byAlarmSet, 0);
            EXPECT_EQ(ex2->m_repeat.nKind, 0u);
        }
    }
}

// Load, import one equal, one matching and one new task, save, load again.
TEST(PmTodoInfo, ImportsAndSavesInEveryGeneration) {
    ScopedLogFolder logFolder;
    for (const Generation& generation : Generations()) {
        SCOPED_TRACE(generation.version);
        TempDir dir;
        const std::string path = generation.Write(dir);
        {
            PmTodoInfo tasks(kPalm6);
            ASSERT_TRUE(tasks.LoadByFile(path));
            const CommFieldSet carried = CarriedBy(tasks, kRowNames);
            EXPECT_FALSE(tasks.AddImportRecord(
                ImportRow(tasks, {"call ann", "N/A", "No", "2", "No", ""}), carried));
            EXPECT_TRUE(tasks.AddImportRecord(
                ImportRow(tasks, {"Taxes", "01/15/2006 08:00:00", "No", "5", "yes", ""}), carried));
            EXPECT_TRUE(tasks.AddImportRecord(
                ImportRow(tasks, {"Book flights", "02/01/2006 09:30:00", "1", "1", "0", "Seat"}),
                carried));
            EXPECT_EQ(tasks.GetItemCount(), 3u);
            EXPECT_EQ(tasks.GetCommMgr().GetCount(), 3u);
            ASSERT_TRUE(tasks.Save());
        }
        PmTodoInfo again(kPalm6);
        ASSERT_TRUE(again.LoadByFile(path));
        ASSERT_EQ(again.GetItemCount(), 3u);
        EXPECT_EQ(TextsOf(again, 0),
                  (Texts{"Taxes", "01/15/2006 08:00:00", "No", "5", "Yes", "Receipts"}));
        EXPECT_EQ(TextsOf(again, 1), kCallAnnTexts);
        EXPECT_EQ(TextsOf(again, 2),
                  (Texts{"Book flights", "02/01/2006 09:30:00", "Yes", "1", "No", "Seat"}));
        EXPECT_EQ(StampOf(*again.GetItemAt(0)).status & 0x02, 0x02u);
        EXPECT_EQ(StampOf(*again.GetItemAt(0)).categoryId, 1);
        EXPECT_EQ(StampOf(*again.GetItemAt(1)).status & 0x03, 0u);
        const Stamp added = StampOf(*again.GetItemAt(2));
        EXPECT_EQ(added.status & 0x01, 0x01u);
        EXPECT_EQ(added.placement, kPmNewPlacement);
        EXPECT_EQ(added.categoryId, 0);
        if (const PmTodoExRecord* ex = again.GetItemAt(2)->Ex()) {
            // Three records (the deleted one too) were in the list before it.
            EXPECT_EQ(ex->m_dwRecordNumber, kPmNewRecordNumberBase + 3);
            EXPECT_EQ(ex->m_dwField3, 3u * 25u);
            EXPECT_EQ(ex->m_dwRecordId, 0u);
        }
        // The matched task keeps its repeat rule: the CSV cannot carry one.
        const bool dated = generation.version != PM_DATA_CLASSIC;
        EXPECT_EQ(again.GetCommMgr().GetAt(0)->m_repeat.m_nKind,
                  dated ? kCommRepeatWeekly : kCommRepeatNone);
    }
}

}  // namespace tabrel
