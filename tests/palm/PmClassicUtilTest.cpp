// The classic .dat container shared by the four applications, driven through the Memos
// and Tasks files (the records themselves are in PmMemoUtilTest.cpp and PmTodoUtilTest.cpp).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "AllocationProbe.h"
#include "DatSamples.h"
#include "palm/classic/PmAddrUtil.h"
#include "palm/classic/PmDateUtil.h"
#include "palm/classic/PmMemoUtil.h"
#include "palm/classic/PmTodoUtil.h"
#include "palm/desktop/PalmUsers.h"
#include "palm/palmsg/PmMemoExUtil.h"
#include "support/ClassicWriter.h"
#include "support/EnvGuards.h"
#include "support/LogCapture.h"
#include "support/PalmSgWriter.h"
#include "support/PalmTestSupport.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

// Log lines named after the slots they fill, for the checks of where each slot is logged.
PmClassicLog SlotNameLog() {
    PmClassicLog log;
    log.emptyPath = "emptyPath";
    log.loadStart = "loadStart %s";
    log.openFailed = "openFailed %s";
    log.versionFailed = "versionFailed";
    log.databaseNameRead = "databaseNameRead %s";
    log.databaseNameFailed = "databaseNameFailed";
    log.labelsFailed = "labelsFailed";
    log.categoriesStart = "categoriesStart";
    log.nextFeedIdFailed = "nextFeedIdFailed";
    log.categoryCountFailed = "categoryCountFailed";
    log.categoryIndexFailed = "categoryIndexFailed";
    log.categoryIdFailed = "categoryIdFailed";
    log.categoryDirtyFailed = "categoryDirtyFailed";
    log.categoryNameFailed = "categoryNameFailed";
    log.categoryFileNameFailed = "categoryFileNameFailed";
    log.categoryAddFailed = "categoryAddFailed";
    log.categoriesDone = "categoriesDone";
    log.categoriesFailed = "categoriesFailed";
    log.schemaStart = "schemaStart";
    log.resourceIdFailed = "resourceIdFailed";
    log.fieldsPerRowFailed = "fieldsPerRowFailed";
    log.fieldsPerRowInvalid = "fieldsPerRowInvalid %d";
    log.recordIdPositionFailed = "recordIdPositionFailed";
    log.statusPositionFailed = "statusPositionFailed";
    log.placementPositionFailed = "placementPositionFailed";
    log.fieldCountFailed = "fieldCountFailed";
    log.fieldCodeFailed = "fieldCodeFailed %d";
    log.schemaDone = "schemaDone";
    log.schemaFailed = "schemaFailed";
    log.recordsStart = "recordsStart";
    log.totalFieldsFailed = "totalFieldsFailed";
    log.recordCount = "recordCount %d";
    log.recordsUnreadable = "recordsUnreadable %d";
    log.recordsDone = "recordsDone %d";
    log.recordsFailed = "recordsFailed";
    log.loadDone = "loadDone";
    log.loadFailed = "loadFailed %s";
    log.saveStart = "saveStart %s";
    log.saveOpenFailed = "saveOpenFailed";
    log.saveDone = "saveDone";
    log.saveFailed = "saveFailed";
    log.recordsWriteFailed = "recordsWriteFailed";
    log.categoriesSaveStart = "categoriesSaveStart";
    log.categorySlotEmpty = "categorySlotEmpty";
    log.categoryUnfiledSkipped = "categoryUnfiledSkipped";
    log.categoriesSaved = "categoriesSaved";
    log.schemaSaveStart = "schemaSaveStart";
    log.schemaSaved = "schemaSaved";
    log.recordsSaveStart = "recordsSaveStart";
    log.recordsSaveCount = "recordsSaveCount %d";
    log.recordWriteFailed = "recordWriteFailed";
    log.recordFieldWriteFailed = "recordFieldWriteFailed %d";
    log.recordsSaved = "recordsSaved";
    return log;
}

// A Memos reader that logs the slot names and keeps the file name it was loaded from, as
// the Contacts reader does.
class SlotLoggingMemos : public PmClassicRecordUtil<PmMemoRecord> {
  public:
    SlotLoggingMemos() : PmClassicRecordUtil(Info()) {}

  protected:
    bool ReadRecordField(std::size_t index, PmMemoRecord& record) override {
        switch (index) {
            case 3:
                return ReadCStringField(record.m_szMemo, PmMemoRecord::kMemoCapacity);
            case 4:
                return ReadValueField(record.m_bPrivate);
            case 5:
                return ReadValueField(record.m_dwCategoryId);
            default:
                return true;
        }
    }
    bool WriteRecordField(std::size_t index, const PmMemoRecord& record) override {
        switch (index) {
            case 3:
                return WriteCStringField(record.m_szMemo, 1);
            case 4:
                return WriteBooleanField(record.m_bPrivate);
            case 5:
                return WriteIntegerField(record.m_dwCategoryId);
            default:
                return true;
        }
    }
    bool IsShown(const PmMemoRecord& record) const override { return !record.IsHiddenStatus(); }

