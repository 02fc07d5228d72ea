// The contact record and the custom labels of a "PalmSG Database" address.dat.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <functional>
#include <string>
#include <vector>

#include "palm/palmsg/PmAddrExUtil.h"
#include "support/EnvGuards.h"
#include "support/LogCapture.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

struct Loaded {
    explicit Loaded(const PalmSgFile& file) {
        WriteFile(path, file.Build());
        contacts.LoadFile(path);
    }
    TempDir dir;
    std::string path = dir.File("address.dat");
    PmAddrExUtil contacts;
};

constexpr double kBirthday = 27000.75;

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

// Distinct values for every field: 0x5000 + index, and texts of 3000 characters, each field
// its own letter, so that a field landing in the wrong place or cut to the wrong width
// shows.
PalmSgValues DistinctValues() {
    PalmSgValues values;
    values.value = [](std::size_t i) { return static_cast<std::uint32_t>(0x5000 + i); };
    values.text = [](std::size_t i) { return std::string(3000, static_cast<char>('!' + i)); };
    values.quad = [](std::size_t) { return std::bit_cast<std::array<std::uint8_t, 8>>(kBirthday); };
    return values;
}

// The text a field of capacity bytes keeps of DistinctValues' text for field i.
std::string Kept(std::size_t i, std::size_t capacity) {
    return DistinctValues().text(i).substr(0, capacity - 1);
}

// Every text member with its field index and capacity.
struct TextField {
    std::size_t index;
    std::size_t capacity;
    std::function<const std::string&(const PmAddrExRecord&)> get;
};

std::vector<TextField> TextFields() {
    using R = PmAddrExRecord;
    std::vector<TextField> fields{
        {11, 32, [](const R& r) -> const std::string& { return r.m_szText11; }},
        {12, 32, [](const R& r) -> const std::string& { return r.m_szText12; }},
        {13, 32, [](const R& r) -> const std::string& { return r.m_szFirstName; }},
        {14, 32, [](const R& r) -> const std::string& { return r.m_szLastName; }},
        {15, 32, [](const R& r) -> const std::string& { return r.m_szTitle; }},
        {16, 256, [](const R& r) -> const std::string& { return r.m_szCompany; }},
        {18, 2048, [](const R& r) -> const std::string& { return r.m_szNote; }},
        {60, 32, [](const R& r) -> const std::string& { return r.m_szChats[0]; }},
        {61, 32, [](const R& r) -> const std::string& { return r.m_szChats[1]; }},
        {64, 256, [](const R& r) -> const std::string& { return r.m_szWebPage; }},
    };
    for (std::size_t k = 0; k < 7; ++k) {
        fields.push_back(
            {19 + k, 32, [k](const R& r) -> const std::string& { return r.m_szPhones[k]; }});
    }
    for (std::size_t k = 0; k < 9; ++k) {
        fields.push_back(
            {33 + k, 256, [k](const R& r) -> const std::string& { return r.m_szCustoms[k]; }});
    }
    for (std::size_t a = 0; a < 3; ++a) {
        const std::size_t base = 42 + 6 * a;
        fields.push_back({base + 1, 256, [a](const R& r) -> const std::string& {
                              return r.m_addresses[a].m_szStreet;
                          }});
        fields.push_back({base + 2, 32, [a](const R& r) -> const std::string& {
                              return r.m_addresses[a].m_szCity;
                          }});
        fields.push_back({base + 3, 32, [a](const R& r) -> const std::string& {
                              return r.m_addresses[a].m_szState;
                          }});
        fields.push_back({base + 4, 32, [a](const R& r) -> const std::string& {
                              return r.m_addresses[a].m_szZip;
                          }});
        fields.push_back({base + 5, 32, [a](const R& r) -> const std::string& {
                              return r.m_addresses[a].m_szCountry;
                          }});
    }
    for (std::size_t k = 0; k < 4; ++k) {
        fields.push_back(
            {69 + k, 32, [k](const R& r) -> const std::string& { return r.m_szTexts69[k]; }});
    }
    return fields;
}

