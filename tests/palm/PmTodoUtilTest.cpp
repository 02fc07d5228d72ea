// The task record of a classic todo.dat: every field read and written, and the loading
// filter.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "palm/classic/PmTodoUtil.h"
#include "support/ClassicWriter.h"
#include "support/EnvGuards.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

struct Loaded {
    explicit Loaded(const ClassicFile& file) {
        WriteFile(path, file.Build());
        todos.LoadFile(path);
    }
    PmTodoRecord At(std::size_t position) {
        const PmTodoRecord* record = todos.GetDataMgr().GetRecordAt(position);
        return record != nullptr ? *record : PmTodoRecord{};
    }
    TempDir dir;
    std::string path = dir.File("todo.dat");
    PmTodoUtil todos;
};

}  // namespace

TEST(PmTodo, EveryFieldIsRead) {
    ScopedLogFolder logFolder;
    ClassicFile file = ClassicTodoFile();
    file.categories = {{4, 9, 0, "Errands", "Errands"}};
    file.records = {ClassicTodoRecord({.id = 0x01020304, .status = 0x42, .placement = 17},
                                      {.description = "Call the bank",
                                       .dueDate = 1073260800,
                                       .completed = 1,
                                       .priority = 3,
                                       .isPrivate = 1,
                                       .category = 9,
                                       .note = "Ask about the fee"})};
    // Any 4-byte field may come under code 1, 3 or 6; texts beyond 8191 bytes are cut to
    // what the field holds and the next field still reads.
    ClassicFields other;
    other.Date(7).Boolean(0).Integer(0x7FFFFFFF);
    other.Text(std::string(9000, 'd'), 0)
        .Integer(0x749DCEFF)
        .Integer(0)
        .Date(5)
        .Integer(0)
        .Boolean(2)
        .Text(std::string(8191, 'n'));
    file.records.push_back(other.Get());
    Loaded loaded(file);
    ASSERT_TRUE(loaded.todos.IsLoaded());
    ASSERT_EQ(loaded.todos.GetDataMgr().GetRecordCount(), 2u);

    const PmTodoRecord first = loaded.At(0);
    EXPECT_EQ(first.m_dwRecordId, 0x01020304u);
    EXPECT_EQ(first.m_dwStatus, 0x42u);
    EXPECT_EQ(first.m_dwPlacement, 17u);
    EXPECT_EQ(first.m_szDescription, "Call the bank");
    EXPECT_EQ(first.m_tDueDate, 1073260800u);
    EXPECT_EQ(first.m_bCompleted, 1u);
    EXPECT_EQ(first.m_dwPriority, 3u);
    EXPECT_EQ(first.m_bPrivate, 1u);
    EXPECT_EQ(first.m_dwCategoryId, 9u);
    EXPECT_EQ(first.m_szNote, "Ask about the fee");
    EXPECT_EQ(first.m_szCategory, "");  // the facade names the category

    const PmTodoRecord second = loaded.At(1);
    EXPECT_EQ(second.m_dwRecordId, 7u);
    EXPECT_EQ(second.m_dwPlacement, 0x7FFFFFFFu);
    EXPECT_EQ(second.m_szDescription, std::string(8191, 'd'));
    EXPECT_EQ(second.m_tDueDate, 0x749DCEFFu);
    EXPECT_EQ(second.m_dwPriority, 5u);
    EXPECT_EQ(second.m_bPrivate, 0u);
    EXPECT_EQ(second.m_dwCategoryId, 2u);
    EXPECT_EQ(second.m_szNote, std::string(8191, 'n'));
}

TEST(PmTodo, FieldOfTheWrongKindFailsTheLoad) {
    ScopedLogFolder logFolder;
    // A note under code 1 instead of 5.
    ClassicFile file = ClassicTodoFile();
    ClassicFields fields = ClassicHeaderFields({.id = 1});
    fields.Text("task").Date(0).Boolean(0).Integer(1).Boolean(0).Integer(0).Integer(5);
    file.records = {fields.Get()};
    EXPECT_FALSE(Loaded(file).todos.IsLoaded());

    // A text where the due date belongs.
    fields = ClassicHeaderFields({.id = 1});
    fields.Text("task").Text("tomorrow").Boolean(0).Integer(1).Boolean(0).Integer(0).Text("");
    file.records = {fields.Get()};
    EXPECT_FALSE(Loaded(file).todos.IsLoaded());

    // A header field under the block code.
    fields = ClassicFields();
    fields.Integer(1).Block(64).Integer(0);
    file.records = {fields.Get()};
    EXPECT_FALSE(Loaded(file).todos.IsLoaded());
}