  private:
    static const PmClassicAppInfo& Info() {
        static const PmClassicLog log = SlotNameLog();
        static PmClassicAppInfo info = [] {
            PmClassicAppInfo i = PmMemoUtil::AppInfo();
            i.fileNameIsLoadedPath = true;
            i.log = &log;
            return i;
        }();
        return info;
    }
};

}  // namespace

TEST(PmClassicUtil, HeaderLabelCategoriesAndSchemaAreRead) {
    ScopedLogFolder logFolder;
    const ClassicFile file = SampleMemoFile();
    DatFile dat(file.Build());
    PmMemoUtil memos;
    ASSERT_TRUE(memos.LoadFile(dat.Path()));
    EXPECT_TRUE(memos.IsLoaded());

    EXPECT_EQ(memos.GetExpectedVersion(), 0x4D500100u);
    EXPECT_EQ(memos.GetDatabaseName(), file.databaseName);
    EXPECT_EQ(memos.GetFileName(), file.databaseName);  // the name recorded in the file
    EXPECT_EQ(memos.GetLoadedPath(), dat.Path());
    EXPECT_EQ(memos.GetLabelText(), "memo labels");
    EXPECT_EQ(memos.GetTrailingBytes(), file.trailing);

    const PmDatSchema& schema = memos.GetSchema();
    EXPECT_EQ(schema.m_dwResourceId, 64u);
    EXPECT_EQ(schema.m_dwFieldsPerRow, 6u);
    EXPECT_EQ(schema.m_dwRecordIdPosition, 0u);
    EXPECT_EQ(schema.m_dwStatusPosition, 1u);
    EXPECT_EQ(schema.m_dwPlacementPosition, 2u);
    EXPECT_EQ(schema.m_fieldCodes, ClassicMemoCodes());

    const PmCategoryMgr& categories = *memos.GetCatMgr();
    EXPECT_EQ(categories.GetCount(), 3);
    EXPECT_EQ(categories.GetNextFeedId(), 130);
    EXPECT_FALSE(categories.IsModified());
    ASSERT_NE(categories.GetAt(0), nullptr);
    EXPECT_EQ(categories.GetAt(0)->GetName(), "Unfiled");
    EXPECT_EQ(categories.GetAt(0)->GetId(), 0);
    ASSERT_NE(categories.GetAt(3), nullptr);
    EXPECT_EQ(categories.GetAt(3)->GetId(), 7);
    EXPECT_EQ(categories.GetAt(3)->GetName(), "Per.sonal");
    EXPECT_EQ(categories.GetAt(2), nullptr);

    // Deleted and archived memos are kept aside, not shown.
    ASSERT_EQ(memos.GetDataMgr().GetRecordCount(), 3u);
    EXPECT_EQ(memos.GetHiddenRecordCount(), 3u);
    EXPECT_EQ(LoadedMemo(memos, 0).m_szMemo, "Shopping: milk");
    EXPECT_EQ(LoadedMemo(memos, 1).m_dwRecordId, 22u);
    EXPECT_EQ(LoadedMemo(memos, 2).m_dwRecordId, 33u);
    EXPECT_EQ(LoadedMemo(memos, 0).m_szCategory, "");  // the facade names the category

    // Tasks keep their own label text and name the same way.
    ClassicFile tasks = ClassicTodoFile();
    tasks.labelText = std::string(255, 'L');
    DatFile todo(tasks.Build(), "todo.dat");
    PmTodoUtil todos(todo.Path());
    ASSERT_TRUE(todos.IsLoaded());
    EXPECT_EQ(todos.GetLabelText(), std::string(255, 'L'));
    EXPECT_EQ(todos.GetFileName(), tasks.databaseName);
    EXPECT_EQ(todos.GetSchema().m_fieldCodes, ClassicTodoCodes());
}