// Every 4-byte value member after the header with its field index.
std::vector<std::pair<std::size_t, std::function<std::uint32_t(const PmAddrExRecord&)>>>
ValueFields() {
    using R = PmAddrExRecord;
    std::vector<std::pair<std::size_t, std::function<std::uint32_t(const R&)>>> fields{
        {17, [](const R& r) { return r.m_dwValue17; }},
        {62, [](const R& r) { return r.m_dwValue62; }},
        {63, [](const R& r) { return r.m_dwValue63; }},
        {66, [](const R& r) { return r.m_dwFlag66; }},
        {67, [](const R& r) { return r.m_dwValue67; }},
        {68, [](const R& r) { return r.m_dwValue68; }},
    };
    for (std::size_t k = 0; k < 7; ++k) {
        fields.emplace_back(26 + k, [k](const R& r) { return r.m_dwPhoneLabels[k]; });
    }
    for (std::size_t a = 0; a < 3; ++a) {
        fields.emplace_back(42 + 6 * a, [a](const R& r) { return r.m_addresses[a].m_dwLabel; });
    }
    return fields;
}

// An address book with custom labels, two categories and two contacts.
PalmSgFile SampleAddressBook() {
    PalmSgFile file = AddressFile();
    file.reserved1[12] = 2;
    file.customLabels =
        std::vector<std::string>{"Spouse", "", std::string(32, 'L'), "Pet", "", "", "", "", "Last"};
    file.categories = {{1, 1, 0, "Business", "Business"}, {2, 2, 0, "QuickList", "QuickList"}};
    PalmSgValues values;
    values.text = [](std::size_t i) { return i == 13 ? std::string("Ann") : std::string(); };
    values.value = [](std::size_t i) {
        return i >= 42 && i <= 54 && (i - 42) % 6 == 0 ? static_cast<std::uint32_t>((i - 42) / 6)
                                                       : 0u;
    };
    file.records = {
        AddressRecord({.id = 101, .number = 4096, .category = 2}, DistinctValues()),
        AddressRecord({.id = 102, .number = 4097, .category = 1, .isPrivate = 1}, values)};
    return file;
}

}  // namespace

TEST(PmAddrEx, EveryFieldIsReadAtItsPlaceAndWidth) {
    ScopedLogFolder logFolder;
    PalmSgFile file = SampleAddressBook();
    // Values may come under code 1, 3 or 6 whatever the schema says.
    std::vector<std::uint16_t> codes = AddressCodes();
    codes[17] = 3;
    codes[26] = 6;
    codes[68] = 3;
    file.records[0] =
        AddressRecord({.id = 101, .number = 4096, .category = 2}, DistinctValues(), codes);
    Loaded loaded(file);
    ASSERT_TRUE(loaded.contacts.IsLoaded());
    ASSERT_EQ(loaded.contacts.GetDataMgr().GetRecordCount(), 2u);
    const PmAddrExRecord& record = *loaded.contacts.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(record.m_dwRecordId, 101u);
    EXPECT_EQ(record.m_dwCategoryId, 2u);
    EXPECT_EQ(record.m_szCategory, "QuickList");
    for (const TextField& field : TextFields()) {
        EXPECT_EQ(field.get(record), Kept(field.index, field.capacity)) << "field " << field.index;
    }
    for (const auto& [index, get] : ValueFields()) {
        EXPECT_EQ(get(record), 0x5000u + index) << "field " << index;
    }
    EXPECT_EQ(record.m_dBirthday, kBirthday);
    EXPECT_EQ(TextFields().size() + ValueFields().size() + 1 + 11, 73u);  // all fields seen

    const PmAddrExRecord& second = *loaded.contacts.GetDataMgr().GetRecordAt(1);
    EXPECT_EQ(second.m_szFirstName, "Ann");
    EXPECT_EQ(second.m_szCategory, "Business");
    EXPECT_EQ(second.m_dwPrivate, 1u);
    EXPECT_EQ(second.m_addresses[2].m_dwLabel, static_cast<std::uint32_t>(AddressOther));
}

