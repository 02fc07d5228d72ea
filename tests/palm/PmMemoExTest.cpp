// The memo record of a "PalmSG Database" memopad.dat: every field read and written.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "palm/palmsg/PmMemoExUtil.h"
#include "support/EnvGuards.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

struct Loaded {
    explicit Loaded(const PalmSgFile& file) {
        WriteFile(path, file.Build());
        memos.LoadFile(path);
    }
    TempDir dir;
    std::string path = dir.File("memopad.dat");
    PmMemoExUtil memos;
};

// Where needle first occurs in bytes; bytes.size() when it does not.
std::size_t Find(const Bytes& bytes, const Bytes& needle) {
    return static_cast<std::size_t>(
        std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) - bytes.begin());
}

}  // namespace

TEST(PmMemoEx, EveryFieldIsRead) {
    ScopedLogFolder logFolder;
    PalmSgFile file = MemoPadFile();
    file.categories = {{4, 9, 0, "Ideas", "Ideas"}};
    // Fields 0 to 6 may come under code 1, 3 or 6; blocks of every size kind.
    PalmSgFields fields;
    fields.Integer(0x01020304).Date(4100).Boolean(0x85).Integer(0xFFFFFFFF).Value(6, 77);
    fields.Integer(9).Date(1);
    fields.Block(64, {1, 2, 3, 4, 5})
        .WordBlock(65, 1, 0xAAAA, 0xBBBB, {9, 8})
        .WordBlock(66, 3, 1, 2, {})
        .Block(67);
    fields.Text(std::string(40, 'k')).Text("twelve").Text(std::string(20000, 'q'));
    file.records = {fields.Get()};
    Loaded loaded(file);
    ASSERT_TRUE(loaded.memos.IsLoaded());
    const PmMemoExRecord* record = loaded.memos.GetDataMgr().GetRecordAt(0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_dwRecordId, 0x01020304u);
    EXPECT_EQ(record->m_dwRecordNumber, 4100u);
    EXPECT_EQ(record->m_dwStatus, 0x85u);
    EXPECT_EQ(record->m_dwField3, 0xFFFFFFFFu);
    EXPECT_EQ(record->m_dwPlacement, 77u);
    EXPECT_EQ(record->m_dwCategoryId, 9u);
    EXPECT_EQ(record->m_dwPrivate, 1u);
    EXPECT_EQ(record->m_szCategory, "Ideas");
    EXPECT_EQ(record->m_blocks[0], (PmBlock{64, 5, 0, 0, 5, {1, 2, 3, 4, 5}}));
    EXPECT_EQ(record->m_blocks[1], (PmBlock{65, 1, 0xAAAA, 0xBBBB, 2, {9, 8}}));
    EXPECT_EQ(record->m_blocks[2], (PmBlock{66, 3, 1, 2, 0, {}}));
    EXPECT_EQ(record->m_blocks[3], (PmBlock{67, 0, 0, 0, 0, {}}));
    EXPECT_EQ(record->m_szText11, std::string(31, 'k'));
    EXPECT_EQ(record->m_szText12, "twelve");
    EXPECT_EQ(record->m_szMemo, std::string(20000, 'q'));  // whole, not only 8191 bytes

    // A string where a value belongs is no memo file.
    PalmSgFile wrong = MemoPadFile();
    PalmSgFields bad;
    bad.Integer(1).Text("not a number");
    wrong.records = {bad.Get()};
    EXPECT_FALSE(Loaded(wrong).memos.IsLoaded());
}

TEST(PmMemoEx, FieldsAreWrittenWithTheirCodes) {
    ScopedLogFolder logFolder;
    Loaded loaded(MemoPadFile());
    ASSERT_TRUE(loaded.memos.IsLoaded());
    PmMemoExRecord record;
    record.m_dwRecordId = 0x11223344;
    record.m_dwCategoryId = 3;
    record.m_dwPrivate = 1;
    record.m_blocks[1] = PmBlock{65, 2, 7, 6, 3, {0xC1, 0xC2, 0xC3}};
    record.m_szText11 = "a";
    record.m_szMemo = std::string(300, 'w');
    ASSERT_TRUE(loaded.memos.AddNewRecord(record));
    ASSERT_TRUE(loaded.memos.Save());

    PalmSgFields expected;
    expected.Integer(0x11223344).Integer(4096).Integer(1).Integer(0).Integer(0x7FFFFFFF);
    expected.Integer(3).Integer(1);  // the private flag under code 1
    // The block given keeps its code; the empty ones get the codes of the schema.
    expected.Block(64).WordBlock(65, 2, 7, 6, {0xC1, 0xC2, 0xC3});
    expected.Block(66).Block(67);
    expected.Text("a").Text("").Text(std::string(300, 'w'));
    const Bytes saved = ReadFile(loaded.path);
    Bytes records{14, 0, 0, 0};  // T = 1 x 14, then the record
    records.insert(records.end(), expected.Get().begin(), expected.Get().end());
    ASSERT_GE(saved.size(), records.size());
    EXPECT_EQ(Bytes(saved.end() - static_cast<long>(records.size()), saved.end()), records);
    // A memo of 300 characters takes the long length form FF 2C 01.
    EXPECT_LT(Find(saved, Bytes{5, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0x2C, 0x01, 'w'}), saved.size());
}

TEST(PmMemoEx, ConstructorLoadsAndDefaultsAreMemos) {
    ScopedLogFolder logFolder;
    PmMemoExUtil fresh;
    EXPECT_FALSE(fresh.IsLoaded());
    EXPECT_EQ(fresh.GetSchema().m_dwResourceId, 64u);
    EXPECT_EQ(fresh.GetSchema().m_dwFieldsPerRow, 14u);
    EXPECT_EQ(fresh.GetSchema().m_fieldCodes, MemoPadCodes());
    EXPECT_EQ(fresh.GetReserved2(), Bytes(43, 0));
    EXPECT_EQ(fresh.GetReserved1()[12], 0);
    EXPECT_EQ(fresh.GetReserved1()[13], 0x10);
    EXPECT_EQ(fresh.GetDataMgr().GetRecordCount(), 0u);

    TempDir dir;
    WriteFile(dir.File("memopad.dat"), MemoPadFile().Build());
    EXPECT_TRUE(PmMemoExUtil(dir.File("memopad.dat")).IsLoaded());
    EXPECT_FALSE(PmMemoExUtil(dir.File("missing.dat")).IsLoaded());
}

}  // namespace tabrel
