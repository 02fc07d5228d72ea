// The contact record and the custom labels of a classic address.dat.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "palm/classic/PmAddrUtil.h"
#include "palm/classic/PmDateUtil.h"
#include "palm/desktop/PalmUsers.h"
#include "palm/palmsg/PmAddrExUtil.h"
#include "support/ClassicWriter.h"
#include "support/EnvGuards.h"
#include "support/LogCapture.h"
#include "support/PalmSgWriter.h"
#include "support/PalmTestSupport.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

struct Loaded {
    explicit Loaded(const Bytes& bytes) {
        WriteFile(path, bytes);
        loaded = contacts.LoadFile(path);
    }
    TempDir dir;
    std::string path = dir.File("address.dat");
    PmAddrUtil contacts;
    bool loaded = false;
};

// The capacity of the text field at index, terminator included.
std::size_t Capacity(std::size_t index) {
    if (index == 6 || index == 17) {
        return 256;
    }
    if (index == 22) {
        return 2048;
    }
    return index >= 25 && index <= 28 ? 64 : 32;
}

// Distinct values for every field: 0x7000 + index (the category given), and texts of 3000
// characters, each field its own letter, so that a field landing in the wrong place or cut
// to the wrong width shows.
PalmSgValues DistinctValues(std::uint32_t category) {
    PalmSgValues values;
    values.value = [category](std::size_t i) {
        return i == 24 ? category : static_cast<std::uint32_t>(0x7000 + i);
    };
    values.text = [](std::size_t i) { return std::string(3000, static_cast<char>('!' + i)); };
    return values;
}

// The texts of DistinctValues as the record keeps them.
PalmSgValues KeptValues(std::uint32_t category) {
    PalmSgValues values = DistinctValues(category);
    values.text = [](std::size_t i) {
        return std::string(Capacity(i) - 1, static_cast<char>('!' + i));
    };
    return values;
}

// The contact DistinctValues describes, member by member; every text is longer than its
// field, so the record also keeps it whole.
PmAddrRecord DistinctContact(std::uint32_t category) {
    const PalmSgValues v = KeptValues(category);
    PmAddrRecord r;
    for (std::size_t i = 3; i <= 28; ++i) {
        if (ClassicAddressCodes()[i] == 5) {
            r.m_wholeTexts[i] = DistinctValues(category).text(i);
        }
    }
    r.m_szLastName = v.text(3);
    r.m_szFirstName = v.text(4);
    r.m_szTitle = v.text(5);
    r.m_szCompany = v.text(6);
    for (std::size_t k = 0; k < 5; ++k) {
        r.m_dwPhoneLabels[k] = v.value(7 + 2 * k);
        r.m_szPhones[k] = v.text(8 + 2 * k);
    }
    r.m_szAddress = v.text(17);
    r.m_szCity = v.text(18);
    r.m_szState = v.text(19);
    r.m_szZip = v.text(20);
    r.m_szCountry = v.text(21);
    r.m_szNote = v.text(22);
    r.m_bPrivate = v.value(23);
    r.m_dwCategoryId = category;
    for (std::size_t k = 0; k < 4; ++k) {
        r.m_szCustoms[k] = v.text(25 + k);
    }
    r.m_dwField29 = v.value(29);
    return r;
}

// Small values for a plain contact: its home phone in slot 5.
PalmSgValues PlainValues(std::uint32_t category) {
    PalmSgValues values;
    values.value = [category](std::size_t i) -> std::uint32_t {
        switch (i) {
            case 15:
                return PhoneHome;
            case 23:
                return 1;
            case 24:
                return category;
            default:
                return i <= 15 ? std::uint32_t{PhoneWork} : 0u;
        }
    };
    values.text = [](std::size_t i) {
        switch (i) {
            case 3:
                return std::string("Smith");
            case 4:
                return std::string("Jane");
            case 16:
                return std::string("555-0100");
            case 22:
                return std::string("Met at the fair.");
            default:
                return std::string();
        }
    };
    return values;
}