TEST(PmAddrEx, ChangedContactIsWrittenFieldByField) {
    ScopedLogFolder logFolder;
    PalmSgFile file = SampleAddressBook();
    Loaded loaded(file);
    ASSERT_TRUE(loaded.contacts.IsLoaded());
    PmAddrExRecord changed = *loaded.contacts.GetDataMgr().GetRecordAt(0);
    changed.m_szTitle = "Dr.";
    ASSERT_TRUE(loaded.contacts.ChangeRecord(0, changed));
    ASSERT_TRUE(loaded.contacts.Save());

    // The changed text as it is now, every other text whole as it was stored (not cut to
    // its field), values under code 1 (the private flag too), field 66 under code 6 and the
    // birthday under code 68.
    PalmSgValues values = DistinctValues();
    values.text = [](std::size_t i) {
        return i == 15 ? std::string("Dr.") : DistinctValues().text(i);
    };
    std::vector<std::uint16_t> codes = AddressCodes();
    codes[6] = 1;
    file.records[0] = AddressRecord(
        {.id = 101, .number = 4096, .status = 2, .category = 2, .privateCode = 1}, values, codes);
    EXPECT_EQ(ReadFile(loaded.path), file.Build());
}

// A note longer than its field keeps survives a change of another field; a note that was
// changed goes out as it now is.
TEST(PmAddrEx, LongNoteSurvivesAChangeOfAnotherField) {
    ScopedLogFolder logFolder;
    PalmSgFile file = AddressFile();
    file.reserved1[12] = 1;
    const std::string note = std::string(2047, 'n') + std::string(953, 'N');
    PalmSgValues values;
    values.text = [&](std::size_t i) {
        return i == 18 ? note : i == 19 ? std::string("555-0100") : std::string();
    };
    file.records = {AddressRecord({.id = 7, .number = 4096, .privateCode = 1}, values)};
    Loaded loaded(file);
    ASSERT_TRUE(loaded.contacts.IsLoaded());
    PmAddrExRecord changed = *loaded.contacts.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(changed.m_szNote, std::string(2047, 'n'));
    changed.m_szPhones[0] = "555-0199";
    ASSERT_TRUE(loaded.contacts.ChangeRecord(0, changed));
    ASSERT_TRUE(loaded.contacts.Save());

    values.text = [&](std::size_t i) {
        return i == 18 ? note : i == 19 ? std::string("555-0199") : std::string();
    };
    file.records = {
        AddressRecord({.id = 7, .number = 4096, .status = 2, .privateCode = 1}, values)};
    EXPECT_EQ(ReadFile(loaded.path), file.Build());

    // Reloaded and changed again, now in the note itself.
    Loaded again(file);
    ASSERT_TRUE(again.contacts.IsLoaded());
    PmAddrExRecord edited = *again.contacts.GetDataMgr().GetRecordAt(0);
    edited.m_szNote.back() = 'e';
    ASSERT_TRUE(again.contacts.ChangeRecord(0, edited));
    ASSERT_TRUE(again.contacts.Save());
    values.text = [&](std::size_t i) {
        return i == 18   ? std::string(2046, 'n') + "e"
               : i == 19 ? std::string("555-0199")
                         : std::string();
    };
    file.records = {
        AddressRecord({.id = 7, .number = 4096, .status = 2, .privateCode = 1}, values)};
    EXPECT_EQ(ReadFile(again.path), file.Build());
}

