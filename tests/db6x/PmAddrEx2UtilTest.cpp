#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "palm/db6x/PmAddrEx2Util.h"
#include "support/Db6xWriter.h"
#include "support/LogCapture.h"
#include "support/TestSupport.h"

namespace tabrel {

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Values = std::vector<std::pair<std::string, std::string>>;

constexpr std::array<std::string_view, 1> kNumberTexts = {"Category"};
const std::string kKeys = "WHERE [Record ID] = 12 AND [First Name] = 'Ann' AND [Last Name] = 'Lee'";

// The record of the sample row (Db6xWriter::SampleValues): each field holds its column's
// value, found by the column's position.
PmAddrEx2Record SampleRecord() {
    PmAddrEx2Record r;
    r.m_nRecordId = 1000;
    r.m_nStatus = 1001;
    r.m_nPlacement = 1002;
    r.m_byPrivate = 1;
    r.m_nCategoryId = 1004;
    r.m_szCategoryName = "Sample";
    r.m_szNote = "c5";
    r.m_szPrefix = "c6";
    r.m_szFirstName = "c7";
    r.m_szMiddleName = "c8";
    r.m_szLastName = "c9";
    r.m_szSuffix = "c10";
    r.m_szNickName = "c11";
    r.m_nAnniversary = 1012;
    r.m_nBirthday = 1013;
    r.m_szProfession = "c14";
    r.m_szCompany = "c15";
    r.m_szJobTitle = "c16";
    r.m_szAssistantName = "c17";
    r.m_szAssistantPhone = "c18";
    r.m_szWorkStreet = "c19";
    r.m_szWorkCity = "c20";
    r.m_szWorkState = "c21";
    r.m_szWorkZip = "c22";
    r.m_szWorkCountry = "c23";
    r.m_szHomeStreet = "c24";
    r.m_szHomeCity = "c25";
    r.m_szHomeState = "c26";
    r.m_szHomeZip = "c27";
    r.m_szHomeCountry = "c28";
    r.m_szOtherStreet = "c29";
    r.m_szOtherCity = "c30";
    r.m_szOtherState = "c31";
    r.m_szOtherZip = "c32";
    r.m_szOtherCountry = "c33";
    r.m_szPhone1 = "c34";  // Work Phone
    r.m_szPhone2 = "c35";
    r.m_szPhone3 = "c36";
    r.m_szPhone4 = "c37";
    r.m_szPhone5 = "c38";
    r.m_szPhone6 = "c39";
    r.m_szPhone7 = "c40";  // Other Phone
    r.m_szOtherFax = "c41";
    r.m_szOtherMobile = "c42";
    r.m_szWorkEmail = "c43";
    r.m_szEmail1 = "c44";
    r.m_szEmail2 = "c45";
    r.m_szEmail3 = "c46";
    r.m_szPager = "c47";
    r.m_szCustom1 = "c48";
    r.m_szCustom2 = "c49";
    r.m_szCustom3 = "c50";
    r.m_szCustom4 = "c51";
    r.m_nPrimaryContact = 1052;
    r.m_nPhoneLabel1 = 1053;
    r.m_nPhoneLabel2 = 1054;
    r.m_nPhoneLabel3 = 1055;
    r.m_nPhoneLabel4 = 1056;
    r.m_nPhoneLabel5 = 1057;
    r.m_nPhoneLabel6 = 1058;
    r.m_nPhoneLabel7 = 1059;
    r.m_szFirstYomi = "c60";
    r.m_szLastYomi = "c61";
    r.m_szCompanyYomi = "c62";
    r.m_szChat1 = "c63";
    r.m_szChat2 = "c64";
    r.m_nChat1LabelId = 1065;
    r.m_nChat2LabelId = 1066;
    r.m_szWebsite = "c67";
    r.m_szCustom5 = "c68";
    r.m_szCustom6 = "c69";
    r.m_szCustom7 = "c70";
    r.m_szCustom8 = "c71";
    r.m_szCustom9 = "c72";
    r.m_szCustom10 = "c73";
    r.m_szCustom11 = "c74";
    r.m_szCustom12 = "c75";
    r.m_szCustom13 = "c76";
    r.m_szCustom14 = "c77";
    r.m_byBirthdayAlarmSet = 1;
    r.m_nBirthdayAlarmAdv = 1079;
    r.m_nAvatar = 1080;
    r.m_nAddrLabel1 = 1081;
    r.m_nAddrLabel2 = 1082;
    r.m_nAddrLabel3 = 1083;
    r.m_byAnniversaryAlarmSet = 1;
    r.m_nAnniversaryAlarmAdv = 1085;
    r.m_szEnglishName = "c86";
    r.m_szPictureUrl = "c87";
    r.m_szPictureFilename = "c88";
    r.m_szPictureMimeType = "c89";
    r.m_szPictureSyncCounter = "c90";
    r.m_szRingtoneUrl = "c91";
    r.m_szRingtoneFilename = "c92";
    r.m_szRingtoneMimeType = "c93";
    r.m_szRingtoneSyncCounter = "c94";
    return r;
}

// A contact database with the categories 1 Business, 3 Travel and 1004 Sample.
class PmAddrEx2UtilTest : public ::testing::Test {
  protected:
    PmAddrEx2UtilTest() : m_db(m_dir.File("Address.mdb"), test::kAddrColumns) {
        m_db.AddCategory(1, "Business");
        m_db.AddCategory(3, "Travel");
        m_db.AddCategory(1004, "Sample");
    }
    ~PmAddrEx2UtilTest() override { dmMain().CloseAll(); }