TEST(PmClassicUtil, VersionChecksTellGenerationsAndApplicationsApart) {
    LogCapture log;
    // A classic file has no magic text for the "PalmSG Database" reader.
    DatFile classic(SampleMemoFile().Build());
    EXPECT_FALSE(PmMemoExUtil(classic.Path()).IsLoaded());
    EXPECT_TRUE(log.HasInOrder(
        {"E Failed to check magic code.", "E Load Palm Desktop Memos failed: " + classic.Path()}));

    // A "PalmSG Database" file begins with BE BA FE CA, no classic version word.
    log.Clear();
    DatFile palmSg(MemoPadFile().Build());
    EXPECT_FALSE(PmMemoUtil(palmSg.Path()).IsLoaded());
    EXPECT_EQ(log.Tagged(),
              (std::vector<std::string>{"P Loading Palm Desktop memopad: " + palmSg.Path(),
                                        "E Load Palm Desktop memopad failed: " + palmSg.Path()}));

    // Each application takes only its own version word.
    DatFile todo(ClassicTodoFile().Build(), "todo.dat");
    EXPECT_FALSE(PmMemoUtil(todo.Path()).IsLoaded());
    EXPECT_TRUE(PmTodoUtil(todo.Path()).IsLoaded());
    EXPECT_FALSE(PmTodoUtil(classic.Path()).IsLoaded());
    ClassicFile version2 = ClassicMemoFile();
    version2.version = 0x4D500200;
    EXPECT_FALSE(PmMemoUtil(DatFile(version2.Build()).Path()).IsLoaded());
    EXPECT_TRUE(PmMemoUtil(DatFile(ClassicMemoFile().Build()).Path()).IsLoaded());
}

TEST(PmClassicUtil, DatabaseNameAndLabelTextLimits) {
    ScopedLogFolder logFolder;
    const auto loads = [](const ClassicFile& file) {
        return PmMemoUtil(DatFile(file.Build()).Path()).IsLoaded();
    };
    ClassicFile file = ClassicMemoFile();
    file.databaseName = std::string(255, 'n');  // long form of the counted string
    file.labelText = std::string(255, 'l');
    DatFile dat(file.Build());
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(memos.GetFileName(), file.databaseName);
    EXPECT_EQ(memos.GetLabelText(), file.labelText);
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(dat.Read(), file.Build());

    file.databaseName = std::string(256, 'n');
    EXPECT_FALSE(loads(file));
    file.databaseName = "";
    EXPECT_TRUE(loads(file));
    file.labelText = std::string(256, 'l');
    EXPECT_FALSE(loads(file));
}

TEST(PmClassicUtil, CategoryEntriesThatCannotBeHeldFailTheLoad) {
    ScopedLogFolder logFolder;
    const auto loads = [](const std::vector<PalmSgCategoryEntry>& entries,
                          std::optional<std::uint32_t> count = std::nullopt) {
        ClassicFile file = ClassicMemoFile();
        file.categories = entries;
        file.categoryCount = count;
        return PmMemoUtil(DatFile(file.Build()).Path()).IsLoaded();
    };
    EXPECT_TRUE(loads({{15, 200, 1, "Last", "Last"}}));
    EXPECT_FALSE(loads({{16, 1, 0, "Slot 16", ""}}));
    EXPECT_FALSE(loads({{0, 1, 0, "Slot of Unfiled", ""}}));
    EXPECT_FALSE(loads({{0xFFFFFFFF, 1, 0, "No slot", ""}}));
    EXPECT_FALSE(loads({{1, 0xFFFFFFFF, 0, "No ID", ""}}));
    EXPECT_FALSE(loads({{1, 0, 0, "ID of Unfiled", ""}}));
    EXPECT_FALSE(loads({{1, 3, 0, "A", ""}, {2, 3, 0, "Same ID", ""}}));
    EXPECT_FALSE(loads({{1, 3, 0, "A", ""}, {1, 4, 0, "Same slot", ""}}));
    EXPECT_TRUE(loads({{1, 3, 0, std::string(256, 'x'), std::string(256, 'y')}}));
    EXPECT_FALSE(loads({{1, 3, 0, std::string(257, 'x'), ""}}));
    EXPECT_FALSE(loads({{1, 3, 0, "A", std::string(257, 'x')}}));

    // Only the low 16 bits of the count are used; a 16th entry cannot be held.
    EXPECT_TRUE(loads({{1, 3, 0, "A", ""}}, 0xFFFF0001));
    std::vector<PalmSgCategoryEntry> sixteen;
    for (std::uint32_t i = 1; i <= 16; ++i) {
        sixteen.push_back({i, i, 0, "C" + std::to_string(i), ""});
    }
    EXPECT_FALSE(loads(sixteen));
    sixteen.pop_back();
    EXPECT_TRUE(loads(sixteen));
}

