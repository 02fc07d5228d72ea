#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CommTestSupport.h"
#include "palm/comm/CommAddrMgr.h"

namespace tabrel {

namespace {

using Id = CommAddrId;
using test::Text;

double Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    double date = 0.0;
    EXPECT_TRUE(FieldsToVariantDate(test::At(year, month, day, hour, minute, second), date));
    return date;
}

CommAddrRec Contact(const std::string& first, const std::string& last, const std::string& email) {
    CommAddrRec rec;
    rec.m_szFirstName = first;
    rec.m_szLastName = last;
    rec.m_szEmail = email;
    return rec;
}

}  // namespace

TEST(CommAddrMgr, CatalogueHasNinetyRowsByIdentifier) {
    const auto rows = CommAddrMgr::GetCatalogue();
    ASSERT_EQ(rows.size(), 90u);
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].m_nId, static_cast<std::int32_t>(i + 1));
        EXPECT_LT(rows[i].m_szName.size(), 32u);
        names.insert(rows[i].m_szName);
    }
    EXPECT_EQ(names.size(), 90u);
    const std::vector<test::Row> spots = {{8, "Gender", 4, 4},
                                          {12, "(Work) Postal", 1, 16},
                                          {19, "(Other) Street", 1, 256},
                                          {28, "Primary Phone", 1, 24},
                                          {43, "Note", 1, 8192},
                                          {52, "Custom 9", 1, 64},
                                          {66, "Anniversary", 6, 8},
                                          {75, "Category", 1, 256},
                                          {78, "Source Type", 5, 4},
                                          {80, "ID", 1, 64},
                                          {81, "Private", 5, 4},
                                          {90, "Custom Label 9", 1, 64}};
    test::ExpectRows<CommAddrMgr>(spots, false);
    CommFieldRow row;
    EXPECT_FALSE(CommAddrMgr::GetFieldRow(0, row));
    EXPECT_FALSE(CommAddrMgr::GetFieldRow(91, row));
    test::ExpectLists<CommAddrMgr>({1, 3, 37}, {24, 25, 26, 37, 34, 35, 53, 55, 13, 11, 12, 10,
                                                9,  18, 16, 17, 15, 14, 23, 21, 22, 20, 19, 43});
}

TEST(CommAddrMgr, FieldTexts) {
    const CommAddrMgr store;
    CommAddrRec rec = Contact("Ann", "Lee", "ann@example.com");
    rec.m_szNote = "a note";
    rec.m_szCustom[8] = "custom nine";
    rec.m_szCustomLabel[0] = "label one";
    rec.m_nGender = 2;
    rec.m_dBirthday = Date(1975, 5, 21, 12, 30, 15);
    rec.m_dAnniversary = Date(1931, 1, 1);
    rec.m_dCreationTime = Date(1930, 12, 31, 8, 0, 0);
    rec.m_dLastModificationTime = Date(2031, 1, 1, 23, 59, 59);
    rec.m_szId = "id-1";
    rec.m_nPrivate = 1;
    rec.m_source.m_nSourceType = 15;
    // Years not after 1930 or after 2030 leave the date out.
    test::ExpectTexts(store, rec,
                      {{Id::kEmail, "ann@example.com"},
                       {Id::kCustom9, "custom nine"},
                       {Id::kCustomLabel1, "label one"},
                       {Id::kGender, ""},
                       {Id::kBirthday, "05/21/1975 12:30:15"},
                       {Id::kAnniversary, "01/01/1931 00:00:00"},
                       {Id::kCreationTime, " 08:00:00"},
                       {Id::kLastModificationTime, " 23:59:59"},
                       {Id::kSourceType, "Sorvik"}});
    test::ExpectNoTexts(store, rec, {Id::kStatus, Id::kId, Id::kPrivate, 91});
    rec.m_source.m_nSourceType = 2;
    EXPECT_EQ(Text(store, rec, Id::kSourceType), "Palm(4.1.2 and aboves)");
    rec.m_source.m_nSourceType = 16;
    Text(store, rec, Id::kSourceType, false);
    // The row's size must be below the output size; the text is cut to fit.
    Text(store, rec, Id::kNote, false, 8192);
    EXPECT_EQ(Text(store, rec, Id::kNote, true, 8193), "a note");
    rec.m_szFirstName = std::string(40, 'x');
    EXPECT_EQ(Text(store, rec, Id::kFirstName, true, 33), std::string(32, 'x'));
}