    // A stored contact: every column 0 or empty but those given.
    void AddContact(int id, std::string_view first, std::string_view last,
                    Values others = {}) const {
        others.insert(others.begin(), {{"Record ID", std::to_string(id)},
                                       {"First Name", test::Db6xWriter::Quote(first)},
                                       {"Last Name", test::Db6xWriter::Quote(last)}});
        m_db.InsertZeroRow(test::kAddrColumns, others);
    }
    std::vector<std::string> Column(const std::string& column) const {
        std::vector<std::string> values;
        for (const auto& row : m_db.Rows("SELECT [" + column + "] FROM Main ORDER BY rowid")) {
            values.push_back(row.front());
        }
        return values;
    }
    void Load(PmAddrEx2Util& contacts) const {
        ASSERT_TRUE(contacts.LoadFile(m_db.Path()));
        m_log.Clear();
    }

    test::TempDir m_dir;
    test::Db6xWriter m_db;
    test::LogCapture m_log;
};

}  // namespace

TEST_F(PmAddrEx2UtilTest, EveryColumnIsReadIntoItsFieldAndWrittenFromIt) {
    m_db.InsertMain(test::Db6xWriter::SampleLiterals(test::kAddrColumns, kNumberTexts));
    PmAddrEx2Util contacts(m_db.Path());
    ASSERT_TRUE(contacts.IsLoaded());
    PmAddrEx2DataMgr& list = contacts.GetDataMgr();
    ASSERT_EQ(list.GetRecordCount(), 1u);
    EXPECT_EQ(*list.GetRecordAt(0), SampleRecord());
    EXPECT_EQ(list.GetRecordAt(0)->*kAddrEx2PhoneTexts[6], "c40");
    EXPECT_EQ(list.GetRecordAt(0)->*kAddrEx2PhoneLabels[1], 1054);
    EXPECT_EQ(list.GetRecordAt(0)->*kAddrEx2CustomTexts[13], "c77");

    // A new contact is inserted with every column and the four binary ones.
    m_log.Clear();
    ASSERT_TRUE(list.AddRecord(SampleRecord()));
    EXPECT_TRUE(contacts.WriteRecord(*list.GetRecordAt(1)));
    ASSERT_EQ(m_log.Statements().size(), 1u);
    const std::string insert = m_log.Statements().front();
    EXPECT_TRUE(insert.starts_with(
        "INSERT INTO Main ([Record ID], [Status], [Placement], [Private], [Category], [Note], "))
        << insert;
    EXPECT_TRUE(insert.ends_with(
        "[Ringtone Sync counter], [Photo], [VoiceTag], [Ringtone], [Blob]) VALUES (1000, 1001, "
        "1002, 1, '1004', 'c5', 'c6', 'c7', 'c8', 'c9', 'c10', 'c11', 1012, 1013, 'c14', "
        "'c15', 'c16', 'c17', 'c18', 'c19', 'c20', 'c21', 'c22', 'c23', 'c24', 'c25', 'c26', "
        "'c27', 'c28', 'c29', 'c30', 'c31', 'c32', 'c33', 'c34', 'c35', 'c36', 'c37', 'c38', "
        "'c39', 'c40', 'c41', 'c42', 'c43', 'c44', 'c45', 'c46', 'c47', 'c48', 'c49', 'c50', "
        "'c51', 1052, 1053, 1054, 1055, 1056, 1057, 1058, 1059, 'c60', 'c61', 'c62', 'c63', "
        "'c64', 1065, 1066, 'c67', 'c68', 'c69', 'c70', 'c71', 'c72', 'c73', 'c74', 'c75', "
        "'c76', 'c77', 1, 1079, 1080, 1081, 1082, 1083, 1, 1085, 'c86', 'c87', 'c88', 'c89', "
        "'c90', 'c91', 'c92', 'c93', 'c94', 0x00000000, 0x00000000, 0x00000000, 0x00000000)"))
        << insert;
    Rows rows = m_db.Rows("SELECT * FROM Main ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(rows[0].end() - 4, rows[0].end()),
              std::vector<std::string>(4, "NULL"));
    EXPECT_EQ(std::vector<std::string>(rows[1].end() - 4, rows[1].end()),
              std::vector<std::string>(4, "0"));
    rows[0].resize(PmAddrEx2Util::kColumnCount);
    rows[1].resize(PmAddrEx2Util::kColumnCount);
    EXPECT_EQ(rows[1], rows[0]);
}