TEST(PmClassicUtil, SchemaIsKeptAndFieldsPerRowSizesTheRecords) {
    LogCapture log;
    // Positions, resource ID and codes as the file has them, more codes than a memo has.
    ClassicFile file = SampleMemoFile();
    file.resourceId = 99;
    file.recordIdPosition = 7;
    file.statusPosition = 8;
    file.placementPosition = 9;
    file.fieldCodes = {1, 3, 6, 5, 5, 5, 8, 64};
    DatFile dat(file.Build());
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(memos.GetSchema().m_dwResourceId, 99u);
    EXPECT_EQ(memos.GetSchema().m_dwPlacementPosition, 9u);
    EXPECT_EQ(memos.GetSchema().m_fieldCodes, file.fieldCodes);
    EXPECT_EQ(LoadedMemo(memos, 0).m_szMemo, "Shopping: milk");
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(dat.Read(), file.Build());

    // Fewer fields per row: the records hold only those, also when written from fields.
    file = ClassicMemoFile();
    file.fieldsPerRow = 4;
    ClassicFields shortRecord = ClassicHeaderFields({.id = 5});
    file.records = {shortRecord.Text("four fields").Get()};
    DatFile fewer(file.Build());
    PmMemoUtil fewerMemos(fewer.Path());
    ASSERT_TRUE(fewerMemos.IsLoaded());
    PmMemoRecord changed = LoadedMemo(fewerMemos, 0);
    EXPECT_EQ(changed.m_szMemo, "four fields");
    changed.m_szMemo = "changed";
    changed.m_dwCategoryId = 9;  // no place for it in this file
    ASSERT_TRUE(fewerMemos.ChangeRecord(0, changed));
    ASSERT_TRUE(fewerMemos.Save());
    ClassicFields written = ClassicHeaderFields({.id = 5, .status = 2});
    file.records = {written.Text("changed").Get()};
    EXPECT_EQ(fewer.Read(), file.Build());

    // More fields per row than a memo has: the extra ones read and write nothing.
    file = ClassicMemoFile();
    file.fieldsPerRow = 7;
    file.records = {ClassicMemoRecord({.id = 1}, "one"), ClassicMemoRecord({.id = 2}, "two")};
    DatFile more(file.Build());
    PmMemoUtil moreMemos(more.Path());
    ASSERT_TRUE(moreMemos.IsLoaded());
    EXPECT_EQ(LoadedMemo(moreMemos, 1).m_szMemo, "two");
    ASSERT_TRUE(moreMemos.AddNewRecord(PmMemoRecord{}));
    ASSERT_TRUE(moreMemos.Save());
    file.records.push_back(ClassicMemoRecord({.status = 1, .placement = 0x7FFFFFFF}, ""));
    EXPECT_EQ(more.Read(), file.Build());

    // Fields per row of 0 or beyond any classic record fail the load.
    for (const std::uint32_t perRow : {0u, 256u, 0xFFFFFFFFu}) {
        file = ClassicMemoFile();
        file.fieldsPerRow = perRow;
        file.totalFields = 0xFFFFFFFF;
        EXPECT_FALSE(PmMemoUtil(DatFile(file.Build()).Path()).IsLoaded()) << perRow;
    }
    file = ClassicMemoFile();
    file.fieldsPerRow = 255;
    EXPECT_TRUE(PmMemoUtil(DatFile(file.Build()).Path()).IsLoaded());
}

TEST(PmClassicUtil, OnlyWholeRecordsAreReadAndTheRestIsWrittenBack) {
    ScopedLogFolder logFolder;
    ClassicFile file = SampleMemoFile();
    file.totalFields = 6 * 6 + 5;  // a partial seventh record
    file.trailing = ClassicMemoRecord({.id = 44}, "seventh");
    DatFile dat(file.Build());
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(memos.GetDataMgr().GetRecordCount(), 3u);
    EXPECT_EQ(memos.GetTrailingBytes(), file.trailing);
    ASSERT_TRUE(memos.Save());
    file.totalFields.reset();  // written as records times fields per row
    EXPECT_EQ(dat.Read(), file.Build());

    // The records announced must all be there.
    file.totalFields = 7 * 6;
    file.trailing = {1, 2, 3};
    EXPECT_FALSE(PmMemoUtil(DatFile(file.Build()).Path()).IsLoaded());
}

TEST(PmClassicUtil, ImpossibleCountsFailWithoutLargeAllocations) {
    ScopedLogFolder logFolder;
    const auto failsSmall = [](const Bytes& bytes) {
        DatFile dat(bytes);
        ResetLargestAllocation();
        PmMemoUtil memos(dat.Path());
        return !memos.IsLoaded() && LargestAllocation() < (std::size_t{1} << 20);
    };
    ClassicFile file = ClassicMemoFile();
    file.fieldsPerRow = 1;
    file.totalFields = 0xFFFFFFFF;
    file.records = {ClassicMemoRecord({}, "one")};
    EXPECT_TRUE(failsSmall(file.Build()));

    // Texts and counts announcing more than the file holds.
    file = ClassicMemoFile();
    ClassicFields hostile = ClassicHeaderFields({});
    hostile.Raw(Bytes{5, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 'x'});
    file.records = {hostile.Get()};
    EXPECT_TRUE(failsSmall(file.Build()));
    file = ClassicMemoFile();
    file.fieldCount = 0xFFFF;
    EXPECT_TRUE(failsSmall(file.Build()));
    file = ClassicMemoFile();
    file.categoryCount = 0xFFFF;
    EXPECT_TRUE(failsSmall(file.Build()));
    ByteWriter name;
    name.U32(0x4D500100).U8(0xFF).U16(0xFFFF).Text("C:");
    EXPECT_TRUE(failsSmall(name.Get()));
}

