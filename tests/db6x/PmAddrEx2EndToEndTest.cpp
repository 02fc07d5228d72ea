#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "palm/db6x/PmAddrEx2Util.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

PmAddrEx2Record Contact(std::int32_t id, std::string first, std::string last, std::string company) {
    PmAddrEx2Record contact;
    contact.m_nRecordId = id;
    contact.m_szFirstName = std::move(first);
    contact.m_szLastName = std::move(last);
    contact.m_szCompany = std::move(company);
    return contact;
}

}  // namespace

TEST(PmAddrEx2EndToEnd, ChangeOneAddTwoAndLoadAgain) {
    test::TempDir dir;
    test::LogCapture log;
    test::Db6xWriter db(dir.File("Address.mdb"), test::kAddrColumns);
    db.AddCategory(1, "Business");
    db.InsertZeroRow(test::kAddrColumns, {{"Record ID", "11"},
                                          {"Category", "'1'"},
                                          {"First Name", "'Ann'"},
                                          {"Last Name", "'Lee'"},
                                          {"Company", "'Acme'"},
                                          {"Work Phone", "'555-0101'"},
                                          {"Phone Label1", "2"},
                                          {"Pager", "'555-0100'"}});
    db.InsertZeroRow(test::kAddrColumns,
                     {{"Record ID", "12"}, {"First Name", "'Bob'"}, {"Last Name", "'Ray'"}});
    db.InsertZeroRow(
        test::kAddrColumns,
        {{"Record ID", "0"}, {"First Name", "'Cy'"}, {"Last Name", "'Dee'"}, {"Company", "'Old'"}});
    const std::string note = "Met at the fair.\r\n" + std::string(3000, '.') + "'";
    {
        PmAddrEx2Util contacts(db.Path());
        ASSERT_TRUE(contacts.IsLoaded());
        PmAddrEx2DataMgr& list = contacts.GetDataMgr();
        ASSERT_EQ(list.GetRecordCount(), 3u);
        PmAddrEx2Record& ann = *list.GetRecordAt(0);
        ann.m_szFirstName = "Anne";
        ann.m_szCompany = "Acme Inc";
        ann.m_nStatus |= 0x02;
        ASSERT_TRUE(contacts.WriteRecord(ann));

        PmAddrEx2Record dan = Contact(0, "Dan", "Fox", "Fox & Co");
        dan.m_nStatus = 1;
        dan.m_szNote = note;
        dan.m_szPhone3 = "555-0133";
        dan.m_nPhoneLabel3 = 3;
        ASSERT_TRUE(contacts.GetCategoryId("Friends", dan.m_nCategoryId, true));
        ASSERT_TRUE(list.AddRecord(dan));
        ASSERT_TRUE(contacts.WriteRecord(*list.GetRecordAt(3)));
        // The same keys as the stored Cy Dee: a row of its own.
        PmAddrEx2Record cy = Contact(0, "Cy", "Dee", "New");
        cy.m_nStatus = 1;
        ASSERT_TRUE(list.AddRecord(cy));
        ASSERT_TRUE(contacts.WriteRecord(*list.GetRecordAt(4)));
        // The facade writes changed records again.
        ann.m_szWebsite = "acme.example";
        ASSERT_TRUE(contacts.WriteRecord(ann));
        list.GetRecordAt(4)->m_szJobTitle = "Chef";
        ASSERT_TRUE(contacts.WriteRecord(*list.GetRecordAt(4)));
        EXPECT_TRUE(contacts.Save());
    }
    dmMain().CloseAll();

    PmAddrEx2Util reloaded(db.Path());
    ASSERT_TRUE(reloaded.IsLoaded());
    std::vector<PmAddrEx2Record> records;
    for (const PmAddrEx2Record& record : reloaded.GetDataMgr()) {
        records.push_back(record);
    }
    PmAddrEx2Record ann = Contact(11, "Anne", "Lee", "Acme Inc");
    ann.m_nStatus = 2;
    ann.m_nCategoryId = 1;
    ann.m_szCategoryName = "Business";
    ann.m_szPhone1 = "555-0101";
    ann.m_nPhoneLabel1 = 2;
    ann.m_szPager = "555-0100";
    ann.m_szWebsite = "acme.example";
    PmAddrEx2Record dan = Contact(0, "Dan", "Fox", "Fox & Co");
    dan.m_nStatus = 1;
    dan.m_nCategoryId = 2;
    dan.m_szCategoryName = "Friends";
    dan.m_szNote = note;
    dan.m_szPhone3 = "555-0133";
    dan.m_nPhoneLabel3 = 3;
    PmAddrEx2Record newCy = Contact(0, "Cy", "Dee", "New");
    newCy.m_nStatus = 1;
    newCy.m_szJobTitle = "Chef";
    const std::vector<PmAddrEx2Record> expected = {ann, Contact(12, "Bob", "Ray", ""),
                                                   Contact(0, "Cy", "Dee", "Old"), dan, newCy};
    EXPECT_EQ(records, expected);
    EXPECT_EQ(db.Rows("SELECT COUNT(*), COUNT([Photo]), COUNT([Blob]) FROM Main"),
              (std::vector<std::vector<std::string>>{{"5", "2", "2"}}));
    EXPECT_EQ(
        db.Rows("SELECT [ID], [Name], [Status] FROM Category ORDER BY [ID]"),
        (std::vector<std::vector<std::string>>{{"1", "Business", "1"}, {"2", "Friends", "1"}}));
    dmMain().CloseAll();
}

}  // namespace tabrel
