#pragma once
// Contacts files of the three generations for the Contacts facade tests, with what the
// facade should make of them: the catalogue, the texts of the first contact, its common
// record, and where each CSV column goes.
//
// Every file holds the same three contacts: Ann Lee (private, category 1 "Work", a home
// phone behind an emptied home slot, a birthday in 4.1.x and 6.x), Bob Ray (a mobile phone
// only) and Gone Away, deleted (status 0x80), which no facade shows.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "palm/comm/CommAddrMgr.h"
#include "palm/unified/PmDataVersion.h"
#include "palm/unified/PmInfoConvert.h"
#include "support/ClassicWriter.h"
#include "support/Db6xWriter.h"
#include "support/PalmSgWriter.h"
#include "support/TestSupport.h"

namespace tabrel::test::addrinfo {

using Id = CommAddrId;

inline constexpr std::uint32_t kPalm6 = 60001;
// Ann's birthday and (6.x) anniversary as common day numbers.
inline constexpr std::int32_t kAnnBirthday = 36892;
inline constexpr std::int32_t kAnnAnniversary = 36900;

// The fields of a .dat contact after its header, by field index.
struct DatContact {
    std::map<std::size_t, std::string> texts;
    std::map<std::size_t, std::uint32_t> numbers;
    double birthday = 0;