TEST(PmTodo, DeletedAndArchivedTasksAreKeptOutOfTheListAndSavedBack) {
    ScopedLogFolder logFolder;
    ClassicFile file = ClassicTodoFile();
    // Only bits 0x04 and 0x80 of the low byte hide a task.
    const std::vector<std::uint32_t> statuses{0x04, 0x02,  0x80,   0x84,       0x100,
                                              0x41, 0x184, 0x8000, 0x80000000, 0xFFFFFF7B};
    for (std::size_t i = 0; i < statuses.size(); ++i) {
        file.records.push_back(ClassicTodoRecord(
            {.id = static_cast<std::uint32_t>(i), .status = statuses[i]},
            {.description = "task " + std::to_string(i), .note = std::string(9000, 'x')}));
    }
    const Bytes original = file.Build();
    Loaded loaded(file);
    ASSERT_TRUE(loaded.todos.IsLoaded());
    std::vector<std::uint32_t> shown;
    for (const PmTodoRecord& record : loaded.todos.GetDataMgr()) {
        shown.push_back(record.m_dwRecordId);
    }
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{1, 4, 5, 7, 8, 9}));
    EXPECT_EQ(loaded.todos.GetHiddenRecordCount(), 4u);

    // Untouched, every task goes back as it was, its long note included.
    ASSERT_TRUE(loaded.todos.Save());
    EXPECT_EQ(ReadFile(loaded.path), original);
}

TEST(PmTodo, ChangedAndNewTasksAreWrittenWithTheirCodes) {
    ScopedLogFolder logFolder;
    ClassicFile file = ClassicTodoFile();
    ClassicFields underOtherCodes = ClassicHeaderFields({.id = 3, .placement = 9});
    underOtherCodes.Text(std::string(9000, 'd'))
        .Integer(1000)
        .Integer(1)
        .Boolean(4)
        .Date(1)
        .Date(2)
        .Text("note", 0);
    file.records = {underOtherCodes.Get()};
    Loaded loaded(file);
    ASSERT_TRUE(loaded.todos.IsLoaded());
    PmTodoRecord changed = loaded.At(0);
    changed.m_dwPriority = 2;
    ASSERT_TRUE(loaded.todos.ChangeRecord(0, changed));
    PmTodoRecord added;
    added.m_szDescription = "new task";
    added.m_tDueDate = 0x749DCEFF;
    added.m_dwCategoryId = 4;
    ASSERT_TRUE(loaded.todos.AddNewRecord(added));
    ASSERT_TRUE(loaded.todos.Save());

    // Codes 1, 1, 1, 5, 3, 6, 1, 6, 1, 5; texts with word 1; the unchanged description whole
    // as it was stored, although its field keeps only 8191 bytes of it.
    file.records = {
        ClassicTodoRecord({.id = 3, .status = 2, .placement = 9},
                          {.description = std::string(9000, 'd'),
                           .dueDate = 1000,
                           .completed = 1,
                           .priority = 2,
                           .isPrivate = 1,
                           .category = 2,
                           .note = "note"}),
        ClassicTodoRecord({.status = 1, .placement = 0x7FFFFFFF},
                          {.description = "new task", .dueDate = 0x749DCEFF, .category = 4})};
    EXPECT_EQ(ReadFile(loaded.path), file.Build());

    Loaded again(file);
    ASSERT_TRUE(again.todos.IsLoaded());
    EXPECT_EQ(again.At(1).m_szDescription, "new task");
    EXPECT_EQ(again.At(1).m_dwStatus, 1u);
}

}  // namespace tabrel