TEST(PmClassicUtil, LoadAndSaveGiveBackIdenticalBytesHiddenRecordsIncluded) {
    ScopedLogFolder logFolder;
    ClassicFile file = SampleMemoFile();
    file.records.push_back(ClassicMemoRecord({.id = 44, .status = 0x80}, std::string(300, 'a')));
    file.records.push_back(ClassicMemoRecord({.id = 45}, std::string(65535, 'z')));
    const Bytes original = file.Build();
    DatFile dat(original);
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(memos.GetDataMgr().GetRecordCount(), 4u);
    EXPECT_EQ(memos.GetHiddenRecordCount(), 4u);
    EXPECT_EQ(LoadedMemo(memos, 3).m_szMemo, std::string(65535, 'z'));
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(dat.Read(), original);
    EXPECT_EQ(dat.EntryCount(), 1u);

    // Saved twice, and loaded and saved again, still the same.
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(dat.Read(), original);
    PmMemoUtil again(dat.Path());
    ASSERT_TRUE(again.Save());
    EXPECT_EQ(dat.Read(), original);
}

TEST(PmClassicUtil, ChangedAndNewRecordsLeaveHiddenOnesInTheirPlaces) {
    ScopedLogFolder logFolder;
    ClassicFile file = SampleMemoFile();
    DatFile dat(file.Build());
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());

    PmMemoRecord changed = LoadedMemo(memos, 0);
    changed.m_szMemo = "Shopping: milk, eggs";
    changed.m_bPrivate = 0;
    ASSERT_TRUE(memos.ChangeRecord(0, changed));
    EXPECT_EQ(LoadedMemo(memos, 0).m_dwStatus, 0x02u);
    EXPECT_FALSE(memos.ChangeRecord(3, changed));

    PmMemoRecord added;
    added.m_dwRecordId = 77;
    added.m_dwStatus = 0x80;
    added.m_dwPlacement = 4;
    added.m_szMemo = "new memo";
    added.m_bPrivate = 1;
    added.m_dwCategoryId = 7;
    ASSERT_TRUE(memos.AddNewRecord(added));
    const PmMemoRecord stamped = LoadedMemo(memos, 3);
    EXPECT_EQ(stamped.m_dwRecordId, 0u);
    EXPECT_EQ(stamped.m_dwStatus, 0x01u);
    EXPECT_EQ(stamped.m_dwPlacement, 0x7FFFFFFFu);
    EXPECT_EQ(stamped.m_szMemo, "new memo");
    ASSERT_TRUE(memos.Save());

    // The changed memo from its fields (codes 1, 1, 1, 5 with word 1, 6, 1), the hidden ones
    // where they were, the last of them before the new memo, and the trailing bytes last.
    file.records[0] =
        ClassicMemoRecord({.id = 0x00A1B2C3, .status = 2, .placement = 1}, changed.m_szMemo, 0, 1);
    file.records.push_back(
        ClassicMemoRecord({.status = 1, .placement = 0x7FFFFFFF}, "new memo", 1, 7));
    EXPECT_EQ(dat.Read(), file.Build());

    PmMemoUtil reloaded(dat.Path());
    ASSERT_TRUE(reloaded.IsLoaded());
    EXPECT_EQ(reloaded.GetDataMgr().GetRecordCount(), 4u);
    EXPECT_EQ(reloaded.GetHiddenRecordCount(), 3u);
}

TEST(PmClassicUtil, SaveGoesToTheLoadedFileAndRecordsTheNameAsRead) {
    ScopedLogFolder logFolder;
    ClassicFile file = SampleMemoFile();
    DatFile dat(file.Build());
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_NE(memos.GetFileName(), dat.Path());  // the recorded Windows path

    PmMemoRecord shorter = LoadedMemo(memos, 1);
    shorter.m_szMemo = "now short";
    ASSERT_TRUE(memos.ChangeRecord(1, shorter));
    ASSERT_TRUE(memos.Save());
    EXPECT_EQ(memos.GetFileName(), file.databaseName);

    // The file is shorter now, with no stale bytes after its end; the word 0 of the text
    // became 1 as the record was written from its fields.
    file.records[2] =
        ClassicMemoRecord({.id = 22, .status = 0x42, .placement = 2}, "now short", 0, 7);
    EXPECT_EQ(dat.Read(), file.Build());
    EXPECT_EQ(dat.EntryCount(), 1u);

    // SaveAs writes another existing file, still with the recorded name.
    const std::string other = dat.Dir().File("copy.dat");
    WriteFile(other, Bytes(100000, 0x55));
    ASSERT_TRUE(memos.SaveAs(other));
    EXPECT_EQ(ReadFile(other), file.Build());
    EXPECT_EQ(memos.GetLoadedPath(), dat.Path());
}

