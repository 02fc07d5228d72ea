// The Contacts facade's catalogues, field texts both ways and the conversion of loaded
// contacts into common records, in every generation.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InfoTestSupport.h"
#include "palm/unified/PmAddrInfo.h"
#include "support/EnvGuards.h"
#include "support/PmAddrInfoTestFiles.h"

namespace tabrel {

using namespace test;
using namespace test::addrinfo;

TEST(PmAddrInfoText, CataloguesListEveryRowOfTheGeneration) {
    ScopedLogFolder logFolder;
    for (const Generation* generation : Generations()) {
        SCOPED_TRACE(generation->version);
        TempDir dir;
        PmAddrInfo contacts(kPalm6);
        ASSERT_TRUE(contacts.LoadByFile(generation->write(dir, generation->fileName)));
        const std::vector<CatalogueRow>& expected = generation->catalogue;
        ASSERT_EQ(contacts.GetFieldCount(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const FieldDescriptor row = *contacts.GetFieldAt(i);
            EXPECT_EQ(row.m_nId, expected[i].id) << i;
            EXPECT_EQ(row.m_nKind, expected[i].kind) << i;
            EXPECT_EQ(row.m_szName, expected[i].name) << i;
            EXPECT_EQ(row.m_nType, expected[i].type) << i;
            EXPECT_EQ(row.m_nLength, expected[i].length) << i;
            EXPECT_EQ(row.m_nValueSource, ValueSourceNone) << i;
        }
        EXPECT_FALSE(contacts.GetFieldAt(expected.size()));
        // Identifier 0 answers the first phone row.
        EXPECT_EQ(contacts.GetFieldById(0)->m_szName, "Work Phone");
        EXPECT_FALSE(contacts.GetFieldById(99));
    }
}

TEST(PmAddrInfoText, GivesTheTextOfEveryRow) {
    ScopedLogFolder logFolder;
    for (const Generation* generation : Generations()) {
        SCOPED_TRACE(generation->version);
        TempDir dir;
        PmAddrInfo contacts(kPalm6);
        ASSERT_TRUE(contacts.LoadByFile(generation->write(dir, generation->fileName)));
        ASSERT_EQ(contacts.GetItemCount(), 2u);
        const PmAddrInfo::Item& ann = *contacts.GetItemAt(0);
        for (const FieldDescriptor& row : Rows(contacts)) {
            std::string text = "stale";
            EXPECT_TRUE(contacts.GetFieldText(ann, row, text, 32768)) << row.m_szName;
            const auto it = generation->annTexts.find(row.m_szName);
            EXPECT_EQ(text, it == generation->annTexts.end() ? "" : it->second) << row.m_szName;
        }
        // Bob has no e-mail slot, is not private and has no birthday.
        EXPECT_EQ(TextOf(contacts, 1, "E-Mail"), "");
        EXPECT_EQ(TextOf(contacts, 1, "Mobile Phone"), "555-0202");
        EXPECT_EQ(TextOf(contacts, 1, "Private"), "0");
        if (generation->version == PM_DATA_EX) {
            EXPECT_EQ(TextOf(contacts, 1, "Birthday"), "");
        }
        // A phone row needs 32 bytes; other rows are cut to the buffer.
        EXPECT_EQ(TextOf(contacts, 0, "Work Phone", 31), "");
        EXPECT_EQ(TextOf(contacts, 0, "Work Phone", 32), "555-0101");
        EXPECT_EQ(TextOf(contacts, 0, "Company", 3), "Ac");
        // A row the catalogue does not have gives nothing.
        FieldDescriptor other = RowNamed(contacts, "Company");
        other.m_nId = 99;
        std::string text;
        EXPECT_FALSE(contacts.GetFieldText(ann, other, text, 32768));
        other = RowNamed(contacts, "Work Phone");
        other.m_nKind = 9;
        EXPECT_FALSE(contacts.GetFieldText(ann, other, text, 32768));
    }
}

TEST(PmAddrInfoText, LoadedContactsBecomeCommonRecords) {
    ScopedLogFolder logFolder;
    for (const Generation* generation : Generations()) {
        SCOPED_TRACE(generation->version);
        TempDir dir;
        PmAddrInfo contacts(kPalm6);
        ASSERT_TRUE(contacts.LoadByFile(generation->write(dir, generation->fileName)));
        ASSERT_EQ(contacts.GetCommMgr().GetCount(), 2u);
        const CommAddrRec& ann = *contacts.GetCommMgr().GetAt(0);
        EXPECT_EQ(CommonTexts(ann), generation->annCommon);
        // The private flag and the pager stay behind.
        EXPECT_EQ(ann.m_nPrivate, 0);
        EXPECT_EQ(ann.m_source.m_nSourceType, kCommSourcePalm);
        EXPECT_EQ(contacts.GetItemAt(0)->m_pCommon, &ann);
        const bool hasBirthday = generation->version != PM_DATA_CLASSIC;
        EXPECT_EQ(ann.m_dBirthday, hasBirthday ? kAnnBirthday : 0);
        EXPECT_EQ(ann.m_dAnniversary, generation->version == PM_DATA_EX2 ? kAnnAnniversary : 0);
        EXPECT_EQ(ann.m_szCustom.back(), generation->version == PM_DATA_EX2 ? "Ten" : "");

        // Category 0 is "Unfiled" in the .dat files; the 6.x list has no such entry.
        const CommAddrRec& bob = *contacts.GetCommMgr().GetAt(1);
        std::map<std::int32_t, std::string> bobTexts = {{Id::kFirstName, "Bob"},
                                                        {Id::kLastName, "Ray"},
                                                        {Id::kCompany, "Ray Co"},
                                                        {Id::kMobilePhone, "555-0202"}};
        if (generation->version != PM_DATA_EX2) {
            bobTexts.emplace(Id::kCategory, "Unfiled");
        }
        EXPECT_EQ(CommonTexts(bob), bobTexts);
        EXPECT_EQ(bob.m_dBirthday, 0);
    }
}

TEST(PmAddrInfoText, CsvTextOfEveryRowGoesToItsCommonField) {
    ScopedLogFolder logFolder;
    for (const Generation* generation : Generations()) {
        SCOPED_TRACE(generation->version);
        TempDir dir;
        PmAddrInfo contacts(kPalm6);
        CommAddrRec contact{};
        FieldDescriptor anyRow;
        anyRow.m_nId = 3;
        EXPECT_FALSE(contacts.SetFieldText(anyRow, "x", contact));  // nothing loaded
        ASSERT_TRUE(contacts.LoadByFile(generation->write(dir, generation->fileName)));
        for (const FieldDescriptor& row : Rows(contacts)) {
            contact = CommAddrRec{};
            EXPECT_TRUE(contacts.SetFieldText(row, "7 abc", contact)) << row.m_szName;
            std::map<std::int32_t, std::string> expected;
            CommFieldSet carried;
            if (const auto it = generation->csvTargets.find(row.m_szName);
                it != generation->csvTargets.end()) {
                expected = {{it->second, "7 abc"}};
                carried = {it->second};
            }
            const bool birthday = row.m_szName == "Birthday";
            EXPECT_EQ(CommonTexts(contact), expected) << row.m_szName;
            EXPECT_EQ(contact.m_dBirthday, birthday ? 7.0 : 0.0) << row.m_szName;
            EXPECT_EQ(contact.m_nPrivate, 0) << row.m_szName;
            EXPECT_EQ(contacts.GetCarriedFields(std::vector<FieldDescriptor>{row}),
                      birthday ? CommFieldSet{Id::kBirthday} : carried)
                << row.m_szName;
        }
    }
}

// Every CSV column imported into a new contact reads back from the Palm record.
TEST(PmAddrInfoText, EveryImportedColumnReadsBackFromTheNewContact) {
    ScopedLogFolder logFolder;
    for (const Generation* generation : Generations()) {
        SCOPED_TRACE(generation->version);
        TempDir dir;
        PmAddrInfo contacts(kPalm6);
        ASSERT_TRUE(contacts.LoadByFile(generation->write(dir, generation->fileName)));
        std::vector<std::pair<std::string, std::string>> texts;
        for (const auto& [name, target] : generation->csvTargets) {
            texts.emplace_back(name, "v" + std::to_string(target));
        }
        if (generation->version == PM_DATA_EX) {
            texts.emplace_back("Birthday", "40000");
        }
        const CommAddrRec contact = ImportOf(contacts, texts);
        ASSERT_TRUE(contacts.AddImportRecord(contact));
        EXPECT_FALSE(contacts.AddImportRecord(contact));  // the same line again: equal
        ASSERT_EQ(contacts.GetItemCount(), 3u);
        for (const auto& [name, text] : texts) {
            // The pager does not cross; five classic slots leave no room for the main
            // and mobile phones.
            const bool dropped =
                name == "Pager" || (generation->version == PM_DATA_CLASSIC &&
                                    (name == "Main Phone" || name == "Mobile Phone"));
            EXPECT_EQ(TextOf(contacts, 2, name), dropped ? "" : text) << name;
        }
    }
}

TEST(PmAddrInfoText, CsvTextsAreCutToTheCommonLimits) {
    ScopedLogFolder logFolder;
    TempDir dir;
    PmAddrInfo contacts(kPalm6);
    ASSERT_TRUE(contacts.LoadByFile(WriteEx(dir)));
    const std::string text(9000, 'x');
    const CommAddrRec contact = ImportOf(contacts, {{"Zip(Home)", text},
                                                    {"E-Mail", text},
                                                    {"Work Phone", text},
                                                    {"Company", text},
                                                    {"Address(Work)", text},
                                                    {"Note", text}});
    EXPECT_EQ(contact.m_szHomePostal.size(), 15u);
    EXPECT_EQ(contact.m_szEmail.size(), 63u);
    EXPECT_EQ(contact.m_szWorkPhone.size(), 23u);
    EXPECT_EQ(contact.m_szCompany.size(), 63u);
    EXPECT_EQ(contact.m_szWorkStreet.size(), 255u);
    EXPECT_EQ(contact.m_szNote.size(), 8191u);
}

// A stored birthday is the common day number plus the offset; "no birthday" is 0 in both.
TEST(PmAddrInfoText, BirthdaysCrossWithTheOffsetOnce) {
    ScopedLogFolder logFolder;
    TempDir dir;
    PmAddrInfo contacts(kPalm6);
    ASSERT_TRUE(contacts.LoadByFile(WriteEx(dir)));
    // The exported text of Ann's birthday imports as the same stored value.
    const std::string annText = TextOf(contacts, 0, "Birthday");
    ASSERT_TRUE(contacts.AddImportRecord(
        ImportOf(contacts, {{"First Name", "Cy"}, {"Last Name", "Dee"}, {"Birthday", annText}})));
    EXPECT_EQ(contacts.GetItemAt(2)->Ex()->m_dBirthday, kPmDateOffset + kAnnBirthday);
    EXPECT_EQ(TextOf(contacts, 2, "Birthday"), annText);
    ASSERT_TRUE(contacts.AddImportRecord(
        ImportOf(contacts, {{"First Name", "Di"}, {"Last Name", "Eve"}, {"Birthday", ""}})));
    EXPECT_EQ(contacts.GetItemAt(3)->Ex()->m_dBirthday, 0.0);
    EXPECT_EQ(TextOf(contacts, 3, "Birthday"), "");

    // 6.x keeps integers: the common value is truncated toward zero; a value the column
    // cannot hold leaves it alone.
    PmAddrInfo ex2(kPalm6);
    ASSERT_TRUE(ex2.LoadByFile(WriteEx2(dir)));
    CommAddrRec contact = ImportOf(ex2, {{"First Name", "Cy"}, {"Last Name", "Dee"}});
    contact.m_dBirthday = 36892.9;
    contact.m_dAnniversary = -5.5;
    ASSERT_TRUE(ex2.AddImportRecord(contact));
    EXPECT_EQ(ex2.GetItemAt(2)->Ex2()->m_nBirthday, kPmDateOffset + 36892);
    EXPECT_EQ(ex2.GetItemAt(2)->Ex2()->m_nAnniversary, kPmDateOffset - 5);
    contact = ImportOf(ex2, {{"First Name", "Di"}, {"Last Name", "Eve"}});
    contact.m_dBirthday = 1e12;
    contact.m_dAnniversary = 0.4;
    ASSERT_TRUE(ex2.AddImportRecord(contact));
    EXPECT_EQ(ex2.GetItemAt(3)->Ex2()->m_nBirthday, 0);
    EXPECT_EQ(ex2.GetItemAt(3)->Ex2()->m_nAnniversary, 0);
}

}  // namespace tabrel