TEST_F(PmAddrEx2UtilTest, ValuesAreReadByKind) {
    const std::string note = "Line 1\r\n" + std::string(5000, 'n');
    AddContact(12, "Ann", "Lee",
               {{"Category", "'3'"},
                {"Note", test::Db6xWriter::Quote(note)},
                {"Prefix", test::Db6xWriter::Quote(std::string(40, 'p'))},
                {"First Name", test::Db6xWriter::Quote(std::string(70, 'f'))},
                {"Work Street", test::Db6xWriter::Quote(std::string(300, 's'))},
                {"Pager", test::Db6xWriter::Quote(std::string(300, 'g'))},
                {"Company", "NULL"},
                {"Birthday", "NULL"},
                {"Private", "NULL"}});
    // Columns of other kinds than the reader expects: a date, an integer text column, a text
    // where a boolean is read.
    test::Db6xColumn columns[std::size(test::kAddrColumns)];
    std::copy(std::begin(test::kAddrColumns), std::end(test::kAddrColumns), columns);
    columns[4].type = "INTEGER";    // Category
    columns[12].type = "DATETIME";  // Anniversary
    columns[15].type = "INTEGER";   // Company
    columns[78].type = "TEXT";      // Birthday AlarmSet
    test::Db6xWriter odd(m_dir.File("Odd.mdb"), columns);
    odd.AddCategory(3, "Travel");
    odd.Exec(
        "INSERT INTO Main ([Record ID], [Category], [Anniversary], [Company], [Birthday "
        "AlarmSet], [First Name]) VALUES (5, 3, '2006-01-01', 77, 'yes', 'Bo')");

    PmAddrEx2Util contacts(m_db.Path());
    const PmAddrEx2Record& ann = *contacts.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(ann.m_nCategoryId, 3);
    EXPECT_EQ(ann.m_szCategoryName, "Travel");
    EXPECT_EQ(ann.m_szNote, note);  // whole
    EXPECT_EQ(ann.m_szPrefix, std::string(31, 'p'));
    EXPECT_EQ(ann.m_szFirstName, std::string(63, 'f'));
    EXPECT_EQ(ann.m_szWorkStreet, std::string(255, 's'));
    EXPECT_EQ(ann.m_szPager, std::string(300, 'g'));                 // a kept column, whole
    for (const char* column : {"Company", "Birthday", "Private"}) {  // NULLs: read quietly
        EXPECT_FALSE(m_log.Has("The column " + std::string(column) +
                               " holds a value of an unexpected kind (0); its field is left zero."))
            << column;
    }
    EXPECT_EQ(ann.m_szCompany, "");

    m_log.Clear();
    PmAddrEx2Util fromOdd(odd.Path());
    const PmAddrEx2Record& bo = *fromOdd.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(bo.m_nCategoryId, 3);
    EXPECT_EQ(bo.m_szCategoryName, "Travel");
    EXPECT_EQ(bo.m_nAnniversary, 0);
    EXPECT_EQ(bo.m_szCompany, "");
    EXPECT_EQ(bo.m_byBirthdayAlarmSet, 0);
    EXPECT_EQ(bo.m_szFirstName, "Bo");
    for (const auto& [column, kind] :
         {std::pair{"Anniversary", 0}, {"Company", 3}, {"Birthday AlarmSet", 8}}) {
        EXPECT_TRUE(m_log.Has("The column " + std::string(column) + " holds a value of an " +
                              "unexpected kind (" + std::to_string(kind) +
                              "); its field is left zero."))
            << column;
    }
}

