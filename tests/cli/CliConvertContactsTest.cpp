// tabrel-cli on Contacts files of the three generations: export of every catalogue field,
// import of a CSV file (an equal contact, a contact with the same first name, last name and
// e-mail but another company, a new contact; for the 6.x database only a few columns, chosen
// with --fields) and the export after it.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "CliConvertSupport.h"
#include "support/ClassicWriter.h"
#include "support/Db6xWriter.h"
#include "support/PalmSgWriter.h"
#include "support/PmAddrInfoTestFiles.h"

namespace tabrel {

using namespace test;
using namespace test::cliconvert;
using test::addrinfo::DatContact;

namespace {

using Named = std::map<std::string, std::string>;

// The contacts of every file: Ann Lee (private, category 1 "Work", a company with a comma, a
// note with quotation marks and a line break, a work phone and an e-mail among labelled
// empty slots), Bob Ray (a mobile phone only) and Gone Away, deleted (status 0x80).
const std::string kAcme = "Acme, Inc.";
const std::string kAnnNote = "Met at the \"fair\"\r\nCall back";
// Ann's birthday as a day number (3 March 1975).
constexpr std::int32_t kAnnBirthday = 27456;

const Values kClassicCatalogue = {
    "Last Name", "First Name",  "Title",    "Company",    "Work Phone", "Home Phone",
    "Fax",       "Other Phone", "E-Mail",   "Main Phone", "Pager",      "Mobile Phone",
    "Address",   "City",        "State",    "Zip",        "Country",    "Category",
    "Private",   "Note",        "Custom 1", "Custom 2",   "Custom 3",   "Custom 4"};

const Values kPalmSgCatalogue = {
    "Last Name",   "First Name",    "Title",         "Company",        "Work Phone",
    "Home Phone",  "Fax",           "Other Phone",   "E-Mail",         "Main Phone",
    "Pager",       "Mobile Phone",  "Address(Work)", "City(Work)",     "State(Work)",
    "Zip(Work)",   "Country(Work)", "Custom 1",      "Custom 2",       "Custom 3",
    "Custom 4",    "Category",      "Private",       "Note",           "Address(Home)",
    "City(Home)",  "State(Home)",   "Zip(Home)",     "Country(Home)",  "Address(Other)",
    "City(Other)", "State(Other)",  "Zip(Other)",    "Country(Other)", "Web Page",
    "Birthday",    "Chat 1",        "Chat 2",        "Custom 5",       "Custom 6",
    "Custom 7",    "Custom 8",      "Custom 9"};

// clang-format off
const Values kPalm6xCatalogue = {
    "Private", "Category", "Note", "Prefix", "First Name", "Middle Name", "Last Name", "Suffix",
    "NickName", "Profession", "Company", "Job Title", "Assistant Name", "Assistant Phone",
    "Work Street", "Work City", "Work State", "Work Zip", "Work Country",
    "Home Street", "Home City", "Home State", "Home Zip", "Home Country",
    "Other Street", "Other City", "Other State", "Other Zip", "Other Country",
    "Work Phone", "Home Phone", "Fax", "Other Phone", "E-Mail", "Main Phone", "Pager",
    "Mobile Phone", "Chat1", "Chat2", "Website", "English Name",
    "Picture URL", "Picture Filename", "Picture MIME type", "Picture Sync counter",
    "Ringtone URL", "Ringtone Filename", "Ringtone MIME type", "Ringtone Sync counter",
    "Custom 1", "Custom 2", "Custom 3", "Custom 4", "Custom 5", "Custom 6", "Custom 7",
    "Custom 8", "Custom 9", "Custom 10", "Custom 11", "Custom 12", "Custom 13", "Custom 14"};
// clang-format on

// Classic fields: 3 Last Name, 4 First Name, 5 Title, 6 Company, 7 to 16 five phone slots
// (label, text), 17 to 21 the address, 22 Note, 23 Private, 24 category, 25 Custom 1.
std::string WriteClassic(const CliWork& work) {
    ClassicFile file = ClassicAddressFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    const DatContact ann{{{3, "Lee"},
                          {4, "Ann"},
                          {5, "Boss"},
                          {6, kAcme},
                          {8, "555-0101"},
                          {10, "ann@acme.example"},
                          {17, "1 Main St"},
                          {18, "Springfield"},
                          {19, "IL"},
                          {20, "62701"},
                          {21, "USA"},
                          {22, kAnnNote},
                          {25, "Blue"}},
                         {{7, 0}, {9, 4}, {11, 1}, {13, 2}, {15, 7}, {23, 1}, {24, 1}}};
    const DatContact bob{{{3, "Ray"}, {4, "Bob"}, {6, "Ray Co"}, {8, "555-0202"}}, {{7, 7}}};
    const DatContact gone{{{3, "Away"}, {4, "Gone"}}, {}};
    file.records = {ClassicAddressRecord({.id = 11}, ann.Values()),
                    ClassicAddressRecord({.id = 12}, bob.Values()),
                    ClassicAddressRecord({.id = 13, .status = 0x80}, gone.Values())};
    const std::string path = work.File("address.dat");
    WriteFile(path, file.Build());
    return path;
}

// PalmSG fields: 13 First Name, 14 Last Name, 15 Title, 16 Company, 18 Note, 19 to 25 the
// seven slot texts and 26 to 32 their labels, 33 to 41 Custom 1 to 9, the work, home and
// other addresses at 43, 49 and 55 (each after its label), 60 and 61 the chats, 64 the web
// page, 65 the birthday.
std::string WriteEx(const CliWork& work) {
    PalmSgFile file = AddressFile();
    file.categories = {{1, 1, 0, "Work", "Work"}};
    const DatContact ann{
        {{13, "Ann"},
         {14, "Lee"},
         {15, "Boss"},
         {16, kAcme},
         {18, kAnnNote},
         {19, "555-0101"},
         {20, "ann@acme.example"},
         {33, "Blue"},
         {41, "Nine"},
         {43, "1 Main St"},
         {44, "Springfield"},
         {45, "IL"},
         {46, "62701"},
         {47, "USA"},
         {49, "2 Elm \"Road\""},
         {50, "Shelbyville"},
         {55, "PO Box 9"},
         {59, "Canada"},
         {60, "ann.chat"},
         {61, "ann.chat2"},
         {64, "acme.example/~ann"}},
        {{26, 0}, {27, 4}, {28, 1}, {29, 2}, {30, 3}, {31, 5}, {32, 7}, {48, 1}, {54, 2}},
        kPmDateOffset + kAnnBirthday + 0.25};
    const DatContact bob{{{13, "Bob"}, {14, "Ray"}, {16, "Ray Co"}, {19, "555-0202"}},
                         {{26, 7}, {48, 1}, {54, 2}}};
    const DatContact gone{{{13, "Gone"}, {14, "Away"}}, {}};
    file.records = {AddressRecord({.id = 11, .category = 1, .isPrivate = 1}, ann.Values()),
                    AddressRecord({.id = 12}, bob.Values()),
                    AddressRecord({.id = 13, .status = 0x80}, gone.Values())};
    const std::string path = work.File("address.dat");
    WriteFile(path, file.Build());
    return path;
}

std::string WriteEx2(const CliWork& work) {
    const std::string path = work.File("Address.mdb");
    const Db6xWriter db(path, kAddrColumns);
    db.AddCategory(1, "Work");
    db.InsertZeroRow(kAddrColumns, {{"Record ID", "11"},
                                    {"Private", "1"},
                                    {"Category", "'1'"},
                                    {"Note", SqlText(kAnnNote)},
                                    {"Prefix", "'Dr'"},
                                    {"First Name", "'Ann'"},
                                    {"Middle Name", "'Q'"},
                                    {"Last Name", "'Lee'"},
                                    {"Suffix", "'Jr'"},
                                    {"NickName", "'Annie'"},
                                    {"Profession", "'Vet'"},
                                    {"Company", SqlText(kAcme)},
                                    {"Job Title", "'Boss'"},
                                    {"Assistant Name", "'Sam'"},
                                    {"Assistant Phone", "'555-0109'"},
                                    {"Work Street", "'1 Main St'"},
                                    {"Work City", "'Springfield'"},
                                    {"Home City", "'Shelbyville'"},
                                    {"Other Country", "'Canada'"},
                                    {"Work Phone", "'555-0101'"},
                                    {"Work Fax", "'ann@acme.example'"},
                                    {"Phone Label1", "0"},
                                    {"Phone Label2", "4"},
                                    {"Phone Label3", "1"},
                                    {"Phone Label4", "2"},
                                    {"Phone Label5", "3"},
                                    {"Phone Label6", "5"},
                                    {"Phone Label7", "7"},
                                    {"Chat1", "'ann.chat'"},
                                    {"Website", "'acme.example'"},
                                    {"English Name", "'Ann Lee'"},
                                    {"Picture URL", "'pic://ann'"},
                                    {"Custom 1", "'Blue'"},
                                    {"Custom 7", "'Seven'"},
                                    {"Custom 14", "'Fourteen'"}});
    db.InsertZeroRow(kAddrColumns, {{"Record ID", "12"},
                                    {"Placement", "1"},
                                    {"Category", "'0'"},
                                    {"First Name", "'Bob'"},
                                    {"Last Name", "'Ray'"},
                                    {"Company", "'Ray Co'"},
                                    {"Work Phone", "'555-0202'"},
                                    {"Phone Label1", "7"}});
    db.InsertZeroRow(kAddrColumns, {{"Record ID", "13"},
                                    {"Status", "128"},
                                    {"Placement", "2"},
                                    {"First Name", "'Gone'"},
                                    {"Last Name", "'Away'"}});
    return path;
}

}  // namespace

TEST(CliConvertContacts, ClassicFileExportsAndImports) {
    const CliWork work;
    const auto row = [](const Named& named) { return InCatalogueOrder(kClassicCatalogue, named); };
    const Named ann = {
        {"Last Name", "Lee"},     {"First Name", "Ann"},      {"Title", "Boss"},
        {"Company", kAcme},       {"Work Phone", "555-0101"}, {"E-Mail", "ann@acme.example"},
        {"Address", "1 Main St"}, {"City", "Springfield"},    {"State", "IL"},
        {"Zip", "62701"},         {"Country", "USA"},         {"Category", "Work"},
        {"Private", "1"},         {"Note", kAnnNote},         {"Custom 1", "Blue"}};
    const Named bob = {{"Last Name", "Ray"},         {"First Name", "Bob"},   {"Company", "Ray Co"},
                       {"Mobile Phone", "555-0202"}, {"Category", "Unfiled"}, {"Private", "0"}};
    Named annMoved = ann;
    annMoved["Company"] = "Acme Ltd.";
    // The new contact's Category and Private columns are not taken from the CSV file.
    const Named cy = {{"Last Name", "Doe"},          {"First Name", "Cy"},
                      {"Company", "Doe & \"Sons\""}, {"Work Phone", "555-0303"},
                      {"E-Mail", "cy@doe.example"},  {"City", "Shelbyville"},
                      {"Note", "New, \"hot\" lead"}, {"Custom 2", "Green"}};
    Named cyStored = cy;
    cyStored["Category"] = "Unfiled";
    cyStored["Private"] = "0";
    CheckRoundTrip(work, {.app = "contacts",
                          .dataFile = WriteClassic(work),
                          .catalogue = kClassicCatalogue,
                          .exported = {row(ann), row(bob)},
                          .importCsv = CsvLines({row(bob), row(annMoved), row(cy)}),
                          .importExtra = {},
                          .imported = 2,
                          .reexported = {row(annMoved), row(bob), row(cyStored)}});
}

TEST(CliConvertContacts, PalmSgFileExportsAndImports) {
    const CliWork work;
    const auto row = [](const Named& named) { return InCatalogueOrder(kPalmSgCatalogue, named); };
    const Named ann = {{"Last Name", "Lee"},
                       {"First Name", "Ann"},
                       {"Title", "Boss"},
                       {"Company", kAcme},
                       {"Work Phone", "555-0101"},
                       {"E-Mail", "ann@acme.example"},
                       {"Address(Work)", "1 Main St"},
                       {"City(Work)", "Springfield"},
                       {"State(Work)", "IL"},
                       {"Zip(Work)", "62701"},
                       {"Country(Work)", "USA"},
                       {"Custom 1", "Blue"},
                       {"Category", "Work"},
                       {"Private", "1"},
                       {"Note", kAnnNote},
                       {"Address(Home)", "2 Elm \"Road\""},
                       {"City(Home)", "Shelbyville"},
                       {"Address(Other)", "PO Box 9"},
                       {"Country(Other)", "Canada"},
                       {"Web Page", "acme.example/~ann"},
                       {"Birthday", std::to_string(kAnnBirthday)},
                       {"Chat 1", "ann.chat"},
                       {"Chat 2", "ann.chat2"},
                       {"Custom 9", "Nine"}};
    const Named bob = {{"Last Name", "Ray"},         {"First Name", "Bob"},   {"Company", "Ray Co"},
                       {"Mobile Phone", "555-0202"}, {"Category", "Unfiled"}, {"Private", "0"}};
    Named annMoved = ann;
    annMoved["Company"] = "Acme Ltd.";
    const Named cy = {{"Last Name", "Doe"},
                      {"First Name", "Cy"},
                      {"Company", "Doe & \"Sons\""},
                      {"Work Phone", "555-0303"},
                      {"E-Mail", "cy@doe.example"},
                      {"Address(Home)", "9 Hill Rd"},
                      {"City(Other)", "Capital City"},
                      {"Web Page", "doe.example"},
                      {"Chat 2", "cy.chat"},
                      {"Note", "New, \"hot\" lead"},
                      {"Custom 6", "Six"}};
    Named cyStored = cy;
    cyStored["Category"] = "Unfiled";
    cyStored["Private"] = "0";
    CheckRoundTrip(work, {.app = "contacts",
                          .dataFile = WriteEx(work),
                          .catalogue = kPalmSgCatalogue,
                          .exported = {row(ann), row(bob)},
                          .importCsv = CsvLines({row(bob), row(annMoved), row(cy)}),
                          .importExtra = {},
                          .imported = 2,
                          .reexported = {row(annMoved), row(bob), row(cyStored)}});
}

// Only the chosen columns reach the database: the updated contact keeps every other column.
TEST(CliConvertContacts, Palm6xDatabaseExportsAndImportsChosenColumns) {
    const CliWork work;
    const auto row = [](const Named& named) { return InCatalogueOrder(kPalm6xCatalogue, named); };
    const Named ann = {{"Private", "1"},
                       {"Category", "Work"},
                       {"Note", kAnnNote},
                       {"Prefix", "Dr"},
                       {"First Name", "Ann"},
                       {"Middle Name", "Q"},
                       {"Last Name", "Lee"},
                       {"Suffix", "Jr"},
                       {"NickName", "Annie"},
                       {"Profession", "Vet"},
                       {"Company", kAcme},
                       {"Job Title", "Boss"},
                       {"Assistant Name", "Sam"},
                       {"Assistant Phone", "555-0109"},
                       {"Work Street", "1 Main St"},
                       {"Work City", "Springfield"},
                       {"Home City", "Shelbyville"},
                       {"Other Country", "Canada"},
                       {"Work Phone", "555-0101"},
                       {"E-Mail", "ann@acme.example"},
                       {"Chat1", "ann.chat"},
                       {"Website", "acme.example"},
                       {"English Name", "Ann Lee"},
                       {"Picture URL", "pic://ann"},
                       {"Custom 1", "Blue"},
                       {"Custom 7", "Seven"},
                       {"Custom 14", "Fourteen"}};
    const Named bob = {{"Private", "0"},
                       {"First Name", "Bob"},
                       {"Last Name", "Ray"},
                       {"Company", "Ray Co"},
                       {"Mobile Phone", "555-0202"}};
    Named annMoved = ann;
    annMoved["Company"] = "Acme Ltd.";
    const Named cy = {{"Private", "0"},
                      {"First Name", "Cy"},
                      {"Last Name", "Doe"},
                      {"Company", "Doe & \"Sons\""},
                      {"E-Mail", "cy@doe.example"},
                      {"Mobile Phone", "555-0303"}};
    CheckRoundTrip(
        work,
        {.app = "contacts",
         .dataFile = WriteEx2(work),
         .catalogue = kPalm6xCatalogue,
         .exported = {row(ann), row(bob)},
         .importCsv = CsvLines({{"Bob", "Ray", "", "Ray Co", "555-0202"},
                                {"Ann", "Lee", "ann@acme.example", "Acme Ltd.", ""},
                                {"Cy", "Doe", "cy@doe.example", "Doe & \"Sons\"", "555-0303"}}),
         .importExtra = {"--fields", "First Name,Last Name,E-Mail,Company,Mobile Phone"},
         .imported = 2,
         .reexported = {row(annMoved), row(bob), row(cy)}});
}

}  // namespace tabrel