    PalmSgValues Values() const {
        PalmSgValues values;
        values.text = [byIndex = texts](std::size_t i) {
            const auto it = byIndex.find(i);
            return it == byIndex.end() ? std::string() : it->second;
        };
        values.value = [byIndex = numbers](std::size_t i) {
            const auto it = byIndex.find(i);
            return it == byIndex.end() ? 0u : it->second;
        };
        values.quad = [day = birthday](std::size_t) {
            return std::bit_cast<std::array<std::uint8_t, 8>>(day);
        };
        return values;
    }
};

// clang-format off
inline std::string WriteClassic(const TempDir& dir, const std::string& name = "address.dat") {
    ClassicFile file = ClassicAddressFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    // Slots (label, text) are fields 7 to 16.
    const DatContact ann{{{3, "Lee"},
                          {4, "Ann"}, {5, "Boss"}, {6, "Acme"}, {8, "555-0101"},
                          {10, "ann@acme.example"}, {14, "555-0102"}, {16, "555-0103"},
                          {17, "1 Main St"}, {18, "Springfield"}, {19, "IL"}, {20, "62701"},
                          {21, "USA"}, {22, "Met at the fair"},
                          {25, "Blue"}},
                         {{7, 0}, {9, 4}, {11, 1}, {13, 1}, {15, 7}, {23, 1}, {24, 1}}};
    const DatContact bob{{{3, "Ray"}, {4, "Bob"}, {6, "Ray Co"}, {8, "555-0202"}}, {{7, 7}}};
    const DatContact gone{{{3, "Away"}, {4, "Gone"}}, {}};
    file.records = {ClassicAddressRecord({.id = 11}, ann.Values()),
                    ClassicAddressRecord({.id = 12}, bob.Values()),
                    ClassicAddressRecord({.id = 13, .status = 0x80}, gone.Values())};
    const std::string path = dir.File(name);
    WriteFile(path, file.Build());
    return path;
}

inline std::string WriteEx(const TempDir& dir, const std::string& name = "address.dat") {
    PalmSgFile file = AddressFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    // Slot texts are fields 19 to 25, their labels 26 to 32.
    const DatContact ann{
        {{13, "Ann"},
         {14, "Lee"}, {15, "Boss"}, {16, "Acme"}, {18, "Met at the fair"}, {19, "555-0101"},
         {20, "ann@acme.example"}, {22, "555-0102"}, {23, "555-0103"}, {24, "555-0104"},
         {25, "555-0105"}, {33, "Blue"}, {41, "Nine"}, {43, "1 Main St"}, {44, "Springfield"},
         {45, "IL"}, {46, "62701"}, {47, "USA"}, {49, "2 Elm St"}, {50, "Shelbyville"},
         {55, "3 Oak St"}, {59, "Canada"}, {60, "ann.chat"}, {61, "ann.chat2"},
         {64, "acme.example"}},
        {{26, 0}, {27, 4}, {28, 1}, {29, 1}, {30, 7}, {31, 6}, {32, 2}, {48, 1}, {54, 2}},
        kPmDateOffset + kAnnBirthday};
    const DatContact bob{{{13, "Bob"}, {14, "Ray"}, {16, "Ray Co"}, {19, "555-0202"}},
                         {{26, 7}, {48, 1}, {54, 2}}};
    const DatContact gone{{{13, "Gone"}, {14, "Away"}}, {}};
    file.records = {AddressRecord({.id = 11, .category = 1, .isPrivate = 1}, ann.Values()),
                    AddressRecord({.id = 12}, bob.Values()),
                    AddressRecord({.id = 13, .status = 0x80}, gone.Values())};
    const std::string path = dir.File(name);
    WriteFile(path, file.Build());
    return path;
}

inline std::string Literal(std::int64_t value) {
    return std::to_string(value);
}

inline std::string WriteEx2(const TempDir& dir, const std::string& name = "Address.mdb") {
    const std::string path = dir.File(name);
    Db6xWriter db(path, kAddrColumns);
    db.AddCategory(1, "Work");
    db.InsertZeroRow(kAddrColumns, {{"Record ID", "11"},
                                    {"Private", "1"}, {"Category", "'1'"},
                                    {"Note", "'Met at the fair'"}, {"Prefix", "'Dr'"},
                                    {"First Name", "'Ann'"}, {"Middle Name", "'Q'"},
                                    {"Last Name", "'Lee'"}, {"Suffix", "'Jr'"},
                                    {"NickName", "'Annie'"},
                                    {"Anniversary", Literal(kPmDateOffset + kAnnAnniversary)},
                                    {"Birthday", Literal(kPmDateOffset + kAnnBirthday)},
                                    {"Profession", "'Vet'"}, {"Company", "'Acme'"},
                                    {"Job Title", "'Boss'"}, {"Assistant Name", "'Sam'"},
                                    {"Assistant Phone", "'555-0109'"},
                                    {"Work Street", "'1 Main St'"}, {"Work Zip", "'62701'"},
                                    {"Home City", "'Shelbyville'"}, {"Other Country", "'Canada'"},
                                    {"Work Phone", "'555-0101'"},
                                    {"Work Fax", "'ann@acme.example'"},
                                    {"Home Phone", "'555-0102'"}, {"Home Fax", "'555-0103'"},
                                    {"Home Mobile", "'555-0104'"}, {"Other Phone", "'555-0105'"},
                                    {"Phone Label1", "0"}, {"Phone Label2", "4"},
                                    {"Phone Label3", "1"}, {"Phone Label4", "1"},
                                    {"Phone Label5", "7"}, {"Phone Label6", "6"},
                                    {"Phone Label7", "2"}, {"Pager", "'555-0100'"},
                                    {"Custom 1", "'Blue'"}, {"Custom 7", "'Seven'"},
                                    {"Custom 10", "'Ten'"}, {"Custom 14", "'Fourteen'"},
                                    {"Chat1", "'ann.chat'"}, {"Website", "'acme.example'"},
                                    {"English Name", "'Ann Lee'"}, {"Picture URL", "'pic://ann'"},
                                    {"Ringtone Sync counter", "'3'"}});
    db.InsertZeroRow(kAddrColumns, {{"Record ID", "12"},
                                    {"Placement", "1"}, {"First Name", "'Bob'"},
                                    {"Last Name", "'Ray'"}, {"Company", "'Ray Co'"},
                                    {"Work Phone", "'555-0202'"},
                                    {"Phone Label1", "7"}});
    db.InsertZeroRow(kAddrColumns, {{"Record ID", "13"},
                                    {"Status", "128"}, {"Placement", "2"}, {"First Name", "'Gone'"},
                                    {"Last Name", "'Away'"}});
    return path;
}

// clang-format on

// A catalogue row as the tables list it.
struct CatalogueRow {
    std::int32_t id = 0;
    std::int32_t kind = 0;
    std::string name;
    std::int32_t type = 0;
    std::int32_t length = 0;
};

inline std::vector<CatalogueRow> Join(const std::vector<std::vector<CatalogueRow>>& parts) {
    std::vector<CatalogueRow> rows;
    for (const auto& part : parts) {
        rows.insert(rows.end(), part.begin(), part.end());
    }
    return rows;
}

// Text rows of consecutive identifiers from first on, one per name.
inline std::vector<CatalogueRow> TextRows(std::int32_t first,
                                          const std::vector<std::pair<std::string, int>>& rows) {
    std::vector<CatalogueRow> out;
    for (const auto& [name, length] : rows) {
        out.push_back({first++, 0, name, 5, length});
    }
    return out;
}

inline std::vector<CatalogueRow> PhoneRows() {
    return {{0, 1, "Work Phone", 5, 32},  {0, 2, "Home Phone", 5, 32},  {0, 3, "Fax", 5, 32},
            {0, 4, "Other Phone", 5, 32}, {0, 5, "E-Mail", 5, 32},      {0, 6, "Main Phone", 5, 32},
            {0, 7, "Pager", 5, 32},       {0, 8, "Mobile Phone", 5, 32}};
}

inline std::vector<CatalogueRow> AddressRows(std::int32_t first, const std::string& part) {
    return TextRows(first, {{"Address(" + part + ")", 256},
                            {"City(" + part + ")", 32},
                            {"State(" + part + ")", 32},
                            {"Zip(" + part + ")", 32},
                            {"Country(" + part + ")", 32}});
}

inline std::vector<CatalogueRow> CustomRows(std::int32_t first, int from, int to) {
    std::vector<std::pair<std::string, int>> names;
    for (int i = from; i <= to; ++i) {
        names.emplace_back("Custom " + std::to_string(i), 256);
    }
    return TextRows(first, names);
}

// Where the CSV text of each phone row goes.
inline std::map<std::string, std::int32_t> PhoneTargets() {
    return {{"Work Phone", Id::kWorkPhone}, {"Home Phone", Id::kHomePhone},
            {"Fax", Id::kWorkFax},          {"Other Phone", Id::kOtherPhone},
            {"E-Mail", Id::kEmail},         {"Main Phone", Id::kPrimaryPhone},
            {"Pager", Id::kPager},          {"Mobile Phone", Id::kMobilePhone}};
}

inline std::map<std::string, std::int32_t> With(std::map<std::string, std::int32_t> targets,
                                                const std::map<std::string, std::int32_t>& more) {
    targets.insert(more.begin(), more.end());
    return targets;
}

using Writer = std::string (*)(const TempDir&, const std::string&);

struct Generation {
    PmDataVersion version;
    Writer write;
    const char* fileName;
    std::vector<CatalogueRow> catalogue;
    // The non-empty texts of Ann's rows (every other row gives the empty text).
    std::map<std::string, std::string> annTexts;
    // Ann's common record: its non-empty text fields.
    std::map<std::int32_t, std::string> annCommon;
    // The common text field each row's CSV text goes to; other rows are ignored (the
    // 4.1.x Birthday row aside, which sets the birthday).
    std::map<std::string, std::int32_t> csvTargets;
};

// clang-format off
inline const Generation& ClassicGeneration() {
    static const Generation g{
        PM_DATA_CLASSIC,
        WriteClassic,
        "address.dat",
        Join(
            {TextRows(3, {{"Last Name", 32}, {"First Name", 32}, {"Title", 32}, {"Company", 256}}),
             PhoneRows(),
             TextRows(
                 17, {{"Address", 256}, {"City", 32}, {"State", 32}, {"Zip", 32}, {"Country", 32}}),
             {{24, 0, "Category", 5, 32}, {23, 0, "Private", 6, 4}, {22, 0, "Note", 5, 2048}},
             CustomRows(25, 1, 4)}),
        {{"Last Name", "Lee"},
         {"First Name", "Ann"}, {"Title", "Boss"}, {"Company", "Acme"}, {"Work Phone", "555-0101"},
         {"Home Phone", "555-0102"}, {"E-Mail", "ann@acme.example"}, {"Mobile Phone", "555-0103"},
         {"Address", "1 Main St"}, {"City", "Springfield"}, {"State", "IL"}, {"Zip", "62701"},
         {"Country", "USA"}, {"Category", "Work"}, {"Private", "1"}, {"Note", "Met at the fair"},
         {"Custom 1", "Blue"}},
        {{Id::kFirstName, "Ann"},
         {Id::kLastName, "Lee"}, {Id::kTitle, "Boss"}, {Id::kCompany, "Acme"},
         {Id::kWorkPhone, "555-0101"}, {Id::kHomePhone, "555-0102"},
         {Id::kEmail, "ann@acme.example"}, {Id::kMobilePhone, "555-0103"},
         {Id::kWorkStreet, "1 Main St"}, {Id::kWorkCity, "Springfield"}, {Id::kWorkState, "IL"},
         {Id::kWorkPostal, "62701"}, {Id::kWorkCountry, "USA"}, {Id::kNote, "Met at the fair"},
         {Id::kCustom1, "Blue"},
         {Id::kCategory, "Work"}},
        With(PhoneTargets(), {{"Last Name", Id::kLastName},
                              {"First Name", Id::kFirstName}, {"Title", Id::kTitle},
                              {"Company", Id::kCompany}, {"Address", Id::kWorkStreet},
                              {"City", Id::kWorkCity}, {"State", Id::kWorkState},
                              {"Zip", Id::kWorkPostal}, {"Country", Id::kWorkCountry},
                              {"Note", Id::kNote}, {"Custom 1", 44}, {"Custom 2", 45},
                              {"Custom 3", 46},
                              {"Custom 4", 47}}),
    };
    return g;
}

inline const Generation& ExGeneration() {
    static const Generation g{
        PM_DATA_EX,
        WriteEx,
        "address.dat",
        Join({{{14, 0, "Last Name", 5, 32},
               {13, 0, "First Name", 5, 32}, {15, 0, "Title", 5, 32},
               {16, 0, "Company", 5, 256}},
              PhoneRows(),
              AddressRows(43, "Work"),
              CustomRows(33, 1, 4),
              {{5, 0, "Category", 5, 32}, {6, 0, "Private", 6, 4}, {18, 0, "Note", 5, 2048}},
              AddressRows(49, "Home"),
              AddressRows(55, "Other"),
              {{64, 0, "Web Page", 5, 256},
               {65, 0, "Birthday", 5, 32}, {60, 0, "Chat 1", 5, 32},
               {61, 0, "Chat 2", 5, 32}},
              CustomRows(37, 5, 9)}),
        {{"Last Name", "Lee"},
         {"First Name", "Ann"}, {"Title", "Boss"}, {"Company", "Acme"}, {"Work Phone", "555-0101"},
         {"Home Phone", "555-0102"}, {"Fax", "555-0105"}, {"E-Mail", "ann@acme.example"},
         {"Pager", "555-0104"}, {"Mobile Phone", "555-0103"}, {"Address(Work)", "1 Main St"},
         {"City(Work)", "Springfield"}, {"State(Work)", "IL"}, {"Zip(Work)", "62701"},
         {"Country(Work)", "USA"}, {"Custom 1", "Blue"}, {"Category", "Work"}, {"Private", "1"},
         {"Note", "Met at the fair"}, {"Address(Home)", "2 Elm St"}, {"City(Home)", "Shelbyville"},
         {"Address(Other)", "3 Oak St"}, {"Country(Other)", "Canada"}, {"Web Page", "acme.example"},
         {"Birthday", std::to_string(kAnnBirthday)}, {"Chat 1", "ann.chat"},
         {"Chat 2", "ann.chat2"},
         {"Custom 9", "Nine"}},
        {{Id::kFirstName, "Ann"},        {Id::kLastName, "Lee"},
         {Id::kTitle, "Boss"},           {Id::kCompany, "Acme"},
         {Id::kWorkPhone, "555-0101"},   {Id::kHomePhone, "555-0102"},
         {Id::kWorkFax, "555-0105"},     {Id::kEmail, "ann@acme.example"},
         {Id::kMobilePhone, "555-0103"}, {Id::kWorkStreet, "1 Main St"},
         {Id::kWorkCity, "Springfield"}, {Id::kWorkState, "IL"},
         {Id::kWorkPostal, "62701"},     {Id::kWorkCountry, "USA"},
         {Id::kHomeStreet, "2 Elm St"},  {Id::kHomeCity, "Shelbyville"},
         {Id::kOtherStreet, "3 Oak St"}, {Id::kOtherCountry, "Canada"},
         {Id::kNote, "Met at the fair"}, {Id::kCustom1, "Blue"},
         {Id::kCustom9, "Nine"},         {Id::kIm1, "ann.chat"},
         {Id::kIm2, "ann.chat2"},        {Id::kWorkHomePage, "acme.example"},
         {Id::kCategory, "Work"}},
        With(PhoneTargets(), {{"Last Name", Id::kLastName},
                              {"First Name", Id::kFirstName}, {"Title", Id::kTitle},
                              {"Company", Id::kCompany}, {"Note", Id::kNote},
                              {"Address(Work)", Id::kWorkStreet}, {"City(Work)", Id::kWorkCity},
                              {"State(Work)", Id::kWorkState}, {"Zip(Work)", Id::kWorkPostal},
                              {"Country(Work)", Id::kWorkCountry},
                              {"Address(Home)", Id::kHomeStreet}, {"City(Home)", Id::kHomeCity},
                              {"State(Home)", Id::kHomeState}, {"Zip(Home)", Id::kHomePostal},
                              {"Country(Home)", Id::kHomeCountry},
                              {"Address(Other)", Id::kOtherStreet}, {"City(Other)", Id::kOtherCity},
                              {"State(Other)", Id::kOtherState}, {"Zip(Other)", Id::kOtherPostal},
                              {"Country(Other)", Id::kOtherCountry},
                              {"Web Page", Id::kWorkHomePage}, {"Chat 1", Id::kIm1},
                              {"Chat 2", Id::kIm2}, {"Custom 1", 44}, {"Custom 2", 45},
                              {"Custom 3", 46}, {"Custom 4", 47}, {"Custom 5", 48},
                              {"Custom 6", 49}, {"Custom 7", 50}, {"Custom 8", 51},
                              {"Custom 9", 52}}),
    };
    return g;
}

inline const Generation& Ex2Generation() {
    static const Generation g{
        PM_DATA_EX2,
        WriteEx2,
        "Address.mdb",
        Join({{{3, 0, "Private", 6, 4}, {4, 0, "Category", 5, 256}},
              TextRows(5, {{"Note", 2048},
                           {"Prefix", 32}, {"First Name", 32}, {"Middle Name", 32},
                           {"Last Name", 32}, {"Suffix", 32},
                           {"NickName", 32}}),
              TextRows(14, {{"Profession", 32},
                            {"Company", 256}, {"Job Title", 32}, {"Assistant Name", 32},
                            {"Assistant Phone", 32}}),
              TextRows(19, {{"Work Street", 256},
                            {"Work City", 32}, {"Work State", 32}, {"Work Zip", 32},
                            {"Work Country", 32}, {"Home Street", 256}, {"Home City", 32},
                            {"Home State", 32}, {"Home Zip", 32}, {"Home Country", 32},
                            {"Other Street", 256}, {"Other City", 32}, {"Other State", 32},
                            {"Other Zip", 32},
                            {"Other Country", 32}}),
              PhoneRows(),
              {{63, 0, "Chat1", 5, 128},
               {64, 0, "Chat2", 5, 128}, {67, 0, "Website", 5, 256},
               {86, 0, "English Name", 5, 128}},
              TextRows(87, {{"Picture URL", 256},
                            {"Picture Filename", 256}, {"Picture MIME type", 32},
                            {"Picture Sync counter", 32}, {"Ringtone URL", 256},
                            {"Ringtone Filename", 256}, {"Ringtone MIME type", 32},
                            {"Ringtone Sync counter", 32}}),
              CustomRows(48, 1, 4),
              CustomRows(68, 5, 14)}),
        {{"Private", "1"},
         {"Category", "Work"}, {"Note", "Met at the fair"}, {"Prefix", "Dr"}, {"First Name", "Ann"},
         {"Middle Name", "Q"}, {"Last Name", "Lee"}, {"Suffix", "Jr"}, {"NickName", "Annie"},
         {"Profession", "Vet"}, {"Company", "Acme"}, {"Job Title", "Boss"},
         {"Assistant Name", "Sam"}, {"Assistant Phone", "555-0109"}, {"Work Street", "1 Main St"},
         {"Work Zip", "62701"}, {"Home City", "Shelbyville"}, {"Other Country", "Canada"},
         {"Work Phone", "555-0101"}, {"Home Phone", "555-0102"}, {"Fax", "555-0105"},
         {"E-Mail", "ann@acme.example"}, {"Pager", "555-0104"}, {"Mobile Phone", "555-0103"},
         {"Chat1", "ann.chat"}, {"Website", "acme.example"}, {"English Name", "Ann Lee"},
         {"Picture URL", "pic://ann"}, {"Ringtone Sync counter", "3"}, {"Custom 1", "Blue"},
         {"Custom 7", "Seven"}, {"Custom 10", "Ten"},
         {"Custom 14", "Fourteen"}},
        {{Id::kFirstName, "Ann"},
         {Id::kMiddleName, "Q"}, {Id::kLastName, "Lee"}, {Id::kPrefix, "Dr"}, {Id::kSuffix, "Jr"},
         {Id::kNickName, "Annie"}, {Id::kDisplayName, "Ann Lee"}, {Id::kTitle, "Boss"},
         {Id::kCompany, "Acme"}, {Id::kAssistantName, "Sam"}, {Id::kAssistantPhone, "555-0109"},
         {Id::kWorkPhone, "555-0101"}, {Id::kHomePhone, "555-0102"}, {Id::kWorkFax, "555-0105"},
         {Id::kEmail, "ann@acme.example"}, {Id::kMobilePhone, "555-0103"},
         {Id::kWorkStreet, "1 Main St"}, {Id::kWorkPostal, "62701"}, {Id::kHomeCity, "Shelbyville"},
         {Id::kOtherCountry, "Canada"}, {Id::kNote, "Met at the fair"}, {Id::kCustom1, "Blue"},
         {Id::kCustom1 + 6, "Seven"}, {Id::kIm1, "ann.chat"},
         {Id::kCategory, "Work"}},
        With(PhoneTargets(), {{"Note", Id::kNote},
                              {"Prefix", Id::kPrefix}, {"First Name", Id::kFirstName},
                              {"Middle Name", Id::kMiddleName}, {"Last Name", Id::kLastName},
                              {"Suffix", Id::kSuffix}, {"NickName", Id::kNickName},
                              {"Company", Id::kCompany}, {"Job Title", Id::kTitle},
                              {"Assistant Name", Id::kAssistantName},
                              {"Assistant Phone", Id::kAssistantPhone},
                              {"Work Street", Id::kWorkStreet}, {"Work City", Id::kWorkCity},
                              {"Work State", Id::kWorkState}, {"Work Zip", Id::kWorkPostal},
                              {"Work Country", Id::kWorkCountry}, {"Home Street", Id::kHomeStreet},
                              {"Home City", Id::kHomeCity}, {"Home State", Id::kHomeState},
                              {"Home Zip", Id::kHomePostal}, {"Home Country", Id::kHomeCountry},
                              {"Other Street", Id::kOtherStreet}, {"Other City", Id::kOtherCity},
                              {"Other State", Id::kOtherState}, {"Other Zip", Id::kOtherPostal},
                              {"Other Country", Id::kOtherCountry}, {"Chat1", Id::kIm1},
                              {"Chat2", Id::kIm2}, {"English Name", Id::kDisplayName},
                              {"Custom 1", 44}, {"Custom 2", 45}, {"Custom 3", 46},
                              {"Custom 4", 47}, {"Custom 5", 48}, {"Custom 6", 49},
                              {"Custom 7", 50}, {"Custom 8", 51},
                              {"Custom 9", 52}}),
    };
    return g;
}

// clang-format on

inline std::vector<const Generation*> Generations() {
    return {&ClassicGeneration(), &ExGeneration(), &Ex2Generation()};
}

// The non-empty text fields of a common contact, by identifier.
inline std::map<std::int32_t, std::string> CommonTexts(const CommAddrRec& contact) {
    static const CommAddrMgr store;
    std::map<std::int32_t, std::string> texts;
    for (const CommFieldRow& row : CommAddrMgr::GetCatalogue()) {
        std::string text;
        if (row.m_nNumber1 == kCommTypeText && store.GetFieldText(contact, row, text, 65536) &&
            !text.empty()) {
            texts.emplace(row.m_nId, text);
        }
    }
    return texts;
}

}  // namespace tabrel::test::addrinfo
