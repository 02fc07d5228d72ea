// The "PalmSG Database" container shared by the four applications, driven through the Memos
// file (the Contacts specifics are in PmAddrExTest.cpp).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AllocationProbe.h"
#include "DatSamples.h"
#include "palm/desktop/PalmUsers.h"
#include "palm/palmsg/PmAddrExUtil.h"
#include "palm/palmsg/PmMemoExUtil.h"
#include "support/EnvGuards.h"
#include "support/LogCapture.h"
#include "support/PalmSgWriter.h"
#include "support/PalmTestSupport.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

std::string Hex(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t b : bytes) {
        text += text.empty() ? "" : " ";
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

Bytes Data(std::size_t size, std::uint8_t first) {
    return Pattern(size, first);
}

// The saved bytes of a memo record written from its fields (private flag under code 1).
Bytes WrittenMemo(PalmSgHeader header, std::string_view memo, std::string_view text11 = {},
                  std::string_view text12 = {}) {
    header.privateCode = 1;
    return MemoRecord(header, memo, text11, text12);
}

// The empty blocks of a new record, under the codes the schema lists for fields 7 to 10.
const std::array<Bytes, 4> kNewBlocks{
    PalmSgFields().Block(64).Get(), PalmSgFields().Block(65).Get(), PalmSgFields().Block(66).Get(),
    PalmSgFields().Block(67).Get()};

}  // namespace

TEST(PmDataMgr, CopiesRecordsAndKeepsTheirBytesUntilReplaced) {
    struct Rec {
        int value = 0;
        std::string text;
    };
    PmDataMgr<Rec> list;
    Rec rec{1, "one"};
    ASSERT_TRUE(list.AddRecord(rec));
    rec.text = "changed after the add";
    ASSERT_TRUE(list.AddLoadedRecord({2, "two"}, PmRawRecord{{0xAA, 0xBB, 0x01, 0x80}, 2}));
    EXPECT_EQ(list.GetRecordCount(), 2u);
    EXPECT_EQ(list.GetFirstRecord()->text, "one");
    EXPECT_EQ(list.GetNextRecord()->value, 2);
    EXPECT_EQ(list.GetNextRecord(), nullptr);
    EXPECT_EQ(list.GetRecordAt(2), nullptr);
    EXPECT_TRUE(list.GetRawBytes(0).empty());
    EXPECT_EQ(Bytes(list.GetRawBytes(1).begin(), list.GetRawBytes(1).end()),
              (Bytes{0xAA, 0xBB, 0x01, 0x80}));
    EXPECT_EQ(list.GetRawRecord(1).classRefOffset, 2u);

    const Rec* held = list.GetRecordAt(1);
    ASSERT_TRUE(list.ReplaceRecord(1, {3, "three"}));
    EXPECT_EQ(list.GetRecordAt(1), held);  // same place, same address
    EXPECT_EQ(held->value, 3);
    EXPECT_TRUE(list.GetRawBytes(1).empty());
    EXPECT_FALSE(list.GetRawRecord(1).HasClassReference());
    EXPECT_FALSE(list.ReplaceRecord(2, {}));

    int sum = 0;
    for (const Rec& r : list) {
        sum += r.value;
    }
    EXPECT_EQ(sum, 4);
    list.Clear();
    EXPECT_EQ(list.GetRecordCount(), 0u);
    EXPECT_EQ(list.GetFirstRecord(), nullptr);
}