TEST(PmClassicUtil, SaveAsNeedsAnExistingFile) {
    ScopedLogFolder logFolder;
    DatFile dat(SampleMemoFile().Build());
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    const std::string missing = dat.Dir().File("missing.dat");
    EXPECT_FALSE(memos.SaveAs(missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_FALSE(memos.SaveAs(""));
    EXPECT_EQ(dat.EntryCount(), 1u);

    // A database that was never loaded: defaults, the path as the name, no categories.
    PmTodoUtil fresh;
    ASSERT_TRUE(fresh.SaveAs(dat.Path()));
    ClassicFile empty = ClassicTodoFile();
    empty.databaseName = dat.Path();
    empty.labelText = "";
    EXPECT_EQ(dat.Read(), empty.Build());
}

TEST(PmClassicUtil, SaveNormalisesCategoriesAndCounts) {
    ScopedLogFolder logFolder;
    ClassicFile file = SampleMemoFile();
    file.categoryCount = 0x00050002;
    file.categories = {{3, 7, 1, "Per.sonal", "old file name"}, {1, 1, 0, "Business", ""}};
    file.totalFields = 6 * 6 + 2;
    DatFile dat(file.Build());
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    ASSERT_TRUE(memos.Save());
    // Slot order, dirty flags 0, file names made from the names, whole records counted.
    EXPECT_EQ(dat.Read(), SampleMemoFile().Build());

    // A list holding only "Unfiled" is the next feed ID and a 0.
    file = ClassicMemoFile();
    file.nextFeedId = 0x12345678;
    DatFile bare(file.Build());
    PmMemoUtil bareMemos(bare.Path());
    ASSERT_TRUE(bareMemos.IsLoaded());
    EXPECT_EQ(bareMemos.GetCatMgr()->GetCount(), 1);
    ASSERT_TRUE(bareMemos.Save());
    EXPECT_EQ(bare.Read(), file.Build());
}

TEST(PmClassicUtil, FailedSaveLeavesTheOriginalFile) {
    ScopedLogFolder logFolder;
    const Bytes original = SampleMemoFile().Build();

    // A memo longer than a counted string can carry ends the save half way.
    DatFile dat(original);
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    PmMemoRecord tooLong = LoadedMemo(memos, 2);
    tooLong.m_szMemo = std::string(65536, 'x');
    ASSERT_TRUE(memos.ChangeRecord(2, tooLong));
    EXPECT_FALSE(memos.Save());
    EXPECT_EQ(dat.Read(), original);
    EXPECT_EQ(dat.EntryCount(), 1u);
}

// After a failed load the object holds the earlier file's label text with what it read of
// the other file: no save writes that anywhere, each refusal logs the save-failure line. A
// later successful load makes saving possible again.
TEST(PmClassicUtil, SaveIsRefusedAfterAFailedLoad) {
    LogCapture log;
    const Bytes original = SampleMemoFile().Build();
    DatFile dat(original);
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_FALSE(memos.HasLoadFailed());

    // A file cut in its records: categories, schema and some records of it were read.
    ClassicFile other = SampleMemoFile();
    other.labelText = "other labels";
    const Bytes otherBytes = other.Build();
    DatFile cut(Bytes(otherBytes.begin(), otherBytes.end() - 100));
    ASSERT_FALSE(memos.LoadFile(cut.Path()));
    EXPECT_TRUE(memos.HasLoadFailed());
    log.Clear();
    EXPECT_FALSE(memos.SaveAs(dat.Path()));
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"E Failed to save Palm Desktop memopad database."});
    log.Clear();
    EXPECT_FALSE(memos.Save());
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"E Failed to save Palm Desktop memopad database."});
    EXPECT_EQ(dat.Read(), original);
    EXPECT_EQ(dat.EntryCount(), 1u);

    ASSERT_TRUE(memos.LoadFile(dat.Path()));
    EXPECT_FALSE(memos.HasLoadFailed());
    EXPECT_TRUE(memos.SaveAs(dat.Path()));
    EXPECT_EQ(dat.Read(), original);

    // Nothing loaded: Save has no path, and says so, in each application's words.
    const std::vector<std::pair<std::string, std::function<bool()>>> fresh{
        {"E Failed to save Palm Desktop address book database.",
         [] { return PmAddrUtil().Save(); }},
        {"E Failed to save Palm Desktop datebook database.", [] { return PmDateUtil().Save(); }},
        {"E Failed to save Palm Desktop todo list database.", [] { return PmTodoUtil().Save(); }},
        {"E Failed to save Palm Desktop memopad database.", [] { return PmMemoUtil().Save(); }},
    };
    for (const auto& [line, save] : fresh) {
        log.Clear();
        EXPECT_FALSE(save());
        EXPECT_EQ(log.Tagged(), std::vector<std::string>{line});
    }
}

