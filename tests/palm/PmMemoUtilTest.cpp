// The memo record of a classic memopad.dat: every field read and written, and the loading
// filter.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "palm/classic/PmMemoUtil.h"
#include "support/ClassicWriter.h"
#include "support/EnvGuards.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

struct Loaded {
    explicit Loaded(const ClassicFile& file) {
        WriteFile(path, file.Build());
        memos.LoadFile(path);
    }
    PmMemoRecord At(std::size_t position) {
        const PmMemoRecord* record = memos.GetDataMgr().GetRecordAt(position);
        return record != nullptr ? *record : PmMemoRecord{};
    }
    TempDir dir;
    std::string path = dir.File("memopad.dat");
    PmMemoUtil memos;
};

// Where needle first occurs in bytes; bytes.size() when it does not.
std::size_t Find(const Bytes& bytes, const Bytes& needle) {
    return static_cast<std::size_t>(
        std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) - bytes.begin());
}

}  // namespace

TEST(PmMemo, EveryFieldIsRead) {
    ScopedLogFolder logFolder;
    ClassicFile file = ClassicMemoFile();
    file.records = {ClassicMemoRecord({.id = 0x01020304, .status = 0x43, .placement = 8},
                                      "Shopping: milk", 1, 6)};
    // Values under other codes; a memo beyond 8191 bytes is kept whole.
    ClassicFields other;
    other.Date(9).Boolean(0).Date(1).Text(std::string(20000, 'q'), 0).Integer(0).Boolean(3);
    file.records.push_back(other.Get());
    Loaded loaded(file);
    ASSERT_TRUE(loaded.memos.IsLoaded());
    ASSERT_EQ(loaded.memos.GetDataMgr().GetRecordCount(), 2u);

    const PmMemoRecord first = loaded.At(0);
    EXPECT_EQ(first.m_dwRecordId, 0x01020304u);
    EXPECT_EQ(first.m_dwStatus, 0x43u);
    EXPECT_EQ(first.m_dwPlacement, 8u);
    EXPECT_EQ(first.m_szMemo, "Shopping: milk");
    EXPECT_EQ(first.m_bPrivate, 1u);
    EXPECT_EQ(first.m_dwCategoryId, 6u);
    EXPECT_EQ(first.m_szCategory, "");

    const PmMemoRecord second = loaded.At(1);
    EXPECT_EQ(second.m_dwRecordId, 9u);
    EXPECT_EQ(second.m_dwPlacement, 1u);
    EXPECT_EQ(second.m_szMemo, std::string(20000, 'q'));
    EXPECT_EQ(second.m_bPrivate, 0u);
    EXPECT_EQ(second.m_dwCategoryId, 3u);

    // A string where a value belongs is no memo file.
    ClassicFields bad = ClassicHeaderFields({});
    bad.Text("memo").Text("not a flag").Integer(0);
    file.records = {bad.Get()};
    EXPECT_FALSE(Loaded(file).memos.IsLoaded());
}

TEST(PmMemo, ChangedAndNewMemosAreWrittenWithTheirCodes) {
    ScopedLogFolder logFolder;
    ClassicFile file = ClassicMemoFile();
    ClassicFields underOtherCodes = ClassicHeaderFields({.id = 5, .status = 0x10});
    underOtherCodes.Text("short", 0).Integer(1).Date(2);
    file.records = {underOtherCodes.Get()};
    Loaded loaded(file);
    ASSERT_TRUE(loaded.memos.IsLoaded());
    PmMemoRecord changed = loaded.At(0);
    changed.m_szMemo = std::string(300, 'a');
    ASSERT_TRUE(loaded.memos.ChangeRecord(0, changed));
    PmMemoRecord added;
    added.m_szMemo = std::string(65535, 'z');
    ASSERT_TRUE(loaded.memos.AddNewRecord(added));
    ASSERT_TRUE(loaded.memos.Save());

    // Codes 1, 1, 1, 5 (word 1), 6, 1; a 300-byte memo in the long form FF 2C 01.
    file.records = {
        ClassicMemoRecord({.id = 5, .status = 0x12}, std::string(300, 'a'), 1, 2),
        ClassicMemoRecord({.status = 1, .placement = 0x7FFFFFFF}, std::string(65535, 'z'))};
    const Bytes saved = ReadFile(loaded.path);
    EXPECT_EQ(saved, file.Build());
    const Bytes memoField{5, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0x2C, 0x01, 'a'};
    EXPECT_LT(Find(saved, memoField), saved.size());

    // The longest memo a file can carry survives a load and a save of a changed record.
    Loaded again(file);
    ASSERT_TRUE(again.memos.IsLoaded());
    PmMemoRecord longest = again.At(1);
    EXPECT_EQ(longest.m_szMemo, std::string(65535, 'z'));
    longest.m_bPrivate = 1;
    ASSERT_TRUE(again.memos.ChangeRecord(1, longest));
    ASSERT_TRUE(again.memos.Save());
    file.records[1] =
        ClassicMemoRecord({.status = 3, .placement = 0x7FFFFFFF}, std::string(65535, 'z'), 1);
    EXPECT_EQ(ReadFile(again.path), file.Build());
}

TEST(PmMemo, DeletedAndArchivedMemosAreKeptOutOfTheListAndSavedBack) {
    ScopedLogFolder logFolder;
    ClassicFile file = ClassicMemoFile();
    const std::vector<std::uint32_t> statuses{0x80, 0x04, 0x02, 0x84, 0x200, 0x7B};
    for (std::size_t i = 0; i < statuses.size(); ++i) {
        file.records.push_back(ClassicMemoRecord(
            {.id = static_cast<std::uint32_t>(i), .status = statuses[i]}, std::to_string(i)));
    }
    const Bytes original = file.Build();
    Loaded loaded(file);
    ASSERT_TRUE(loaded.memos.IsLoaded());
    std::vector<std::string> shown;
    for (const PmMemoRecord& record : loaded.memos.GetDataMgr()) {
        shown.push_back(record.m_szMemo);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"2", "4", "5"}));
    EXPECT_EQ(loaded.memos.GetHiddenRecordCount(), 3u);
    ASSERT_TRUE(loaded.memos.Save());
    EXPECT_EQ(ReadFile(loaded.path), original);

    // A file of nothing but hidden memos keeps them all.
    file.records = {ClassicMemoRecord({.status = 0x80}, "a"),
                    ClassicMemoRecord({.status = 4}, "b")};
    Loaded hidden(file);
    ASSERT_TRUE(hidden.memos.IsLoaded());
    EXPECT_EQ(hidden.memos.GetDataMgr().GetRecordCount(), 0u);
    ASSERT_TRUE(hidden.memos.AddNewRecord(PmMemoRecord{}));
    ASSERT_TRUE(hidden.memos.Save());
    file.records.push_back(ClassicMemoRecord({.status = 1, .placement = 0x7FFFFFFF}, ""));
    EXPECT_EQ(ReadFile(hidden.path), file.Build());
}

}  // namespace tabrel