TEST_F(PmAddrEx2UtilTest, OnlyComparedColumnsDecideAndOnlyListedOnesAreWritten) {
    AddContact(12, "Ann", "Lee", {{"Company", "'Old Co'"}, {"Pager", "'555-0100'"}});
    AddContact(13, "Bob", "Ray");
    PmAddrEx2Util contacts;
    Load(contacts);
    PmAddrEx2Record& ann = *contacts.GetDataMgr().GetRecordAt(0);
    PmAddrEx2Record& bob = *contacts.GetDataMgr().GetRecordAt(1);
    const std::string select = "SELECT [Record ID], [Status], ";

    EXPECT_TRUE(contacts.WriteRecord(ann));  // unchanged: looked up only
    ASSERT_EQ(m_log.Statements().size(), 1u);
    EXPECT_TRUE(m_log.Statements().front().starts_with(select));
    EXPECT_TRUE(m_log.Statements().front().ends_with(" FROM Main " + kKeys));

    // Labels and chat texts are written too, after the other columns: a changed phone label
    // or chat address must reach the database.
    const PmAddrEx2Record loaded = ann;
    ann.m_nPhoneLabel2 = 4;
    ann.m_szChat1 = "ann@chat";
    ann.m_nChat2LabelId = 2;
    ann.m_nAddrLabel1 = 1;
    m_log.Clear();
    EXPECT_TRUE(contacts.WriteRecord(ann));
    ASSERT_EQ(m_log.Statements().size(), 2u);
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Phone Label2]=4, [Chat1]='ann@chat', [Chat2 LabelID]=2, "
              "[Addr Label1]=1 " +
                  kKeys);
    ann = loaded;
    EXPECT_TRUE(contacts.WriteRecord(ann));
    m_log.Clear();
    EXPECT_TRUE(contacts.WriteRecord(ann));
    EXPECT_EQ(m_log.Statements().size(), 1u);
    // Differences the comparison does not look at: nothing is written either.
    ann = loaded;
    ann.m_nPlacement = 5;
    ann.m_szAssistantName = "Sam";
    ann.m_szAssistantPhone = "555-0199";
    ann.m_szFirstYomi = "an";
    ann.m_szLastYomi = "ri";
    ann.m_szCompanyYomi = "ko";
    ann.m_nAvatar = 3;
    ann.m_szPager = "555-0111";
    m_log.Clear();
    EXPECT_TRUE(contacts.WriteRecord(ann));
    EXPECT_EQ(m_log.Statements().size(), 1u);

    // A listed difference writes every listed column that differs, and no other.
    ann.m_szCompany = "New Co";
    ann.m_nCategoryId = 3;
    EXPECT_TRUE(contacts.WriteRecord(ann));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Placement]=5, [Category]='3', [Company]='New Co', [Assistant "
              "Name]='Sam', [Assistant Phone]='555-0199', [Avatar]=3 " +
                  kKeys);
    EXPECT_EQ(Column("Phone Label2"), (std::vector<std::string>{"0", "0"}));
    EXPECT_EQ(Column("First Yomi"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Column("Pager"), (std::vector<std::string>{"555-0100", ""}));

    // The change list's order is not the column order.
    bob.m_nStatus = 2;
    bob.m_szRingtoneSyncCounter = "7";
    bob.m_nAnniversaryAlarmAdv = 3;
    bob.m_byBirthdayAlarmSet = 1;
    bob.m_szWebsite = "example.org";
    bob.m_nPrimaryContact = 2;
    bob.m_szCustom5 = "five";
    bob.m_szCustom1 = "one";
    bob.m_szPhone7 = "555-0177";
    bob.m_byPrivate = 1;
    m_log.Clear();
    EXPECT_TRUE(contacts.WriteRecord(bob));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Status]=2, [Private]=1, [Other Phone]='555-0177', [Custom "
              "1]='one', [Custom 5]='five', [Primary Contact]=2, [Website]='example.org', "
              "[Birthday AlarmSet]=1, [Anniversary AlarmAdv]=3, [Ringtone Sync counter]='7' "
              "WHERE [Record ID] = 13 AND [First Name] = 'Bob' AND [Last Name] = 'Ray'");
    // Texts are compared byte for byte.
    bob.m_szCustom1 = "ONE";
    m_log.Clear();
    EXPECT_TRUE(contacts.WriteRecord(bob));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Custom 1]='ONE' WHERE [Record ID] = 13 AND [First Name] = 'Bob' "
              "AND [Last Name] = 'Ray'");
}

