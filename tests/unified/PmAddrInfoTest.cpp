// The Contacts facade: telling a file's generation, loading, the log lines, imports (equal,
// matching, new) with their phone slots and categories, merging, saving and loading again.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "InfoTestSupport.h"
#include "palm/unified/PmAddrInfo.h"
#include "support/EnvGuards.h"
#include "support/LogCapture.h"
#include "support/PmAddrInfoTestFiles.h"

namespace tabrel {

using namespace test;
using namespace test::addrinfo;

namespace {

// The phone slots of an item's record: texts and labels.
struct Slots {
    std::vector<std::string> texts;
    std::vector<std::int64_t> labels;
    bool operator==(const Slots&) const = default;
};

Slots SlotsOf(const PmAddrInfo::Item& item) {
    Slots slots;
    if (const auto* classic = item.Classic()) {
        slots.texts.assign(classic->m_szPhones.begin(), classic->m_szPhones.end());
        slots.labels.assign(classic->m_dwPhoneLabels.begin(), classic->m_dwPhoneLabels.end());
    } else if (const auto* ex = item.Ex()) {
        slots.texts.assign(ex->m_szPhones.begin(), ex->m_szPhones.end());
        slots.labels.assign(ex->m_dwPhoneLabels.begin(), ex->m_dwPhoneLabels.end());
    } else if (const auto* ex2 = item.Ex2()) {
        for (std::size_t i = 0; i < PmAddrEx2Record::kPhoneCount; ++i) {
            slots.texts.push_back(ex2->*kAddrEx2PhoneTexts.at(i));
            slots.labels.push_back(ex2->*kAddrEx2PhoneLabels.at(i));
        }
    }
    return slots;
}

// The status word, private flag, category and birthday of an item's record.
struct Header {
    std::uint32_t status = 0;
    std::uint32_t isPrivate = 0;
    std::int64_t category = 0;
    std::string categoryName;
    double birthday = 0;
};

Header HeaderOf(const PmAddrInfo::Item& item) {
    if (const auto* classic = item.Classic()) {
        return {classic->m_dwStatus, classic->m_bPrivate, classic->m_dwCategoryId,
                classic->m_szCategory, 0};
    }
    if (const auto* ex = item.Ex()) {
        return {ex->m_dwStatus, ex->m_dwPrivate, ex->m_dwCategoryId, ex->m_szCategory,
                ex->m_dBirthday};
    }
    const auto* ex2 = item.Ex2();
    return {static_cast<std::uint32_t>(ex2->m_nStatus), ex2->m_byPrivate, ex2->m_nCategoryId,
            ex2->m_szCategoryName, static_cast<double>(ex2->m_nBirthday)};
}

}  // namespace

TEST(PmAddrInfo, TellsTheGenerationOfAFile) {
    ScopedLogFolder logFolder;
    TempDir dir;
    PmAddrInfo contacts(kPalm6);
    LogCapture log;
    // An empty path answers "none" at once, without a log line.
    EXPECT_EQ(contacts.CheckFileVersion(""), PM_DATA_NONE);
    EXPECT_EQ(log.Tagged(), std::vector<std::string>{});
    const std::string classic = WriteClassic(dir, "a.DAT");
    EXPECT_EQ(contacts.CheckFileVersion(classic), PM_DATA_CLASSIC);
    EXPECT_EQ(contacts.CheckFileVersion(WriteEx(dir, "b.dat")), PM_DATA_EX);
    EXPECT_EQ(contacts.CheckFileVersion(WriteEx2(dir, "c.Mdb")), PM_DATA_EX2);
    std::filesystem::copy_file(classic, dir.File("a.txt"));
    EXPECT_EQ(contacts.CheckFileVersion(dir.File("a.txt")), PM_DATA_INVALID);
    EXPECT_EQ(contacts.GetLoadedVersion(), PM_DATA_NONE);
    EXPECT_TRUE(log.HasInOrder(
        {"P Check Palm Desktop Contacts file version, file: " + classic,
         "P Check Palm Desktop Contacts file type: (" + classic + ") - Palm Desktop 4.1 or earlier",
         "P Check Palm Desktop Contacts file type: (" + dir.File("b.dat") +
             ") - Palm Desktop 4.1.x",
         "P Check Palm Desktop Contacts file type: (" + dir.File("c.Mdb") + ") - Palm Desktop 6.x",
         "E Failed to check Palm Desktop Contacts file type: (" + dir.File("a.txt") + ")"}));
}

TEST(PmAddrInfo, LoadsAndRefusesWithItsOwnLogLines) {
    ScopedLogFolder logFolder;
    TempDir dir;
    const std::string path = WriteEx(dir);
    PmAddrInfo contacts(kPalm6);
    LogCapture log;
    EXPECT_FALSE(contacts.Save());  // nothing loaded: no log line
    EXPECT_EQ(log.Tagged(), std::vector<std::string>{});
    ASSERT_TRUE(contacts.LoadByFile(path));
    EXPECT_TRUE(log.HasInOrder({"P Load Palm Desktop Contacts by file: " + path,
                                "P .dat file, try Palm Desktop 4.1.4 database loader."}));
    EXPECT_EQ(contacts.GetLoadedVersion(), PM_DATA_EX);
    EXPECT_EQ(contacts.GetItemCount(), 2u);  // the deleted contact is left out

    // An empty path is refused before anything: what was loaded stays.
    log.Clear();
    EXPECT_FALSE(contacts.LoadByFile(""));
    EXPECT_EQ(contacts.GetLoadedVersion(), PM_DATA_EX);
    EXPECT_EQ(contacts.GetItemCount(), 2u);
    EXPECT_EQ(log.Tagged(), std::vector<std::string>{});

    EXPECT_FALSE(contacts.LoadByFile(dir.File("none.mdb")));
    EXPECT_EQ(contacts.GetLoadedVersion(), PM_DATA_INVALID);
    EXPECT_EQ(contacts.GetItemCount(), 0u);
    EXPECT_TRUE(
        log.HasTagged("E Failed to load Palm Desktop Contacts data file: " + dir.File("none.mdb")));

    // Below 3.5.0 Contacts cannot load by user; the line has no full stop.
    log.Clear();
    PmAddrInfo old(30499);
    EXPECT_EQ(old.GetInstalledVersion(), PM_DATA_NONE);
    EXPECT_FALSE(old.LoadByUser(4));
    EXPECT_EQ(old.GetLoadedVersion(), PM_DATA_INVALID);
    EXPECT_EQ(log.Tagged(), (std::vector<std::string>{"P Palm Desktop Version: 30499",
                                                      "P Load Palm Desktop Contacts by user: 4",
                                                      "E Unknown Palm Desktop version"}));
    log.Clear();
    PmAddrInfo classic(30500);
    EXPECT_EQ(classic.GetInstalledVersion(), PM_DATA_CLASSIC);
    EXPECT_FALSE(classic.LoadByUser(4));
    EXPECT_TRUE(log.HasInOrder({"P Load Palm Desktop Contacts by user: 4",
                                "E Could not open Palm Desktop Contacts database by User: 4"}));
}

// Load, import one equal, one matching and one new contact, save, load again.
TEST(PmAddrInfo, ImportsAndSavesInEveryGeneration) {
    ScopedLogFolder logFolder;
    const std::vector<std::string> columns = {"First Name", "Last Name",  "Company",
                                              "E-Mail",     "Work Phone", "Mobile Phone"};
    for (const Generation* generation : Generations()) {
        SCOPED_TRACE(generation->version);
        TempDir dir;
        const std::string path = generation->write(dir, generation->fileName);
        {
            PmAddrInfo contacts(kPalm6);
            ASSERT_TRUE(contacts.LoadByFile(path));
            const CommFieldSet carried = CarriedBy(contacts, columns);
            EXPECT_FALSE(
                contacts.AddImportRecord(ImportOf(contacts, {{"First Name", "Bob"},
                                                             {"Last Name", "Ray"},
                                                             {"Company", "Ray Co"},
                                                             {"Mobile Phone", "555-0202"}}),
                                         carried));
            EXPECT_TRUE(contacts.AddImportRecord(ImportOf(contacts, {{"First Name", "Ann"},
                                                                     {"Last Name", "Lee"},
                                                                     {"E-Mail", "ann@acme.example"},
                                                                     {"Work Phone", "555-0199"}}),
                                                 carried));
            EXPECT_TRUE(contacts.AddImportRecord(ImportOf(contacts, {{"First Name", "Cy"},
                                                                     {"Last Name", "Dee"},
                                                                     {"Company", "Dee Inc"},
                                                                     {"Mobile Phone", "555-0303"}}),
                                                 carried));
            EXPECT_EQ(contacts.GetItemCount(), 3u);
            EXPECT_EQ(contacts.GetCommMgr().GetCount(), 3u);
            EXPECT_EQ(contacts.GetCommMgr().GetAt(0)->m_szWorkPhone, "555-0199");
            EXPECT_EQ(contacts.GetCommMgr().GetAt(0)->m_szCompany, "Acme");
            ASSERT_TRUE(contacts.Save());
        }
        PmAddrInfo again(kPalm6);
        ASSERT_TRUE(again.LoadByFile(path));
        EXPECT_EQ(ColumnOf(again, "First Name"), (std::vector<std::string>{"Ann", "Bob", "Cy"}));
        EXPECT_EQ(ColumnOf(again, "Company"),
                  (std::vector<std::string>{"Acme", "Ray Co", "Dee Inc"}));
        EXPECT_EQ(ColumnOf(again, "Work Phone"), (std::vector<std::string>{"555-0199", "", ""}));
        EXPECT_EQ(ColumnOf(again, "Mobile Phone"),
                  (std::vector<std::string>{"555-0103", "555-0202", "555-0303"}));
        // The matched contact keeps everything the CSV did not bring.
        for (const auto& [name, text] : generation->annTexts) {
            if (name != "Work Phone") {
                EXPECT_EQ(TextOf(again, 0, name), text) << name;
            }
        }
        const Header ann = HeaderOf(*again.GetItemAt(0));
        EXPECT_EQ(ann.status & 0x02, 0x02u);
        EXPECT_EQ(ann.isPrivate, 1u);
        EXPECT_EQ(HeaderOf(*again.GetItemAt(1)).status & 0x03, 0u);
        const PmAddrInfo::Item& cy = *again.GetItemAt(2);
        EXPECT_EQ(HeaderOf(cy).status & 0x01, 0x01u);
        EXPECT_EQ(HeaderOf(cy).category, 0);
        if (const auto* classic = cy.Classic()) {
            EXPECT_EQ(classic->m_dwPlacement, 0x7FFFFFFFu);
        } else if (const auto* ex = cy.Ex()) {
            EXPECT_EQ(ex->m_dwRecordNumber, 4096u + 3u);
            EXPECT_EQ(ex->m_dwField3, 3u * 73u);
            EXPECT_EQ(ex->m_dwPlacement, 0x7FFFFFFFu);
            EXPECT_EQ(ex->m_addresses[0].m_dwLabel, 0u);
            EXPECT_EQ(ex->m_addresses[1].m_dwLabel, 1u);
            EXPECT_EQ(ex->m_addresses[2].m_dwLabel, 2u);
        } else {
            EXPECT_EQ(cy.Ex2()->m_nPlacement, 0x7FFFFFFF);
        }
    }
}

// A matched contact takes only what the CSV carried: an empty text never erases, and the
// private flag and the birthday stay unless carried.
TEST(PmAddrInfo, MergingKeepsWhatTheCsvDidNotCarry) {
    ScopedLogFolder logFolder;
    for (const Generation* generation : Generations()) {
        SCOPED_TRACE(generation->version);
        TempDir dir;
        PmAddrInfo contacts(kPalm6);
        ASSERT_TRUE(contacts.LoadByFile(generation->write(dir, generation->fileName)));
        const Header before = HeaderOf(*contacts.GetItemAt(0));
        const CommAddrRec ann = ImportOf(contacts, {{"First Name", "Ann"},
                                                    {"Last Name", "Lee"},
                                                    {"E-Mail", "ann@acme.example"},
                                                    {"Company", ""},
                                                    {"Home Phone", ""},
                                                    {"Note", "Moved"}});
        ASSERT_TRUE(contacts.AddImportRecord(
            ann, CarriedBy(contacts, {"First Name", "Last Name", "E-Mail", "Company", "Note"})));
        const Header after = HeaderOf(*contacts.GetItemAt(0));
        EXPECT_EQ(after.isPrivate, 1u);
        EXPECT_EQ(after.birthday, before.birthday);
        EXPECT_EQ(after.category, 1);
        EXPECT_EQ(after.categoryName, "Work");
        EXPECT_EQ(TextOf(contacts, 0, "Company"), "Acme");
        EXPECT_EQ(TextOf(contacts, 0, "Home Phone"), "555-0102");
        EXPECT_EQ(TextOf(contacts, 0, "Note"), "Moved");
        EXPECT_EQ(contacts.GetCommMgr().GetAt(0)->m_szNote, "Moved");
        EXPECT_EQ(contacts.GetCommMgr().GetAt(0)->m_szCompany, "Acme");
        if (generation->version == PM_DATA_EX2) {
            EXPECT_EQ(contacts.GetItemAt(0)->Ex2()->m_nAnniversary,
                      kPmDateOffset + kAnnAnniversary);
        }
        // Without a list of carried fields everything is taken: the flag goes (6.x keeps
        // it: its private flag does not cross from common records).
        ASSERT_TRUE(contacts.AddImportRecord(ImportOf(contacts, {{"First Name", "Ann"},
                                                                 {"Last Name", "Lee"},
                                                                 {"E-Mail", "ann@acme.example"},
                                                                 {"Note", "Moved again"}})));
        EXPECT_EQ(HeaderOf(*contacts.GetItemAt(0)).isPrivate,
                  generation->version == PM_DATA_EX2 ? 1u : 0u);
    }
    // A carried 4.1.x Birthday column sets the birthday.
    TempDir dir;
    PmAddrInfo ex(kPalm6);
    ASSERT_TRUE(ex.LoadByFile(WriteEx(dir)));
    ASSERT_TRUE(ex.AddImportRecord(ImportOf(ex, {{"First Name", "Ann"},
                                                 {"Last Name", "Lee"},
                                                 {"E-Mail", "ann@acme.example"},
                                                 {"Birthday", "40000"}}),
                                   CarriedBy(ex, {"First Name", "Birthday"})));
    EXPECT_EQ(ex.GetItemAt(0)->Ex()->m_dBirthday, kPmDateOffset + 40000.0);
    EXPECT_EQ(ex.GetCommMgr().GetAt(0)->m_dBirthday, 40000.0);
}

TEST(PmAddrInfo, NewContactsFillTheirPhoneSlotsLabelByLabel) {
    ScopedLogFolder logFolder;
    for (const Generation* generation : Generations()) {
        SCOPED_TRACE(generation->version);
        TempDir dir;
        PmAddrInfo contacts(kPalm6);
        ASSERT_TRUE(contacts.LoadByFile(generation->write(dir, generation->fileName)));
        // A home fax without a work fax goes into the slot labelled fax.
        CommAddrRec contact = ImportOf(contacts, {{"First Name", "Cy"},
                                                  {"Last Name", "Dee"},
                                                  {"Work Phone", "555-0301"},
                                                  {"E-Mail", "cy@dee.example"}});
        contact.m_szHomeFax = "555-0309";
        ASSERT_TRUE(contacts.AddImportRecord(contact));
        const PmAddrInfo::Item& cy = *contacts.GetItemAt(2);
        Slots expected{{"555-0301", "555-0309", "cy@dee.example", "", ""}, {0, 2, 4, 7, 0}};
        if (generation->version != PM_DATA_CLASSIC) {
            expected.texts.resize(7);
            expected.labels.resize(7);
        }
        EXPECT_EQ(SlotsOf(cy), expected);
        EXPECT_EQ(TextOf(contacts, 2, "Fax"), "555-0309");
    }
}

TEST(PmAddrInfo, AMatchedContactKeepsSlotsTheImportHasNoRoomFor) {
    ScopedLogFolder logFolder;
    TempDir dir;
    const std::string path = dir.File("Address.mdb");
    Db6xWriter db(path, kAddrColumns);
    db.InsertZeroRow(kAddrColumns, {{"Record ID", "21"},
                                    {"First Name", "'Full'"},
                                    {"Last Name", "'Slots'"},
                                    {"Work Phone", "'w1'"},
                                    {"Work Fax", "'w2'"},
                                    {"Work Mobile", "'w3'"},
                                    {"Home Phone", "'h1'"},
                                    {"Home Fax", "'h2'"},
                                    {"Home Mobile", "'h3'"},
                                    {"Other Phone", "'full@slots.example'"},
                                    {"Phone Label4", "1"},
                                    {"Phone Label5", "1"},
                                    {"Phone Label6", "1"},
                                    {"Phone Label7", "4"}});
    PmAddrInfo contacts(kPalm6);
    ASSERT_TRUE(contacts.LoadByFile(path));
    const Slots before = SlotsOf(*contacts.GetItemAt(0));
    // A mobile number has no slot left; the work phone goes into the first work slot.
    ASSERT_TRUE(contacts.AddImportRecord(ImportOf(contacts, {{"First Name", "Full"},
                                                             {"Last Name", "Slots"},
                                                             {"E-Mail", "full@slots.example"},
                                                             {"Mobile Phone", "555-7777"},
                                                             {"Work Phone", "w0"}})));
    Slots expected = before;
    expected.texts[0] = "w0";
    EXPECT_EQ(SlotsOf(*contacts.GetItemAt(0)), expected);
    EXPECT_EQ(TextOf(contacts, 0, "Mobile Phone"), "");
}

TEST(PmAddrInfo, ImportedCategoryIsFoundOrCreated) {
    ScopedLogFolder logFolder;
    for (const Generation* generation : Generations()) {
        SCOPED_TRACE(generation->version);
        TempDir dir;
        PmAddrInfo contacts(kPalm6);
        ASSERT_TRUE(contacts.LoadByFile(generation->write(dir, generation->fileName)));
        CommAddrRec contact = ImportOf(contacts, {{"First Name", "Cy"}, {"Last Name", "Dee"}});
        contact.m_szCategory = "Work,Home";
        ASSERT_TRUE(contacts.AddImportRecord(contact));
        contact = ImportOf(contacts, {{"First Name", "Di"}, {"Last Name", "Eve"}});
        contact.m_szCategory = "Travel";
        ASSERT_TRUE(contacts.AddImportRecord(contact));
        EXPECT_EQ(HeaderOf(*contacts.GetItemAt(2)).category, 1);
        EXPECT_EQ(TextOf(contacts, 2, "Category"), "Work");
        const Header travel = HeaderOf(*contacts.GetItemAt(3));
        EXPECT_GT(travel.category, 1);
        EXPECT_EQ(travel.categoryName, "Travel");
        EXPECT_EQ(TextOf(contacts, 3, "Category"), "Travel");
    }
}

}  // namespace tabrel