TEST(PmClassicUtil, TasksAndMemosLogOnlyAroundTheLoad) {
    LogCapture log;
    DatFile dat(SampleMemoFile().Build());
    PmMemoUtil memos(dat.Path());
    ASSERT_TRUE(memos.IsLoaded());
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"P Loading Palm Desktop memopad: " + dat.Path()});
    log.Clear();
    ASSERT_TRUE(memos.Save());
    EXPECT_TRUE(log.Tagged().empty());

    const std::string none = dat.Dir().File("none.dat");
    EXPECT_FALSE(memos.LoadFile(none));
    EXPECT_EQ(log.Tagged(),
              (std::vector<std::string>{"P Loading Palm Desktop memopad: " + none,
                                        "E Load Palm Desktop memopad failed: " + none}));
    log.Clear();
    EXPECT_FALSE(memos.LoadFile(""));
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"E Invalid Palm Desktop memopad database file name."});

    log.Clear();
    DatFile todo(ClassicTodoFile().Build(), "todo.dat");
    PmTodoUtil todos(todo.Path());
    ASSERT_TRUE(todos.IsLoaded());
    EXPECT_FALSE(todos.LoadFile(none));
    EXPECT_EQ(log.Tagged(),
              (std::vector<std::string>{"P Loading Palm Desktop todo list: " + todo.Path(),
                                        "P Loading Palm Desktop todo list: " + none,
                                        "E Load Palm Desktop todo list failed: " + none}));
}