TEST(PmExUtil, HeaderDescriptionCategoriesAndSchemaAreRead) {
    LogCapture log;
    const PalmSgFile file = SampleMemoPad();
    DatFile dat(file.Build());
    PmMemoExUtil memos;
    ASSERT_TRUE(memos.LoadFile(dat.Path()));
    EXPECT_TRUE(memos.IsLoaded());

    EXPECT_EQ(memos.GetExpectedVersion(), 0x4D500200u);
    EXPECT_EQ(Bytes(memos.GetReserved1().begin(), memos.GetReserved1().end()), file.reserved1);
    EXPECT_EQ(memos.GetReserved2(), file.reserved2);
    EXPECT_EQ(memos.GetDatabaseName(), file.databaseName);
    EXPECT_EQ(memos.GetFileName(), file.databaseName);
    EXPECT_EQ(memos.GetLoadedPath(), dat.Path());
    EXPECT_EQ(memos.GetTrailingBytes(), file.trailing);

    const PmDatSchema& schema = memos.GetSchema();
    EXPECT_EQ(schema.m_dwResourceId, 64u);
    EXPECT_EQ(schema.m_dwFieldsPerRow, 14u);
    EXPECT_EQ(schema.m_dwRecordIdPosition, 0u);
    EXPECT_EQ(schema.m_dwStatusPosition, 2u);
    EXPECT_EQ(schema.m_dwPlacementPosition, 4u);
    EXPECT_EQ(schema.m_fieldCodes, MemoPadCodes());

    const PmCategoryMgr& categories = *memos.GetCatMgr();
    EXPECT_EQ(categories.GetCount(), 3);
    EXPECT_EQ(categories.GetNextFeedId(), 130);
    EXPECT_FALSE(categories.IsModified());
    ASSERT_NE(categories.GetAt(0), nullptr);
    EXPECT_EQ(categories.GetAt(0)->GetName(), "Unfiled");
    ASSERT_NE(categories.GetAt(3), nullptr);
    EXPECT_EQ(categories.GetAt(3)->GetId(), 7);
    EXPECT_EQ(categories.GetAt(3)->GetName(), "Per.sonal");
    EXPECT_EQ(categories.GetAt(3)->GetFlags(), 0u);
    EXPECT_EQ(categories.GetAt(2), nullptr);

    ASSERT_EQ(memos.GetDataMgr().GetRecordCount(), 3u);
    EXPECT_EQ(LoadedRecord(memos, 0).m_szCategory, "Business");
    EXPECT_EQ(LoadedRecord(memos, 1).m_szCategory, "Per.sonal");
    EXPECT_EQ(LoadedRecord(memos, 2).m_szCategory, "");  // ID 5 names no category

    // The reserved blocks are logged as hexadecimal bytes.
    EXPECT_TRUE(log.HasTagged("P Reserved 1 Field: " + Hex(file.reserved1)));
    EXPECT_TRUE(log.HasTagged("P Reserved 2 Fields: " + Hex(file.reserved2)));
    EXPECT_TRUE(log.HasTagged("P Database file name:" + file.databaseName));
}

