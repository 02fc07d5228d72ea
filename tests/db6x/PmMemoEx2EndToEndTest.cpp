#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "palm/db6x/PmMemoEx2Util.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

TEST(PmMemoEx2EndToEnd, ChangeOneAddTwoAndLoadAgain) {
    test::TempDir dir;
    test::LogCapture log;
    test::Db6xWriter db(dir.File("MemoPad.mdb"), test::kMemoColumns);
    db.AddCategory(1, "Business");
    db.Exec(
        "INSERT INTO Main VALUES (11, 0, 1, 0, '1', 'Call Ann', NULL);"
        "INSERT INTO Main VALUES (12, 0, 2, 1, '0', 'PIN 1234', NULL);"
        "INSERT INTO Main VALUES (13, 0, 3, 0, '1', 'Agenda', NULL)");
    {
        PmMemoEx2Util memos(db.Path());
        ASSERT_TRUE(memos.IsLoaded());
        PmMemoEx2DataMgr& list = memos.GetDataMgr();
        ASSERT_EQ(list.GetRecordCount(), 3u);
        PmMemoEx2Record& agenda = *list.GetRecordAt(2);
        agenda.m_szNote = "Agenda: budget, hiring";
        agenda.m_nStatus |= 0x02;
        ASSERT_TRUE(memos.WriteRecord(agenda));

        std::int32_t travel = 0;
        ASSERT_TRUE(memos.GetCategoryId("Travel", travel, true));
        const std::string longNote = "Packing\r\n" + std::string(45000, '-') + "'end'";
        ASSERT_TRUE(
            list.AddRecord(PmMemoEx2Record{0, 1, 0x7FFFFFFF, 0, travel, "Travel", longNote}));
        ASSERT_TRUE(memos.WriteRecord(*list.GetRecordAt(3)));
        ASSERT_TRUE(list.AddRecord(PmMemoEx2Record{0, 1, 0x7FFFFFFF, 1, 0, "", "Call Ann"}));
        ASSERT_TRUE(memos.WriteRecord(*list.GetRecordAt(4)));
        // The facade writes an updated record again; the second new memo too.
        agenda.m_byPrivate = 1;
        ASSERT_TRUE(memos.WriteRecord(agenda));
        list.GetRecordAt(4)->m_szNote = "Call Ann back";
        ASSERT_TRUE(memos.WriteRecord(*list.GetRecordAt(4)));
        EXPECT_TRUE(memos.Save());
    }
    dmMain().CloseAll();

    PmMemoEx2Util reloaded(db.Path());
    ASSERT_TRUE(reloaded.IsLoaded());
    std::vector<PmMemoEx2Record> records;
    for (const PmMemoEx2Record& record : reloaded.GetDataMgr()) {
        records.push_back(record);
    }
    const std::string longNote = "Packing\r\n" + std::string(45000, '-') + "'end'";
    const std::vector<PmMemoEx2Record> expected = {
        {11, 0, 1, 0, 1, "Business", "Call Ann"},
        {12, 0, 2, 1, 0, "0", "PIN 1234"},
        {13, 2, 3, 1, 1, "Business", "Agenda: budget, hiring"},
        {0, 1, 0x7FFFFFFF, 0, 2, "Travel", longNote},
        {0, 1, 0x7FFFFFFF, 1, 0, "0", "Call Ann back"}};
    EXPECT_EQ(records, expected);
    EXPECT_EQ(db.Rows("SELECT COUNT(*), COUNT([Blob]) FROM Main"),
              (std::vector<std::vector<std::string>>{{"5", "2"}}));
    dmMain().CloseAll();
}

}  // namespace tabrel