TEST_F(PmAddrEx2UtilTest, ChangedKeysUpdateTheRowTheContactWasLoadedFrom) {
    AddContact(12, "Ann", "Lee", {{"Company", "'Old Co'"}, {"E-mail 1", "'ann@example.org'"}});
    PmAddrEx2Util contacts;
    Load(contacts);
    PmAddrEx2Record& ann = *contacts.GetDataMgr().GetRecordAt(0);
    ann.m_szCompany = "New Co";
    EXPECT_TRUE(contacts.WriteRecord(ann));
    EXPECT_EQ(m_log.Statements().back(), "UPDATE Main SET [Company]='New Co' " + kKeys);

    ann.m_szFirstName = "Anne";
    ann.m_szNote = std::string(3000, 'x') + "'";  // a long note, written whole
    EXPECT_TRUE(contacts.WriteRecord(ann));
    EXPECT_EQ(m_log.Statements().back(), "UPDATE Main SET [Note]='" + std::string(3000, 'x') +
                                             "''', [First Name]='Anne' " + kKeys);
    ann.m_szLastName = "O'Neil";
    EXPECT_TRUE(contacts.WriteRecord(ann));
    EXPECT_EQ(m_log.Statements().back(),
              "UPDATE Main SET [Last Name]='O''Neil' WHERE [Record ID] = 12 AND [First Name] = "
              "'Anne' AND [Last Name] = 'Lee'");
    EXPECT_EQ(
        m_db.Rows("SELECT [First Name], [Last Name], [Company], [Note], [E-mail 1] FROM "
                  "Main"),
        (Rows{{"Anne", "O'Neil", "New Co", std::string(3000, 'x') + "'", "ann@example.org"}}));
}

TEST_F(PmAddrEx2UtilTest, NewContactsAreInsertedOnceThenUpdated) {
    PmAddrEx2Util contacts;
    Load(contacts);
    PmAddrEx2DataMgr& list = contacts.GetDataMgr();
    PmAddrEx2Record fresh;
    fresh.m_nStatus = 1;
    fresh.m_szFirstName = "Ann";
    fresh.m_szLastName = "Lee";
    fresh.m_szNote = "first";
    ASSERT_TRUE(list.AddRecord(fresh));
    fresh.m_szNote = "second";
    ASSERT_TRUE(list.AddRecord(fresh));
    EXPECT_TRUE(contacts.WriteRecord(*list.GetRecordAt(0)));
    EXPECT_TRUE(contacts.WriteRecord(*list.GetRecordAt(1)));
    ASSERT_EQ(m_log.Statements().size(), 2u);
    for (const std::string& statement : m_log.Statements()) {
        EXPECT_TRUE(statement.starts_with("INSERT INTO Main (")) << statement;
    }
    // The kept columns of a new contact are empty texts, not NULLs.
    EXPECT_EQ(m_db.Rows("SELECT [Other Fax], [Other Mobile], [Work E-mail], [E-mail 1], "
                        "[E-mail 2], [E-mail 3], [Pager], [Photo] FROM Main"),
              (Rows(2, std::vector<std::string>{"", "", "", "", "", "", "", "0"})));

    // The second one's next write updates its own row only.
    m_log.Clear();
    list.GetRecordAt(1)->m_szCompany = "Second";
    EXPECT_TRUE(contacts.WriteRecord(*list.GetRecordAt(1)));
    EXPECT_EQ(m_log.Statements().size(), 3u);
    EXPECT_TRUE(m_log.Statements().back().starts_with(
        "UPDATE Main SET [Company]='Second' WHERE [Record ID] = 0 AND [Status] = 1 AND "))
        << m_log.Statements().back();
    EXPECT_EQ(Column("Company"), (std::vector<std::string>{"", "Second"}));
}