TEST(PmAddrEx, NewContactAndDefaults) {
    ScopedLogFolder logFolder;
    PmAddrExUtil fresh;
    EXPECT_EQ(fresh.GetSchema().m_fieldCodes, AddressCodes());
    EXPECT_EQ(fresh.GetSchema().m_dwResourceId, 74u);
    EXPECT_EQ(fresh.GetSchema().m_dwFieldsPerRow, 73u);
    EXPECT_EQ(fresh.GetReserved2(), Bytes(11, 0));
    EXPECT_EQ(fresh.GetReserved1()[12], 1);
    EXPECT_EQ(fresh.GetReserved1()[13], 0x10);

    const PmAddrExRecord made = PmAddrExRecord::MakeNew();
    EXPECT_EQ(made.m_addresses[0].m_dwLabel, 0u);
    EXPECT_EQ(made.m_addresses[1].m_dwLabel, 1u);
    EXPECT_EQ(made.m_addresses[2].m_dwLabel, 2u);

    PalmSgFile file = SampleAddressBook();
    Loaded loaded(file);
    ASSERT_TRUE(loaded.contacts.IsLoaded());
    PmAddrExRecord added = made;
    added.m_szLastName = "Smith";
    ASSERT_TRUE(loaded.contacts.AddNewRecord(added));
    const PmAddrExRecord& stamped = *loaded.contacts.GetDataMgr().GetRecordAt(2);
    EXPECT_EQ(stamped.m_dwRecordNumber, 4098u);
    EXPECT_EQ(stamped.m_dwField3, 2u * 73);
    ASSERT_TRUE(loaded.contacts.Save());

    PalmSgValues values;
    values.text = [](std::size_t i) { return i == 14 ? std::string("Smith") : std::string(); };
    values.value = [](std::size_t i) { return i == 48 ? 1u : i == 54 ? 2u : 0u; };
    std::vector<std::uint16_t> codes = AddressCodes();
    codes[6] = 1;
    PalmSgHeader header{
        .number = 4098, .status = 1, .field3 = 146, .placement = 0x7FFFFFFF, .privateCode = 1};
    // Empty blocks under the codes the schema lists for fields 7 to 10.
    header.blocks = {PalmSgFields().Block(64).Get(), PalmSgFields().Block(65).Get(),
                     PalmSgFields().Block(66).Get(), PalmSgFields().Block(67).Get()};
    file.records.push_back(AddressRecord(header, values, codes));
    file.reserved1[12] = 3;
    EXPECT_EQ(ReadFile(loaded.path), file.Build());
}

TEST(PmAddrEx, CustomLabelsAreKeptAndWrittenBack) {
    LogCapture log;
    PalmSgFile file = SampleAddressBook();
    Loaded loaded(file);
    ASSERT_TRUE(loaded.contacts.IsLoaded());
    const PmAddrExUtil::CustomLabels& labels = loaded.contacts.GetCustomLabels();
    EXPECT_EQ(std::vector<std::string>(labels.begin(), labels.end()), *file.customLabels);
    EXPECT_EQ(Bytes(loaded.contacts.GetReserved3().begin(), loaded.contacts.GetReserved3().end()),
              file.reserved3);
    EXPECT_EQ(loaded.contacts.GetReserved2(), file.reserved2);

    // The word after each label is not kept: it is written as 0.
    file.labelWords = {1, 2, 3, 4, 5, 6, 7, 8, 0xFFFFFFFF};
    Loaded words(file);
    ASSERT_TRUE(words.contacts.IsLoaded());
    ASSERT_TRUE(words.contacts.Save());
    file.labelWords.assign(9, 0);
    EXPECT_EQ(ReadFile(words.path), file.Build());

    // A label above 32 characters.
    file.customLabels->at(4) = std::string(33, 'x');
    log.Clear();
    Loaded tooLong(file);
    EXPECT_FALSE(tooLong.contacts.IsLoaded());
    EXPECT_TRUE(log.HasInOrder({"E Failed to load custom labels information.",
                                "E Can not load Palm Desktop Contacts: " + tooLong.path}));

    // A file that ends in reserved block 3 (40 of its 42 bytes there).
    file = AddressFile();
    Bytes head = file.Head();
    const std::size_t reserved3At = 24 + 4 + 24 + 1 + file.databaseName.size() + 11 + 9 * 5;
    head.resize(reserved3At + 40);
    log.Clear();
    TempDir dir;
    WriteFile(dir.File("address.dat"), head);
    EXPECT_FALSE(PmAddrExUtil(dir.File("address.dat")).IsLoaded());
    const Bytes content(file.reserved3.begin(), file.reserved3.begin() + 40);
    EXPECT_TRUE(
        log.HasInOrder({"E Failed to read reserved 3 field. Content=" + Hex(content) + ", Size=40",
                        "E Failed to load custom labels information.",
                        "E Can not load Palm Desktop Contacts: " + dir.File("address.dat")}));
}