// Palm Desktop's codes, with some 4-byte fields under the other value codes.
std::vector<std::uint16_t> OddCodes() {
    std::vector<std::uint16_t> codes = ClassicAddressCodes();
    codes[7] = 3;
    codes[23] = 1;
    codes[29] = 6;
    return codes;
}

const std::string kFiveLabels = "Home Email\nBirthday\n\nKids\nAnniversary\n";

// An address.dat with five custom labels, the categories Business (ID 7) and Family (ID 2)
// and three contacts: every field distinct, a plain one under unusual codes in a category
// that does not exist, and one whose status marks it deleted and archived.
ClassicFile SampleFile() {
    ClassicFile file = ClassicAddressFile();
    file.labelText = kFiveLabels;
    file.nextFeedId = 131;
    file.categories = {{1, 7, 0, "Business", "Business"}, {4, 2, 0, "Family", "Family"}};
    file.records = {
        ClassicAddressRecord({.id = 0x00A1B2C3, .status = 0, .placement = 1}, DistinctValues(7)),
        ClassicAddressRecord({.id = 12, .status = 0x02, .placement = 2}, PlainValues(99),
                             OddCodes()),
        ClassicAddressRecord({.id = 13, .status = 0x84, .placement = 3}, PlainValues(2)),
    };
    return file;
}

}  // namespace

TEST(PmAddrUtil, LoadsEveryFieldOfEveryRecord) {
    ScopedLogFolder log;
    Loaded file(SampleFile().Build());
    ASSERT_TRUE(file.loaded);
    PmAddrDataMgr& records = file.contacts.GetDataMgr();
    // Contacts have no loading filter: the deleted one is there too.
    ASSERT_EQ(records.GetRecordCount(), 3u);
    EXPECT_EQ(file.contacts.GetHiddenRecordCount(), 0u);

    PmAddrRecord first = DistinctContact(7);
    first.m_dwRecordId = 0x00A1B2C3;
    first.m_dwPlacement = 1;
    first.m_szCategory = "Business";
    EXPECT_EQ(*records.GetRecordAt(0), first);

    PmAddrRecord second;
    second.m_dwRecordId = 12;
    second.m_dwStatus = 0x02;
    second.m_dwPlacement = 2;
    second.m_szLastName = "Smith";
    second.m_szFirstName = "Jane";
    second.m_dwPhoneLabels = {PhoneWork, PhoneWork, PhoneWork, PhoneWork, PhoneHome};
    second.m_szPhones[4] = "555-0100";
    second.m_szNote = "Met at the fair.";
    second.m_bPrivate = 1;
    second.m_dwCategoryId = 99;  // no such category: no name
    EXPECT_EQ(*records.GetRecordAt(1), second);

    PmAddrRecord third = second;
    third.m_dwRecordId = 13;
    third.m_dwStatus = 0x84;
    third.m_dwPlacement = 3;
    third.m_dwCategoryId = 2;
    third.m_szCategory = "Family";
    EXPECT_EQ(*records.GetRecordAt(2), third);

    // The categories, the schema and the names.
    const PmCategoryMgr& categories = *file.contacts.GetCatMgr();
    EXPECT_EQ(categories.GetCount(), 3);
    EXPECT_EQ(categories.GetAt(0)->GetName(), "Unfiled");
    EXPECT_EQ(categories.GetAt(4)->GetId(), 2);
    EXPECT_EQ(categories.GetNextFeedId(), 131);
    EXPECT_EQ(file.contacts.GetSchema().m_fieldCodes, ClassicAddressCodes());
    EXPECT_EQ(file.contacts.GetSchema().m_dwResourceId, 74u);
    EXPECT_EQ(file.contacts.GetDatabaseName(), ClassicAddressFile().databaseName);
    // Contacts keep the path they were loaded from as their file name.
    EXPECT_EQ(file.contacts.GetFileName(), file.path);
}