TEST(PmClassicUtil, EachStepLogsItsApplicationsLine) {
    LogCapture log;
    ClassicFile file = SampleMemoFile();
    file.categories = {{2, 5, 0, "Ideas", ""}};
    const Bytes full = file.Build();
    DatFile dat(full);
    SlotLoggingMemos memos;
    ASSERT_TRUE(memos.LoadFile(dat.Path()));
    EXPECT_EQ(memos.GetFileName(), dat.Path());  // this reader keeps the path loaded from
    EXPECT_EQ(log.Tagged(),
              (std::vector<std::string>{
                  "P loadStart " + dat.Path(), "P databaseNameRead " + file.databaseName,
                  "P categoriesStart", "P categoriesDone", "P schemaStart", "P schemaDone",
                  "P recordsStart", "P recordCount 6", "P recordsDone 3", "P loadDone"}));

    log.Clear();
    ASSERT_TRUE(memos.Save());
    // Every slot is looked at: "Unfiled" in slot 0, "Ideas" in slot 2, the others empty.
    std::vector<std::string> saveLines{"P saveStart " + dat.Path(), "P categoriesSaveStart",
                                       "P categoryUnfiledSkipped", "P categorySlotEmpty"};
    saveLines.insert(saveLines.end(), 13, "P categorySlotEmpty");
    saveLines.insert(saveLines.end(), {"P categoriesSaved", "P schemaSaveStart", "P schemaSaved",
                                       "P recordsSaveStart", "P recordsSaveCount 6",
                                       "P recordsSaved", "P saveDone"});
    EXPECT_EQ(log.Tagged(), saveLines);

    // Where a load stops, by the offset the file is cut at.
    const std::size_t categories = 4 + 1 + file.databaseName.size() + 1 + file.labelText.size();
    const std::size_t entry = categories + 8;
    const std::size_t schema = entry + 12 + 6 + 1;
    const std::size_t records = schema + 20 + 2 + 2 * 6;
    const std::vector<std::pair<std::size_t, std::string>> cuts{
        {2, "E versionFailed"},
        {5, "E databaseNameFailed"},
        {categories - 2, "E labelsFailed"},
        {categories + 2, "E nextFeedIdFailed"},
        {categories + 6, "E categoryCountFailed"},
        {entry + 2, "E categoryIndexFailed"},
        {entry + 6, "E categoryIdFailed"},
        {entry + 10, "E categoryDirtyFailed"},
        {entry + 14, "E categoryNameFailed"},
        {entry + 18, "E categoryFileNameFailed"},
        {schema + 2, "E resourceIdFailed"},
        {schema + 6, "E fieldsPerRowFailed"},
        {schema + 10, "E recordIdPositionFailed"},
        {schema + 14, "E statusPositionFailed"},
        {schema + 18, "E placementPositionFailed"},
        {schema + 21, "E fieldCountFailed"},
        {schema + 22 + 5, "E fieldCodeFailed 2"},
        {records + 2, "E totalFieldsFailed"},
        {records + 4 + 20, "E recordsUnreadable " + std::to_string(records + 4)},
    };
    for (const auto& [size, line] : cuts) {
        log.Clear();
        WriteFile(dat.Path(), Bytes(full.begin(), full.begin() + static_cast<long>(size)));
        EXPECT_FALSE(memos.LoadFile(dat.Path())) << line;
        const std::vector<std::string> messages = log.Tagged();
        ASSERT_GE(messages.size(), 2u) << line;
        EXPECT_TRUE(log.HasTagged(line)) << line;
        EXPECT_EQ(messages.back(), "E loadFailed " + dat.Path()) << line;
    }
    ASSERT_FALSE(memos.Save());
    EXPECT_EQ(log.Tagged().back(), "E saveFailed");
    log.Clear();
    EXPECT_FALSE(memos.LoadFile(""));
    EXPECT_EQ(log.Tagged(), std::vector<std::string>{"E emptyPath"});

    // The loader's line for each failed step.
    for (const auto& [size, step] :
         std::vector<std::pair<std::size_t, std::string>>{{entry + 2, "E categoriesFailed"},
                                                          {schema + 2, "E schemaFailed"},
                                                          {records + 2, "E recordsFailed"}}) {
        log.Clear();
        WriteFile(dat.Path(), Bytes(full.begin(), full.begin() + static_cast<long>(size)));
        EXPECT_FALSE(memos.LoadFile(dat.Path()));
        EXPECT_TRUE(log.HasTagged(step)) << step;
    }

    // An entry the list cannot hold, and fields per row it refuses.
    log.Clear();
    file.categories = {{0, 5, 0, "Slot of Unfiled", ""}};
    WriteFile(dat.Path(), file.Build());
    EXPECT_FALSE(memos.LoadFile(dat.Path()));
    EXPECT_TRUE(log.HasInOrder({"E categoryAddFailed", "E categoriesFailed"}));
    log.Clear();
    file = ClassicMemoFile();
    file.fieldsPerRow = 0;
    WriteFile(dat.Path(), file.Build());
    EXPECT_FALSE(memos.LoadFile(dat.Path()));
    EXPECT_TRUE(log.HasInOrder({"E fieldsPerRowInvalid 0", "E schemaFailed"}));

    // A record that cannot be written: the field, the record, the step.
    log.Clear();
    WriteFile(dat.Path(), full);
    ASSERT_TRUE(memos.LoadFile(dat.Path()));
    PmMemoRecord tooLong = *memos.GetDataMgr().GetRecordAt(1);
    tooLong.m_szMemo = std::string(70000, 'x');
    ASSERT_TRUE(memos.ChangeRecord(1, tooLong));
    EXPECT_FALSE(memos.Save());
    EXPECT_TRUE(log.HasInOrder(
        {"E recordFieldWriteFailed 3", "E recordWriteFailed", "E recordsWriteFailed"}));
    EXPECT_FALSE(log.HasTagged("P saveDone"));
    log.Clear();
    EXPECT_FALSE(memos.SaveAs(dat.Dir().File("missing.dat")));
    EXPECT_TRUE(
        log.HasInOrder({"P saveStart " + dat.Dir().File("missing.dat"), "E saveOpenFailed"}));
}

TEST(PmClassicUtil, LoadByUserReadsTheUsersFile) {
    ScopedPalmSetup setup;  // before the capture: it points the log elsewhere itself
    LogCapture log;
    const std::string root = setup.File("Palm");
    std::filesystem::create_directories(root + "/Bob/MemoPad");
    std::filesystem::create_directories(root + "/Bob/todo");
    SetPalmDesktopFolder(root);
    WriteFile(root + "/Bob/MemoPad/MEMOPAD.DAT", SampleMemoFile().Build());
    WriteFile(root + "/Bob/todo/todo.dat", ClassicTodoFile().Build());
    ASSERT_TRUE(LoadUserLibrary());
    const std::int32_t bob = 0x6BCBA174;

    PmMemoUtil memos;
    EXPECT_TRUE(memos.LoadByUser(bob));
    EXPECT_EQ(memos.GetDataMgr().GetRecordCount(), 3u);
    EXPECT_EQ(memos.GetLoadedPath(), root + "/Bob/MemoPad/MEMOPAD.DAT");
    PmTodoUtil todos;
    EXPECT_TRUE(todos.LoadByUser(bob));
    EXPECT_EQ(todos.GetLoadedPath(), root + "/Bob/todo/todo.dat");

    log.Clear();
    EXPECT_FALSE(memos.LoadByUser(12345));
    EXPECT_EQ(log.Tagged(),
              std::vector<std::string>{"E Can not get Palm Desktop user data path. User ID=12345"});
    log.Clear();
    EXPECT_FALSE(todos.LoadByUser(12345));
    EXPECT_TRUE(log.Tagged().empty());
    FreeUserLibrary();
}

}  // namespace tabrel