TEST_F(PmAddrEx2UtilTest, AnUpdateThatChangesNoRowFails) {
    AddContact(12, "Ann", "Lee");
    PmAddrEx2Util contacts;
    Load(contacts);
    m_db.Exec("CREATE TRIGGER keep BEFORE UPDATE ON Main BEGIN SELECT RAISE(IGNORE); END");
    PmAddrEx2Record& ann = *contacts.GetDataMgr().GetRecordAt(0);
    ann.m_szCompany = "New Co";
    EXPECT_FALSE(contacts.WriteRecord(ann));
    EXPECT_EQ(m_log.Messages().back(),
              "The statement changed no row of the table Main: UPDATE Main SET [Company]='New "
              "Co' " +
                  kKeys);
    // A contact whose row is gone is inserted whole, with the kept columns as read.
    m_db.Exec("DROP TRIGGER keep; DELETE FROM Main");
    ann.m_szPager = "555-0100";
    EXPECT_TRUE(contacts.WriteRecord(ann));
    EXPECT_TRUE(m_log.Statements().back().starts_with("INSERT INTO Main ("));
    EXPECT_EQ(Column("Pager"), std::vector<std::string>{"555-0100"});
}

TEST_F(PmAddrEx2UtilTest, LoadsWithItsMessages) {
    AddContact(12, "Ann", "Lee");
    PmAddrEx2Util contacts;
    EXPECT_FALSE(contacts.LoadFile(""));
    EXPECT_TRUE(m_log.Messages().empty());
    EXPECT_FALSE(contacts.LoadFile(m_dir.File("none.mdb")));
    EXPECT_EQ(m_log.Messages(),
              (std::vector<std::string>{
                  "Loading Palm Desktop Contacts:" + m_dir.File("none.mdb"),
                  "Open Palm Desktop Contacts database failed: " + m_dir.File("none.mdb")}));
    m_log.Clear();
    EXPECT_FALSE(contacts.LoadByUser(7));
    EXPECT_EQ(m_log.Messages(),
              (std::vector<std::string>{"Start loading Palm Desktop Contacts by user ID: 7",
                                        "Failed to get user database path by user ID."}));
    m_log.Clear();
    ASSERT_TRUE(contacts.LoadFile(m_db.Path()));
    EXPECT_EQ(contacts.GetDataMgr().GetRecordCount(), 1u);
    EXPECT_TRUE(m_log.Has("Start loading Palm Desktop Contacts main records."));
    EXPECT_TRUE(m_log.Has("Query first record in the Contacts database table successfully."));
    const auto messages = m_log.Messages();
    EXPECT_EQ(std::vector<std::string>(messages.end() - 2, messages.end()),
              (std::vector<std::string>{
                  "Failed to query the next record of the Contacts main table. Check if it is "
                  "the end of the table.",
                  "Loading Palm Desktop Contacts main records completed successfully."}));
    EXPECT_TRUE(contacts.Save());

    m_db.Exec("DELETE FROM Main");
    PmAddrEx2Util empty(m_db.Path());
    EXPECT_TRUE(empty.IsLoaded());
    EXPECT_EQ(empty.GetDataMgr().GetRecordCount(), 0u);
    EXPECT_TRUE(
        m_log.Has("Failed to query the first record of the Contacts main table. Check if there "
                  "is any records in the database table."));
}

}  // namespace tabrel