// The labels come from the label text, through its 4th line feed and its first 511 bytes
// at most; the category block after the text is read all the same.
TEST(PmAddrUtil, CustomLabelsAreFourAtMost) {
    struct Case {
        std::string text;
        PmAddrUtil::CustomLabels labels;
        std::string kept;
        bool capped;  // the "max custom label is 4" line is logged
    };
    const std::string longLabel(600, 'L');
    const std::vector<Case> cases{
        {kFiveLabels, {"Home Email", "Birthday", "", "Kids"}, kFiveLabels.substr(0, 26), true},
        {"A\nB\nC\nD\n", {"A", "B", "C", "D"}, "A\nB\nC\nD\n", true},
        {"Spouse\nKids\nPets", {"Spouse", "Kids", "Pets", ""}, "Spouse\nKids\nPets", false},
        {"", {"", "", "", ""}, "", false},
        {"One\n" + longLabel + "\nThree\n",
         {"One", longLabel.substr(0, 507), "", ""},
         "One\n" + longLabel.substr(0, 507),
         false},
    };
    for (const Case& c : cases) {
        LogCapture log;
        ClassicFile source = SampleFile();
        source.labelText = c.text;
        Loaded file(source.Build());
        ASSERT_TRUE(file.loaded) << c.text;
        EXPECT_EQ(file.contacts.GetCustomLabels(), c.labels) << c.text;
        EXPECT_EQ(file.contacts.GetCustomLabelText(), c.kept) << c.text;
        EXPECT_EQ(file.contacts.GetCatMgr()->GetCount(), 3) << c.text;
        EXPECT_EQ(log.HasTagged("P For Palm Desktop ealier than v4.1.2, the max custom label is 4. "
                                "Break now."),
                  c.capped)
            << c.text;
        // The whole text goes back, labels beyond the fourth included.
        EXPECT_EQ(file.contacts.GetLabelText(), c.text);
        ASSERT_TRUE(file.contacts.Save());
        EXPECT_EQ(ReadFile(file.path), source.Build()) << c.text;
    }
}

TEST(PmAddrUtil, DamagedLabelTextFailsTheLoad) {
    const Bytes whole = SampleFile().Build();
    // The label text's length begins after the version and the database name.
    const std::size_t at = 4 + CountedString(ClassicAddressFile().databaseName).size();
    const auto loadFails = [&](const Bytes& bytes, const std::string& message) {
        LogCapture log;
        Loaded file(bytes);
        EXPECT_FALSE(file.loaded) << message;
        EXPECT_TRUE(log.HasInOrder({"E " + message, "E Failed to load custom labels information.",
                                    "E Can not load Palm Desktop Contacts: " + file.path}))
            << message;
    };
    loadFails(Bytes(whole.begin(), whole.begin() + at),
              "Failed to read the length of custom labels.");
    Bytes longForm(whole.begin(), whole.begin() + at);
    longForm.insert(longForm.end(), {0xFF, 0x10});
    loadFails(longForm, "Incorrect custom label length reading.");
    loadFails(Bytes(whole.begin(), whole.begin() + at + 5), "Custom label content reading error.");

    // A length far beyond the end of the file.
    Bytes hostile(whole.begin(), whole.begin() + at);
    hostile.insert(hostile.end(), {0xFF, 0xFF, 0xFF, 'A', '\n'});
    loadFails(hostile, "Custom label content reading error.");
}