TEST(CommAddrMgr, MatchIgnoresLetterCaseAndLineBreaks) {
    CommAddrMgr store;
    CommAddrRec stored = Contact("Ann", "Lee", "ann@example.com");
    stored.m_szNote = "ab";
    stored.m_szOtherStreet = "1 Main St";
    stored.m_szCustom[0] = "not compared";
    store.Add(stored);

    CommAddrRec probe = Contact("aNN", "LEE", "Ann@Example.com\r\n");
    probe.m_szNote = "a\r\nb";
    probe.m_szOtherStreet = "1 MAIN st";
    EXPECT_EQ(store.Match(probe).m_nResult, kCommMatchEqual);
    probe.m_szOtherStreet = "2 Main St";
    const CommMatch key = store.Match(probe);
    EXPECT_EQ(key.m_nResult, kCommMatchKey);
    EXPECT_EQ(key.m_nPosition, 0u);
    EXPECT_EQ(store.Match(Contact("Ann", "Lee", "")).m_nResult, kCommMatchNone);
    // The fields' texts do not run into each other.
    EXPECT_EQ(store.Match(Contact("Ann", "", "Leeann@example.com")).m_nResult, kCommMatchNone);
}

TEST(CommAddrMgr, MergeCopiesNonEmptyTextsCutAndTheCarriedFields) {
    CommAddrMgr store;
    CommAddrRec stored = Contact("Ann", "Lee", "ann@example.com");
    stored.m_szCompany = "Acme";
    stored.m_szCustom[9] = "tenth";
    stored.m_szId = "id-1";
    stored.m_nGender = 1;
    stored.m_dBirthday = Date(1975, 5, 21);
    stored.m_dCreationTime = Date(2004, 1, 1);
    stored.m_nPrivate = 1;
    stored.m_source.m_nSourceType = kCommSourcePalm;
    stored.m_source.m_nStatus = 0x40;
    store.Add(stored);

    CommAddrRec import = Contact(std::string(40, 'f'), "", "");
    import.m_szWorkPostal = std::string(20, '9');
    import.m_szNote = std::string(9000, 'n');
    import.m_szWorkPhone = "222";
    import.m_szCustom[9] = "other tenth";
    import.m_szId = "id-2";
    import.m_dCreationTime = Date(2010, 1, 1);
    import.m_source.m_nSourceType = kCommSourceCsv;

    // Only the carried fields: Work Phone and Birthday (0: no birthday, taken as it is).
    ASSERT_TRUE(store.Merge(import, 0, CommFieldSet{Id::kWorkPhone, Id::kBirthday}));
    const CommAddrRec& held = *store.GetAt(0);
    EXPECT_EQ(held.m_szWorkPhone, "222");
    EXPECT_EQ(held.m_dBirthday, 0.0);
    EXPECT_EQ(held.m_szFirstName, "Ann");
    EXPECT_EQ(held.m_szWorkPostal, "");
    EXPECT_EQ(held.m_nPrivate, 1);

    // Every field: empty texts keep the stored ones, long ones are cut, numbers are taken.
    ASSERT_TRUE(store.Merge(import, 0));
    EXPECT_EQ(held.m_szFirstName, std::string(31, 'f'));
    EXPECT_EQ(held.m_szLastName, "Lee");
    EXPECT_EQ(held.m_szCompany, "Acme");
    EXPECT_EQ(held.m_szWorkPostal, std::string(15, '9'));
    EXPECT_EQ(held.m_szNote.size(), 8191u);
    EXPECT_EQ(held.m_nGender, 0);
    EXPECT_EQ(held.m_nPrivate, 0);
    // Not merged: the tenth custom slot, the ID, the times and the source part.
    EXPECT_EQ(held.m_szCustom[9], "tenth");
    EXPECT_EQ(held.m_szId, "id-1");
    EXPECT_EQ(held.m_dCreationTime, Date(2004, 1, 1));
    EXPECT_EQ(held.m_source.m_nSourceType, kCommSourcePalm);
    EXPECT_EQ(held.m_source.m_nStatus, 0x40);

    CommAddrRec rec;
    EXPECT_TRUE(CommAddrMgr::SetText(rec, Id::kPager, std::string(30, '5')));
    EXPECT_EQ(rec.m_szPager, std::string(23, '5'));
    EXPECT_TRUE(CommAddrMgr::SetText(rec, Id::kCustomLabel9, "label"));
    EXPECT_EQ(rec.m_szCustomLabel[8], "label");
    EXPECT_FALSE(CommAddrMgr::SetText(rec, Id::kGender, "1"));
}

}  // namespace tabrel