TEST(PmExUtil, DatabaseNameUpTo260CharactersAndDirtyCategories) {
    ScopedLogFolder logFolder;
    PalmSgFile file = MemoPadFile();
    file.databaseName = std::string(260, 'n');
    file.categories = {{2, 4, 1, "A name longer than fifteen", "whatever"}};
    DatFile dat(file.Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(memos.GetDatabaseName(), file.databaseName);
    EXPECT_EQ(memos.GetFileName(), std::string(255, 'n'));
    const PmCategory* category = memos.GetCatMgr()->GetAt(2);
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(category->GetName(), "A name longer t");
    EXPECT_EQ(category->GetFileName(), "A name longer t");  // made from the name
    EXPECT_EQ(category->GetFlags(), PmCategory::kDirty);

    file.databaseName = std::string(261, 'n');
    EXPECT_FALSE(PmMemoExUtil(DatFile(file.Build()).Path()).IsLoaded());
}

TEST(PmExUtil, MagicTextIsCheckedButNotItsPrefix) {
    LogCapture log;
    PalmSgFile file = MemoPadFile();
    file.magicPrefix = {1, 2, 3, 4, 5};
    EXPECT_TRUE(PmMemoExUtil(DatFile(file.Build()).Path()).IsLoaded());

    file.magicText = "PalmSG Database00RX";
    DatFile wrong(file.Build());
    EXPECT_FALSE(PmMemoExUtil(wrong.Path()).IsLoaded());
    EXPECT_TRUE(log.HasInOrder({"E Incorrect database magic code: PalmSG Database00RX",
                                "E Failed to check magic code.",
                                "E Load Palm Desktop Memos failed: " + wrong.Path()}));

    log.Clear();
    DatFile shortFile(Bytes{0xBE, 0xBA, 0xFE, 0xCA, 0x0F, 'P', 'a', 'l', 'm', 'S'});
    EXPECT_FALSE(PmMemoExUtil(shortFile.Path()).IsLoaded());
    EXPECT_TRUE(log.HasTagged("E Incorrect database magic code: PalmS"));
}

TEST(PmExUtil, AnotherApplicationsVersionIsRefused) {
    LogCapture log;
    DatFile address(AddressFile().Build(), "address.dat");
    PmMemoExUtil memos;
    EXPECT_FALSE(memos.LoadFile(address.Path()));
    EXPECT_FALSE(memos.IsLoaded());
    EXPECT_TRUE(
        log.HasInOrder({"P Database version: 1094844928", "E Incorrect database version:1094844928",
                        "E Failed to check database version.",
                        "E Load Palm Desktop Memos failed: " + address.Path()}));

    log.Clear();
    DatFile memo(MemoPadFile().Build());
    PmAddrExUtil contacts;
    EXPECT_FALSE(contacts.LoadFile(memo.Path()));
    EXPECT_TRUE(log.HasInOrder({"E Incorrect database version:1297089024",
                                "E Can not load Palm Desktop Contacts: " + memo.Path()}));
}

TEST(PmExUtil, CategoryEntriesThatCannotBeHeldFailTheLoad) {
    LogCapture log;
    const auto loads = [](const std::vector<PalmSgCategoryEntry>& entries,
                          std::optional<std::uint32_t> count = std::nullopt) {
        PalmSgFile file = MemoPadFile();
        file.categories = entries;
        file.categoryCount = count;
        return PmMemoExUtil(DatFile(file.Build()).Path()).IsLoaded();
    };
    EXPECT_TRUE(loads({{15, 200, 0, "Last", "Last"}}));
    EXPECT_FALSE(loads({{16, 1, 0, "Slot 16", ""}}));
    EXPECT_FALSE(loads({{0, 1, 0, "Slot of Unfiled", ""}}));
    EXPECT_FALSE(loads({{0xFFFFFFFF, 1, 0, "No slot", ""}}));
    EXPECT_FALSE(loads({{1, 0xFFFFFFFF, 0, "No ID", ""}}));
    EXPECT_FALSE(loads({{1, 0, 0, "ID of Unfiled", ""}}));
    EXPECT_FALSE(loads({{1, 3, 0, "A", ""}, {2, 3, 0, "Same ID", ""}}));
    EXPECT_FALSE(loads({{1, 3, 0, "A", ""}, {1, 4, 0, "Same slot", ""}}));
    EXPECT_FALSE(loads({{1, 3, 0, std::string(257, 'x'), ""}}));
    EXPECT_TRUE(log.HasTagged("E Failed to read category name."));
    EXPECT_FALSE(loads({{1, 3, 0, "A", std::string(257, 'x')}}));
    EXPECT_TRUE(log.HasTagged("E Failed to read category file name."));

    // Only the low 16 bits of the count are used; more than 15 entries cannot be held.
    EXPECT_TRUE(loads({{1, 3, 0, "A", ""}}, 0xFFFF0001));
    log.Clear();
    EXPECT_FALSE(loads({}, 16));
    EXPECT_TRUE(log.HasInOrder(
        {"E Incorrect category count:16", "E Failed to load category information."}));
}

TEST(PmExUtil, SchemaIsKeptAndImpossibleSchemasAreRefused) {
    LogCapture log;
    PalmSgFile file = MemoPadFile();
    file.resourceId = 99;
    file.recordIdPosition = 7;
    file.statusPosition = 8;
    file.placementPosition = 9;
    file.fieldCodes[13] = 3;  // codes are kept; the readers go by field index
    file.records = {MemoRecord({.id = 1}, "kept")};
    file.reserved1[kCountLow - 28] = 1;
    DatFile dat(file.Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(memos.GetSchema().m_dwResourceId, 99u);
    EXPECT_EQ(memos.GetSchema().m_dwPlacementPosition, 9u);
    EXPECT_EQ(memos.GetSchema().m_fieldCodes, file.fieldCodes);
    EXPECT_EQ(LoadedRecord(memos, 0).m_szMemo, "kept");
    EXPECT_TRUE(log.HasInOrder({"P Resource ID:99", "P Fields Per Row:14", "E Record ID Position:7",
                                "P Record Status Position:8", "P Placement Position:9",
                                "P Fields Count:14", "P Field (1) - 1", "P Field (14) - 3"}));
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(dat.Read(), file.Build());

    // A schema of fewer fields: the records hold only those.
    file = MemoPadFile();
    file.fieldsPerRow = 12;
    file.fieldCodes.resize(12);
    PalmSgFields shortRecord = HeaderFields({.id = 5});
    file.records = {shortRecord.Text("t11").Get()};
    file.reserved1[kCountLow - 28] = 1;
    DatFile fewer(file.Build());
    PmMemoExUtil fewerMemos(fewer.Path());
    ASSERT_TRUE(fewerMemos.IsLoaded());
    EXPECT_EQ(LoadedRecord(fewerMemos, 0).m_szText11, "t11");
    PmMemoExRecord changed = LoadedRecord(fewerMemos, 0);
    changed.m_szText11 = "u11";
    changed.m_szMemo = "not written";
    ASSERT_TRUE(fewerMemos.ChangeRecord(0, changed));
    ASSERT_TRUE(fewerMemos.Save());
    PalmSgFields written = HeaderFields({.id = 5, .status = 2, .privateCode = 1});
    file.records = {written.Text("u11").Get()};
    EXPECT_EQ(fewer.Read(), file.Build());

    // More fields than a memo has, none, or no fields per row.
    for (const auto& [count, perRow, message] :
         std::vector<std::tuple<std::uint16_t, std::uint32_t, std::string>>{
             {15, 14, "E Incorrect fields count:15"},
             {0, 14, "E Incorrect fields count:0"},
             {14, 0, "E Incorrect fields per row:0"}}) {
        file = MemoPadFile();
        file.fieldCount = count;
        file.fieldsPerRow = perRow;
        log.Clear();
        EXPECT_FALSE(PmMemoExUtil(DatFile(file.Build()).Path()).IsLoaded()) << message;
        EXPECT_TRUE(log.HasInOrder({message, "E Failed to load database schema information."}))
            << message;
    }
}

TEST(PmExUtil, OnlyWholeRecordsAreReadAndTheRestIsWrittenBack) {
    ScopedLogFolder logFolder;
    PalmSgFile file = SampleMemoPad();
    file.totalFields = 3 * 14 + 13;  // a partial fourth record
    file.trailing = MemoRecord({.id = 44}, "fourth");
    DatFile dat(file.Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(memos.GetDataMgr().GetRecordCount(), 3u);
    EXPECT_EQ(memos.GetTrailingBytes(), file.trailing);

    ASSERT_TRUE(memos.Save());
    file.totalFields.reset();  // written as record count times fields per row
    EXPECT_EQ(dat.Read(), file.Build());

    // The announced records must all be there.
    file.totalFields = 4 * 14;
    file.trailing = {1, 2, 3};
    EXPECT_FALSE(PmMemoExUtil(DatFile(file.Build()).Path()).IsLoaded());
}

TEST(PmExUtil, ImpossibleCountsFailWithoutLargeAllocations) {
    LogCapture log;
    PalmSgFile file = MemoPadFile();
    file.fieldsPerRow = 1;
    file.totalFields = 0xFFFFFFFF;
    file.records = {MemoRecord({}, "one")};
    DatFile dat(file.Build());
    ResetLargestAllocation();
    PmMemoExUtil memos(dat.Path());
    EXPECT_FALSE(memos.IsLoaded());
    EXPECT_LT(LargestAllocation(), std::size_t{1} << 20);
    EXPECT_EQ(memos.GetDataMgr().GetRecordCount(), 0u);
    const std::size_t afterCount = MemoPadFile().Head().size() + 4;
    EXPECT_TRUE(log.HasInOrder(
        {"P Total Fields: -1", "P Calculated Record Count: -1",
         "E Error reading Palm Desktop Memos, current file position: " + std::to_string(afterCount),
         "E Palm Desktop Memos records are not saved successfully.",
         "E Failed to load Memos records.", "E Load Palm Desktop Memos failed: " + dat.Path()}));

    // A memo announcing more bytes than the file holds.
    file = MemoPadFile();
    PalmSgFields hostile = HeaderFields({});
    hostile.Text("").Text("").Raw(Bytes{5, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 'x'});
    file.records = {hostile.Get()};
    EXPECT_FALSE(PmMemoExUtil(DatFile(file.Build()).Path()).IsLoaded());
}

TEST(PmExUtil, LoadAndSaveGiveBackIdenticalBytes) {
    ScopedLogFolder logFolder;
    PalmSgFile file = SampleMemoPad();
    file.records.push_back(MemoRecord({.id = 44, .number = 4099}, std::string(65535, 'z')));
    file.reserved1[kCountLow - 28] = 4;
    const Bytes original = file.Build();
    DatFile dat(original);
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(LoadedRecord(memos, 1).m_szMemo, std::string(9000, 'm'));
    EXPECT_EQ(LoadedRecord(memos, 3).m_szMemo, std::string(65534, 'z'));
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(dat.Read(), original);
    EXPECT_EQ(dat.EntryCount(), 1u);

    // Saved twice, and loaded and saved again, still the same.
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(dat.Read(), original);
    PmMemoExUtil again(dat.Path());
    ASSERT_TRUE(again.Save());
    EXPECT_EQ(dat.Read(), original);
}

TEST(PmExUtil, SaveNormalisesCountsFlagsFileNamesAndMagic) {
    ScopedLogFolder logFolder;
    PalmSgFile file = SampleMemoPad();
    file.magicPrefix = {0, 0, 0, 0, 0};
    file.reserved1[kCountLow - 28] = 0x99;
    file.reserved1[kCountHigh - 28] = 0x99;
    file.categoryCount = 0x00050002;
    file.categories = {{3, 7, 1, "Per.sonal", "old file name"}, {1, 1, 0, "Business", ""}};
    file.totalFields = 3 * 14 + 2;
    DatFile dat(file.Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    ASSERT_TRUE(memos.Save());

    PalmSgFile expected = SampleMemoPad();  // records and trailing bytes as they were
    EXPECT_EQ(dat.Read(), expected.Build());
}

TEST(PmExUtil, EmptyCategoryListIsSavedAsFeedIdAndZero) {
    ScopedLogFolder logFolder;
    PalmSgFile file = MemoPadFile();
    file.nextFeedId = 0x12345678;
    DatFile dat(file.Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(memos.GetCatMgr()->GetCount(), 1);
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(dat.Read(), file.Build());

    // A database that was never loaded has no category list: 128 and 0.
    PmMemoExUtil fresh;
    ASSERT_TRUE(fresh.SaveAs(dat.Path()));
    PalmSgFile empty = MemoPadFile();
    empty.reserved1 = Bytes(24, 0);
    empty.reserved1[13] = 0x10;
    empty.databaseName = dat.Path();
    empty.reserved2 = Bytes(43, 0);
    EXPECT_EQ(dat.Read(), empty.Build());
}

TEST(PmExUtil, NewRecordsAreStampedAndCounted) {
    ScopedLogFolder logFolder;
    PalmSgFile file = SampleMemoPad();
    DatFile dat(file.Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());

    PmMemoExRecord added;
    added.m_dwStatus = 0x10;
    added.m_dwCategoryId = 7;
    added.m_dwPrivate = 1;
    added.m_szMemo = "new memo";
    ASSERT_TRUE(memos.AddNewRecord(added));
    const PmMemoExRecord stamped = LoadedRecord(memos, 3);
    EXPECT_EQ(stamped.m_dwRecordId, 0u);
    EXPECT_EQ(stamped.m_dwRecordNumber, 4099u);
    EXPECT_EQ(stamped.m_dwStatus, 0x11u);
    EXPECT_EQ(stamped.m_dwField3, 3u * 14);
    EXPECT_EQ(stamped.m_dwPlacement, 0x7FFFFFFFu);
    // Its empty blocks carry the codes the schema lists for fields 7 to 10.
    for (std::uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(stamped.m_blocks[i].m_dwType, 64 + i);
        EXPECT_EQ(stamped.m_blocks[i].m_dwSize, 0u);
    }
    ASSERT_TRUE(memos.Save());

    file.reserved1[kCountLow - 28] = 4;
    file.records.push_back(WrittenMemo({.number = 4099,
                                        .status = 0x11,
                                        .field3 = 42,
                                        .placement = 0x7FFFFFFF,
                                        .category = 7,
                                        .isPrivate = 1,
                                        .blocks = kNewBlocks},
                                       "new memo"));
    EXPECT_EQ(dat.Read(), file.Build());

    // 300 records are counted as 4396 = 0x112C in bytes 12 and 13 of reserved block 1.
    DatFile many(MemoPadFile().Build());
    PmMemoExUtil manyMemos(many.Path());
    ASSERT_TRUE(manyMemos.IsLoaded());
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(manyMemos.AddNewRecord(PmMemoExRecord{}));
    }
    EXPECT_EQ(LoadedRecord(manyMemos, 299).m_dwRecordNumber, 4096u + 299);
    EXPECT_EQ(LoadedRecord(manyMemos, 299).m_dwField3, 299u * 14);
    ASSERT_TRUE(manyMemos.Save());
    const Bytes saved = many.Read();
    EXPECT_EQ(saved.at(kCountLow), 0x2C);
    EXPECT_EQ(saved.at(kCountHigh), 0x11);
    PmMemoExUtil reloaded(many.Path());
    EXPECT_EQ(reloaded.GetDataMgr().GetRecordCount(), 300u);
}

TEST(PmExUtil, ChangedRecordIsWrittenFromItsFields) {
    ScopedLogFolder logFolder;
    PalmSgFile file = SampleMemoPad();
    DatFile dat(file.Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());

    PmMemoExRecord changed = LoadedRecord(memos, 0);
    changed.m_szMemo = "Shopping: milk, eggs";
    ASSERT_TRUE(memos.ChangeRecord(0, changed));
    EXPECT_EQ(LoadedRecord(memos, 0).m_dwStatus, 0x02u);
    EXPECT_FALSE(memos.ChangeRecord(3, changed));
    ASSERT_TRUE(memos.Save());

    // Blocks as held, the private flag under code 1, the other records untouched.
    PalmSgHeader header{.id = 0x00A1B2C3,
                        .number = 4096,
                        .status = 2,
                        .field3 = 0,
                        .placement = 1,
                        .category = 1,
                        .isPrivate = 1};
    header.blocks[0] = PalmSgFields().Block(64, Data(6, 0x70)).Get();
    header.blocks[1] = PalmSgFields().Block(65).Get();
    header.blocks[2] = PalmSgFields().WordBlock(66, 2, 9, 8, Data(3, 0x80)).Get();
    header.blocks[3] = PalmSgFields().Block(67).Get();
    file.records[0] = WrittenMemo(header, "Shopping: milk, eggs", "t11", "t12");
    EXPECT_EQ(dat.Read(), file.Build());
}

TEST(PmExUtil, SaveGoesToTheLoadedPathAndLeavesNoStaleBytes) {
    ScopedLogFolder logFolder;
    PalmSgFile file = SampleMemoPad();
    DatFile dat(file.Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_NE(memos.GetFileName(), dat.Path());  // the recorded Windows path

    PmMemoExRecord shorter = LoadedRecord(memos, 1);
    shorter.m_szMemo = "now short";
    ASSERT_TRUE(memos.ChangeRecord(1, shorter));
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(memos.GetFileName(), file.databaseName);

    file.records[1] = WrittenMemo(
        {.id = 22, .number = 4097, .status = 0x42, .field3 = 14, .placement = 2, .category = 7},
        "now short", "carried");
    // The carried text had the word 0, which a record written from its fields gives as 1.
    EXPECT_EQ(dat.Read(), file.Build());
    EXPECT_EQ(dat.EntryCount(), 1u);
}

TEST(PmExUtil, SaveAsNeedsAnExistingFileAndKeepsPermissionsAndLinks) {
    LogCapture log;
    const PalmSgFile file = SampleMemoPad();
    DatFile dat(file.Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());

    const std::string missing = dat.Dir().File("missing.dat");
    EXPECT_FALSE(memos.SaveAs(missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(log.HasTagged("E Failed to open file: " + missing));
    EXPECT_FALSE(memos.SaveAs(""));

    const std::string other = dat.Dir().File("other.dat");
    WriteFile(other, Bytes(100000, 0x55));
    std::filesystem::permissions(other, std::filesystem::perms(0640));
    const std::string link = dat.Dir().File("link.dat");
    std::filesystem::create_symlink(other, link);
    ASSERT_TRUE(memos.SaveAs(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(other), file.Build());
    EXPECT_EQ(std::filesystem::status(other).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(memos.GetLoadedPath(), dat.Path());
    EXPECT_EQ(dat.EntryCount(), 3u);  // no temporary file left behind
}

TEST(PmExUtil, FailedSaveLeavesTheOriginalFile) {
    LogCapture log;
    const PalmSgFile file = SampleMemoPad();
    const Bytes original = file.Build();

    // A record that cannot be written (a block announcing more data than it holds) ends the
    // save half way.
    DatFile dat(original);
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    PmMemoExRecord broken = LoadedRecord(memos, 2);
    broken.m_blocks[1] = PmBlock{65, 10, 0, 0, 10, {1, 2}};
    ASSERT_TRUE(memos.ChangeRecord(2, broken));
    EXPECT_FALSE(memos.Save());
    EXPECT_EQ(dat.Read(), original);
    EXPECT_EQ(dat.EntryCount(), 1u);
    EXPECT_TRUE(log.HasInOrder(
        {"E Failed to save Memos records.", "E Failed to save Palm Desktop Memos database."}));
}

// After a failed load the object holds the earlier file's header with what it read of the
// other file: no save writes that anywhere, each refusal logs the save-failure line. A
// later successful load makes saving possible again.
TEST(PmExUtil, SaveIsRefusedAfterAFailedLoad) {
    LogCapture log;
    const Bytes original = SampleMemoPad().Build();
    DatFile dat(original);
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_FALSE(memos.HasLoadFailed());

    // A file cut in its second record: categories, schema and one record of it were read.
    PalmSgFile other = SampleMemoPad();
    other.categories = {{2, 9, 0, "Other", "Other"}};
    const Bytes otherBytes = other.Build();
    DatFile cut(Bytes(otherBytes.begin(), otherBytes.end() - 200));
    ASSERT_FALSE(memos.LoadFile(cut.Path()));
    EXPECT_TRUE(memos.HasLoadFailed());
    log.Clear();
    EXPECT_FALSE(memos.SaveAs(dat.Path()));
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"E Failed to save Palm Desktop Memos database."});
    log.Clear();
    EXPECT_FALSE(memos.Save());
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"E Failed to save Palm Desktop Memos database."});
    EXPECT_EQ(dat.Read(), original);
    EXPECT_EQ(dat.EntryCount(), 1u);

    // A missing file is a failed load too.
    ASSERT_TRUE(memos.LoadFile(dat.Path()));
    EXPECT_FALSE(memos.LoadFile(dat.Dir().File("missing.dat")));
    EXPECT_FALSE(memos.SaveAs(dat.Path()));

    ASSERT_TRUE(memos.LoadFile(dat.Path()));
    EXPECT_FALSE(memos.HasLoadFailed());
    EXPECT_TRUE(memos.SaveAs(dat.Path()));
    EXPECT_EQ(dat.Read(), original);

    // Nothing loaded: Save has no path, and says so; SaveAs writes the defaults.
    log.Clear();
    PmMemoExUtil fresh;
    EXPECT_FALSE(fresh.Save());
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"E Failed to save Palm Desktop Memos database."});
    EXPECT_TRUE(fresh.SaveAs(dat.Path()));
}

TEST(PmExUtil, LoadAndSaveLogTheirSteps) {
    LogCapture log;
    DatFile dat(SampleMemoPad().Build());
    PmMemoExUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_TRUE(log.HasInOrder({
        "P Loading Palm Desktop Memos: " + dat.Path(),
        "P Start checking Palm Desktop Memos database magic code.",
        "P Check magic code successfully.",
        "P Start checking Palm Desktop Memos database file version.",
        "P Database version: 1297089024",
        "P Check database version successfully.",
        "P Start loading Palm Desktop Memos database file description.",
        "P Load database description information successfully.",
        "P Start loading Palm Desktop Memos category information.",
        "P Read category:Business",
        "P Read category:Per.sonal",
        "P Load Palm Desktop Memos categories successfully.",
        "P Start loading Palm Desktop Memos database schema.",
        "P Palm Desktop Memos database schema is loaded successfully.",
        "P Start loading Palm Desktop Memos records.",
        "P Total Fields: 42",
        "P Calculated Record Count: 3",
        "P Palm Desktop Memos records information is saved successfully.",
    }));
    // Memos log no line of their own after a successful load, and no custom labels.
    EXPECT_FALSE(log.HasTagged("P Palm Desktop Memos information is loaded successfully."));
    EXPECT_FALSE(log.HasTagged("P Load custom label information successfully."));

    log.Clear();
    ASSERT_TRUE(memos.Save());
    EXPECT_TRUE(log.HasInOrder({
        "P Saving Palm Desktop Memos database as file: " + dat.Path(),
        "P Start saving Palm Desktop Memos magic code information.",
        "P Magic code information saved successfully.",
        "P Start saving Palm Desktop Memos version information.",
        "P Palm Desktop Memos version information is saved successfully.",
        "P Start saving Palm Desktop Memos file description.",
        "P Palm Desktop Memos file description is saved successfully.",
        "P Start saving Palm Desktop Memos categories.",
        "P Saving category [Business]",
        "P Saving category [Per.sonal]",
        "P Palm Desktop Memos categories are saved successfully.",
        "P Start saving Palm Desktop Memos database schema.",
        "P Palm Desktop Memos database schema is saved successfully.",
        "P Start saving Palm Desktop Memos records.",
        "P Total number of records: 3",
        "P Palm Desktop Memos records are saved successfully.",
        "P Save Palm Desktop Memos database successfully.",
    }));
    EXPECT_FALSE(log.HasTagged("P Start saving Palm Desktop Memos custom labels."));

    log.Clear();
    EXPECT_FALSE(memos.LoadFile(dat.Dir().File("none.dat")));
    EXPECT_TRUE(
        log.HasInOrder({"E Failed to open file: " + dat.Dir().File("none.dat"),
                        "E Load Palm Desktop Memos failed: " + dat.Dir().File("none.dat")}));
    EXPECT_FALSE(memos.Save());  // a failed load forgets the file loaded before
    log.Clear();
    EXPECT_FALSE(memos.LoadFile(""));
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"E Invalid Palm Desktop Notes database file name."});
}

TEST(PmExUtil, LoadByUserReadsTheUsersFile) {
    ScopedPalmSetup setup;  // before the capture: it points the log elsewhere itself
    LogCapture log;
    const std::string root = setup.File("Palm");
    std::filesystem::create_directories(root + "/Bob/MemoPad");
    SetPalmDesktopFolder(root);
    WriteFile(root + "/Bob/MemoPad/MEMOPAD.DAT", SampleMemoPad().Build());
    ASSERT_TRUE(LoadUserLibrary());
    const std::int32_t bob = 0x6BCBA174;

    PmMemoExUtil memos;
    EXPECT_TRUE(memos.LoadByUser(bob));
    EXPECT_EQ(memos.GetDataMgr().GetRecordCount(), 3u);
    EXPECT_EQ(memos.GetLoadedPath(), root + "/Bob/MemoPad/MEMOPAD.DAT");
    EXPECT_TRUE(log.HasInOrder(
        {"P Start loading Palm Desktop Memos by user ID: " + std::to_string(bob),
         "P Get user file successfully, try loading file:" + root + "/Bob/MemoPad/MEMOPAD.DAT"}));

    log.Clear();
    EXPECT_FALSE(memos.LoadByUser(12345));
    EXPECT_TRUE(log.HasTagged("E Failed to get user database path by user ID."));
    PmAddrExUtil contacts;  // Bob has no address book
    EXPECT_FALSE(contacts.LoadByUser(bob));
    EXPECT_TRUE(log.HasTagged("E Failed to open file: " + root + "/Bob/address/address.dat"));
    FreeUserLibrary();
}

}  // namespace tabrel