// Nothing read is lost: an unchanged file comes back byte for byte (unusual codes, long
// texts, the fifth label, the deleted contact and the bytes after the last record
// included), into the file it was loaded from, with the database name it recorded.
TEST(PmAddrUtil, LoadAndSaveGiveBackIdenticalBytes) {
    ScopedLogFolder log;
    ClassicFile source = SampleFile();
    source.trailing = {0xDE, 0xAD, 0xBE};
    source.totalFields = 3 * 30 + 2;  // not a whole record's worth more
    Loaded file(source.Build());
    ASSERT_TRUE(file.loaded);
    ASSERT_TRUE(file.contacts.Save());
    source.totalFields.reset();
    EXPECT_EQ(ReadFile(file.path), source.Build());
}

// A changed record is written from its fields with this system's codes and its texts as
// the record holds them (unchanged texts longer than their fields whole); the records
// beside it are written as they were read.
TEST(PmAddrUtil, ChangedRecordIsWrittenFromItsFields) {
    ScopedLogFolder log;
    ClassicFile source = SampleFile();
    Loaded file(source.Build());
    ASSERT_TRUE(file.loaded);
    PmAddrRecord first = *file.contacts.GetDataMgr().GetRecordAt(0);
    ASSERT_TRUE(file.contacts.ChangeRecord(0, first));
    PmAddrRecord second = *file.contacts.GetDataMgr().GetRecordAt(1);
    second.m_szCustoms[3] = "Blue";
    second.m_szPhones[0] = "jane@example.com";
    second.m_dwPhoneLabels[0] = PhoneEmail;
    ASSERT_TRUE(file.contacts.ChangeRecord(1, second));
    EXPECT_EQ(file.contacts.GetDataMgr().GetRecordAt(1)->m_dwStatus, 0x02u);
    ASSERT_TRUE(file.contacts.Save());

    // Texts longer than their fields go out whole while unchanged.
    source.records[0] = ClassicAddressRecord({0x00A1B2C3, 0x02, 1}, DistinctValues(7));
    PalmSgValues values = PlainValues(99);
    values.value = [base = values.value](std::size_t i) { return i == 7 ? PhoneEmail : base(i); };
    values.text = [base = values.text](std::size_t i) {
        return i == 28 ? "Blue" : i == 8 ? "jane@example.com" : base(i);
    };
    source.records[1] = ClassicAddressRecord({12, 0x02, 2}, values);
    EXPECT_EQ(ReadFile(file.path), source.Build());

    PmAddrUtil reloaded(file.path);
    ASSERT_TRUE(reloaded.IsLoaded());
    EXPECT_EQ(*reloaded.GetDataMgr().GetRecordAt(1), second);
}

// A note longer than its field keeps survives a change of another field; a note that was
// changed goes out as it now is.
TEST(PmAddrUtil, LongNoteSurvivesAChangeOfAnotherField) {
    ScopedLogFolder log;
    ClassicFile source = ClassicAddressFile();
    const std::string note = std::string(2047, 'n') + std::string(953, 'N');
    PalmSgValues values = PlainValues(0);
    values.text = [&, base = values.text](std::size_t i) { return i == 22 ? note : base(i); };
    source.records = {ClassicAddressRecord({.id = 5, .status = 0, .placement = 1}, values)};
    Loaded file(source.Build());
    ASSERT_TRUE(file.loaded);
    PmAddrRecord changed = *file.contacts.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(changed.m_szNote, std::string(2047, 'n'));
    changed.m_szPhones[4] = "555-0199";
    ASSERT_TRUE(file.contacts.ChangeRecord(0, changed));
    ASSERT_TRUE(file.contacts.Save());

    values.text = [&, base = values.text](std::size_t i) {
        return i == 16 ? std::string("555-0199") : base(i);
    };
    source.records = {ClassicAddressRecord({.id = 5, .status = 2, .placement = 1}, values)};
    EXPECT_EQ(ReadFile(file.path), source.Build());

    Loaded again(source.Build());
    ASSERT_TRUE(again.loaded);
    PmAddrRecord edited = *again.contacts.GetDataMgr().GetRecordAt(0);
    edited.m_szNote.resize(100);
    ASSERT_TRUE(again.contacts.ChangeRecord(0, edited));
    ASSERT_TRUE(again.contacts.Save());
    values.text = [&, base = values.text](std::size_t i) {
        return i == 22 ? std::string(100, 'n') : base(i);
    };
    source.records = {ClassicAddressRecord({.id = 5, .status = 2, .placement = 1}, values)};
    EXPECT_EQ(ReadFile(again.path), source.Build());
}