TEST(PmAddrEx, LoadAndSaveGiveBackIdenticalBytesAndLogContactsLines) {
    LogCapture log;
    const PalmSgFile file = SampleAddressBook();
    Loaded loaded(file);
    ASSERT_TRUE(loaded.contacts.IsLoaded());
    EXPECT_TRUE(log.HasInOrder(
        {"P Loading Palm Desktop Contacts: " + loaded.path,
         "P Load database description information successfully.",
         "P Load custom label information successfully.",
         "P Start loading Palm Desktop Contacts category information.", "E Record ID Position:0",
         "P Palm Desktop Contacts records information is saved successfully.",
         "P Palm Desktop Contacts information is loaded successfully."}));
    log.Clear();
    ASSERT_TRUE(loaded.contacts.Save());
    EXPECT_EQ(ReadFile(loaded.path), file.Build());
    EXPECT_TRUE(log.HasInOrder({"P Palm Desktop Contacts file description is saved successfully.",
                                "P Start saving Palm Desktop Contacts custom labels.",
                                "P Palm Desktop Contacts custom labels are saved successfully.",
                                "P Start saving Palm Desktop Contacts categories.",
                                "P Save Palm Desktop Contacts database successfully."}));
}

TEST(PmAddrEx, RecordCountsAndShortSchemas) {
    ScopedLogFolder logFolder;
    // T = 150 at 73 fields per row: two records, the rest of the count ignored.
    PalmSgFile file = SampleAddressBook();
    file.totalFields = 150;
    Loaded loaded(file);
    ASSERT_TRUE(loaded.contacts.IsLoaded());
    EXPECT_EQ(loaded.contacts.GetDataMgr().GetRecordCount(), 2u);
    ASSERT_TRUE(loaded.contacts.Save());
    file.totalFields.reset();
    EXPECT_EQ(ReadFile(loaded.path), file.Build());

    // A schema of 60 fields per row: fields 60 to 72 stay empty and are not written.
    file = SampleAddressBook();
    file.fieldsPerRow = 60;
    file.fieldCodes.resize(60);
    PalmSgValues values = DistinctValues();
    PalmSgFields fields = HeaderFields({.id = 7});
    std::vector<std::uint16_t> codes = AddressCodes();
    codes.resize(60);
    file.records = {AppendByCodes(fields, codes, 11, values).Get()};
    file.reserved1[12] = 1;
    Loaded shortRows(file);
    ASSERT_TRUE(shortRows.contacts.IsLoaded());
    PmAddrExRecord record = *shortRows.contacts.GetDataMgr().GetRecordAt(0);
    EXPECT_EQ(record.m_addresses[2].m_szCountry, Kept(59, 32));
    EXPECT_EQ(record.m_szChats[0], "");
    EXPECT_EQ(record.m_dwFlag66, 0u);
    EXPECT_EQ(record.m_dBirthday, 0.0);
    record.m_szWebPage = "not written";
    ASSERT_TRUE(shortRows.contacts.ChangeRecord(0, record));
    ASSERT_TRUE(shortRows.contacts.Save());
    PmAddrExUtil reread(shortRows.path);
    ASSERT_TRUE(reread.IsLoaded());
    EXPECT_EQ(reread.GetDataMgr().GetRecordAt(0)->m_addresses[2].m_szCountry, Kept(59, 32));
    EXPECT_EQ(reread.GetDataMgr().GetRecordAt(0)->m_szWebPage, "");
    EXPECT_EQ(reread.GetSchema().m_fieldCodes.size(), 60u);
}

TEST(PmAddrEx, TruncationAtAnyOffsetFailsCleanly) {
    ScopedLogFolder logFolder;
    PalmSgFile file = SampleAddressBook();
    PalmSgValues values;
    values.text = [](std::size_t i) { return std::string(i % 3, 't'); };
    file.records[0] = AddressRecord({.id = 101}, values);
    const Bytes full = file.Build();
    TempDir dir;
    const std::string path = dir.File("address.dat");
    WriteFile(path, full);
    ASSERT_TRUE(PmAddrExUtil(path).IsLoaded());
    // Every offset of the header parts, then every fifth of the records and the last few.
    const std::size_t records = file.Head().size() + 4;
    for (std::size_t size = 0; size < full.size();
         size += size < records || size + 10 >= full.size() ? 1 : 5) {
        WriteFile(path, Bytes(full.begin(), full.begin() + static_cast<long>(size)));
        EXPECT_FALSE(PmAddrExUtil(path).IsLoaded()) << "cut at " << size;
    }
}

}  // namespace tabrel