// A new contact is stamped as added and written from its fields after the loaded ones; the
// category made for it is saved with the others.
TEST(PmAddrUtil, NewRecordsAreStampedAndTheirCategoriesSaved) {
    ScopedLogFolder log;
    ClassicFile source = SampleFile();
    Loaded file(source.Build());
    ASSERT_TRUE(file.loaded);
    std::int32_t id = -1;
    ASSERT_TRUE(file.contacts.GetCategoryId("Golf Club", id, true));
    EXPECT_EQ(id, 8);
    PmAddrRecord added;
    added.m_dwRecordId = 55;  // a new record has none
    added.m_dwStatus = 0x02;
    added.m_szFirstName = "Ann";
    added.m_szCompany = "Norvane";
    added.m_dwPhoneLabels = {PhoneWork, PhoneHome, PhoneFax, PhoneOther, PhoneEmail};
    added.m_szPhones[4] = "ann@example.com";
    added.m_dwCategoryId = static_cast<std::uint32_t>(id);
    added.m_szCustoms[0] = "custom";
    ASSERT_TRUE(file.contacts.AddNewRecord(added));
    const PmAddrRecord& stamped = *file.contacts.GetDataMgr().GetRecordAt(3);
    EXPECT_EQ(stamped.m_dwRecordId, 0u);
    EXPECT_EQ(stamped.m_dwStatus, 0x01u);
    EXPECT_EQ(stamped.m_dwPlacement, 0x7FFFFFFFu);
    ASSERT_TRUE(file.contacts.Save());

    // The new category takes the first free slot and one more than the largest ID.
    source.categories = {{1, 7, 0, "Business", "Business"},
                         {2, 8, 0, "Golf Club", "Golf Club"},
                         {4, 2, 0, "Family", "Family"}};
    PalmSgValues values;
    values.value = [](std::size_t i) -> std::uint32_t {
        return i == 24 ? 8 : i >= 7 && i <= 15 && i % 2 == 1 ? (i - 7) / 2 : 0;
    };
    values.text = [](std::size_t i) {
        return i == 4    ? std::string("Ann")
               : i == 6  ? std::string("Norvane")
               : i == 16 ? std::string("ann@example.com")
               : i == 25 ? std::string("custom")
                         : std::string();
    };
    source.records.push_back(ClassicAddressRecord({0, 0x01, 0x7FFFFFFF}, values));
    EXPECT_EQ(ReadFile(file.path), source.Build());
}

// Fields per row decides how many fields a record has: fewer are read and written as they
// are; beyond the 30 a contact has, each extra field reads nothing and is logged.
TEST(PmAddrUtil, SchemaDecidesHowManyFieldsARecordHas) {
    {
        LogCapture log;
        ClassicFile source = SampleFile();
        std::vector<std::uint16_t> codes = ClassicAddressCodes();
        codes.resize(20);
        source.fieldCodes = codes;
        source.fieldsPerRow = 20;
        source.records = {ClassicAddressRecord({1, 0, 1}, PlainValues(7), codes)};
        Loaded file(source.Build());
        ASSERT_TRUE(file.loaded);
        PmAddrRecord record = *file.contacts.GetDataMgr().GetRecordAt(0);
        EXPECT_EQ(record.m_szPhones[4], "555-0100");
        EXPECT_EQ(record.m_szNote, "");
        EXPECT_EQ(record.m_dwCategoryId, 0u);
        record.m_szLastName = "Smythe";
        ASSERT_TRUE(file.contacts.ChangeRecord(0, record) && file.contacts.Save());
        PalmSgValues values = PlainValues(7);
        values.text = [base = values.text](std::size_t i) { return i == 3 ? "Smythe" : base(i); };
        source.records = {ClassicAddressRecord({1, 0x02, 1}, values, codes)};
        EXPECT_EQ(ReadFile(file.path), source.Build());
        EXPECT_FALSE(log.HasTagged("E Unknown field ID read (ID=20), ignore it."));
    }
    {
        LogCapture log;
        ClassicFile source = SampleFile();
        source.fieldsPerRow = 31;
        source.records.pop_back();
        Loaded file(source.Build());
        ASSERT_TRUE(file.loaded);
        EXPECT_EQ(file.contacts.GetDataMgr().GetRecordCount(), 2u);
        const std::vector<std::string> messages = log.Tagged();
        EXPECT_EQ(std::count(messages.begin(), messages.end(),
                             "E Unknown field ID read (ID=30), ignore it."),
                  2);
    }
}

// A classic file is no "PalmSG Database" file, and neither reader takes the other's file
// or another application's.
TEST(PmAddrUtil, FilesOfOtherFormatsAndApplicationsAreRefused) {
    LogCapture log;
    Loaded classic(SampleFile().Build());
    ASSERT_TRUE(classic.loaded);
    PmAddrExUtil palmSg;
    EXPECT_FALSE(palmSg.LoadFile(classic.path));
    EXPECT_TRUE(log.HasTagged("E Failed to check magic code."));

    log.Clear();
    Loaded fromPalmSg(AddressFile().Build());
    EXPECT_FALSE(fromPalmSg.loaded);
    EXPECT_EQ(log.Tagged(), (std::vector<std::string>{
                                "P Loading Palm Desktop Address Book:" + fromPalmSg.path,
                                "E Failed to check Palm Desktop address book file version.",
                                "E Can not load Palm Desktop Contacts: " + fromPalmSg.path}));

    Loaded fromCalendar(ClassicDateBookFile().Build());
    EXPECT_FALSE(fromCalendar.loaded);
    EXPECT_FALSE(PmDateUtil(classic.path).IsLoaded());
}

// Cut anywhere, the file fails to load and nothing breaks.
TEST(PmAddrUtil, TruncatedFilesFailAtEveryOffset) {
    ScopedLogFolder log;
    ClassicFile source = SampleFile();
    source.records[0] = ClassicAddressRecord({1, 0, 1}, PlainValues(7));
    const Bytes whole = source.Build();
    TempDir dir;
    const std::string path = dir.File("address.dat");
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        WriteFile(path, Bytes(whole.begin(), whole.begin() + cut));
        PmAddrUtil contacts;
        EXPECT_FALSE(contacts.LoadFile(path)) << cut;
        EXPECT_FALSE(contacts.IsLoaded()) << cut;
        EXPECT_FALSE(contacts.Save()) << cut;
    }
    WriteFile(path, whole);
    EXPECT_TRUE(PmAddrUtil(path).IsLoaded());
}

TEST(PmAddrUtil, LoadAndSaveLogTheirSteps) {
    LogCapture log;
    ClassicFile source = SampleFile();
    source.categories.pop_back();
    Loaded file(source.Build());
    ASSERT_TRUE(file.loaded);
    EXPECT_EQ(log.Tagged(),
              (std::vector<std::string>{
                  "P Loading Palm Desktop Address Book:" + file.path,
                  "P Read Palm Desktop address book database file name: " + source.databaseName,
                  "P Start loading Palm Desktop address book custom label information.",
                  "P For Palm Desktop ealier than v4.1.2, the max custom label is 4. Break now.",
                  "P Start reading Palm Desktop address book category information.",
                  "P Palm Desktop address book category information was loaded successfully.",
                  "P Start loading Palm Desktop address book database schema information.",
                  "P Palm Desktop address book database schema information is loaded successfully.",
                  "P Start loading Palm Desktop address book records.",
                  "P Based on calculation, there are 3 records in total.",
                  "P Palm Desktop address book database is loaded successfully. 3 record(s) are "
                  "loaded in total.",
                  "P Palm Desktop address book was loaded successfully.",
              }));

    log.Clear();
    ASSERT_TRUE(file.contacts.Save());
    std::vector<std::string> expected{
        "P Save Palm Desktop address book database as file: " + file.path,
        "P Start saving Palm Desktop address book category information.",
        "P Skip the \"unfiled\" category."};
    // Slot 1 holds Business, slots 2 to 15 are empty.
    expected.insert(expected.end(), 14, "P Category not found by index, skip this one.");
    expected.insert(
        expected.end(),
        {"P Palm Desktop address book category information is saved successfully.",
         "P Start saving Palm Desktop address book database schema.",
         "P Palm Desktop address book database schema is saved successfully.",
         "P Start saving Palm Desktop address book records.", "P There are 3 address book in total",
         "P Palm Desktop address book records are saved successfully.",
         "P Palm Desktop address book database saved successfully."});
    EXPECT_EQ(log.Tagged(), expected);

    // A record that cannot be written names its field.
    log.Clear();
    PmAddrRecord tooLong = *file.contacts.GetDataMgr().GetRecordAt(2);
    tooLong.m_szNote = std::string(70000, 'x');
    ASSERT_TRUE(file.contacts.ChangeRecord(2, tooLong));
    EXPECT_FALSE(file.contacts.Save());
    EXPECT_TRUE(log.HasInOrder({"E Failed to save record field (22).",
                                "E Failed to save address book record.",
                                "E Failed to save address book records information."}));

    // No file to replace.
    log.Clear();
    const std::string missing = file.dir.File("missing.dat");
    EXPECT_FALSE(file.contacts.SaveAs(missing));
    EXPECT_EQ(log.Tagged(), (std::vector<std::string>{
                                "P Save Palm Desktop address book database as file: " + missing,
                                "E Failed to open Palm Desktop address book database file."}));

    // Records that cannot be read.
    log.Clear();
    source.totalFields = 4 * 30;
    WriteFile(file.path, source.Build());
    EXPECT_FALSE(file.contacts.LoadFile(file.path));
    EXPECT_TRUE(log.HasInOrder({"P Based on calculation, there are 4 records in total.",
                                "E Failed to load Palm Desktop address book records.",
                                "E Can not load Palm Desktop Contacts: " + file.path}));
}

TEST(PmAddrUtil, LoadByUserReadsTheUsersFile) {
    ScopedPalmSetup setup;  // before the capture: it points the log elsewhere itself
    LogCapture log;
    const std::string root = setup.File("Palm");
    std::filesystem::create_directories(root + "/Bob/Address");
    SetPalmDesktopFolder(root);
    WriteFile(root + "/Bob/Address/Address.dat", SampleFile().Build());
    ASSERT_TRUE(LoadUserLibrary());
    const std::int32_t bob = 0x6BCBA174;

    PmAddrUtil contacts;
    EXPECT_TRUE(contacts.LoadByUser(bob));
    EXPECT_EQ(contacts.GetDataMgr().GetRecordCount(), 3u);
    EXPECT_EQ(contacts.GetFileName(), root + "/Bob/Address/Address.dat");
    EXPECT_TRUE(log.HasTagged("P Loading Palm Desktop address book file by user: User(" +
                              std::to_string(bob) + ") - File(" + root +
                              "/Bob/Address/Address.dat)"));

    log.Clear();
    EXPECT_FALSE(contacts.LoadByUser(12345));
    EXPECT_EQ(log.Tagged(), std::vector<std::string>{
                                "E Failed to get Palm Desktop data path by user, User ID=12345"});
    FreeUserLibrary();
}

}  // namespace tabrel
