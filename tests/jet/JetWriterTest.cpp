// The Jet 4 test writer, checked byte by byte where the layout matters and read back by an
// independent reader, mdbtools' mdb-tables and mdb-export.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/Db6xWriter.h"
#include "support/JetWriter.h"
#include "support/RunProgram.h"
#include "support/TestSupport.h"

namespace tabrel::test {
namespace {

const std::string kNull = "<NULL>";

#define REQUIRE_MDBTOOLS()                                                  \
    if (FindTool("mdb-export").empty() || FindTool("mdb-tables").empty()) { \
        GTEST_SKIP() << "mdb-export is not installed";                      \
    }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

// A database file in a temporary folder.
class JetFile {
  public:
    explicit JetFile(const std::vector<JetTable>& tables, const JetOptions& options = {})
        : m_bytes(BuildJetDatabase(tables, options)), m_path(m_dir.File("test.mdb")) {
        WriteFile(m_path, m_bytes);
    }
    const std::string& Path() const { return m_path; }
    const Bytes& Data() const { return m_bytes; }

    std::vector<std::string> TableNames(bool system = false) const {
        std::vector<std::string> args{"-1"};
        if (system) {
            args.push_back("-S");
        }
        args.push_back(m_path);
        const ProgramResult result = RunProgramAndWait(FindTool("mdb-tables"), args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return Lines(result.out);
    }

    // The rows of a table as mdb-export prints them: no header, no quotes, cells split by
    // '|', NULL as <NULL>, dates as "%Y-%m-%d %H:%M:%S".
    std::vector<std::string> Export(const std::string& table) const {
        const ProgramResult result = RunProgramAndWait(
            FindTool("mdb-export"),
            {"-H", "-Q", "-d", "|", "-0", kNull, "-T", "%Y-%m-%d %H:%M:%S", m_path, table});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return Lines(result.out);
    }

  private:
    TempDir m_dir;
    Bytes m_bytes;
    std::string m_path;
};

// The lines mdb-export gives for rows of integers, Yes/No, texts and bytes. It prints an
// empty text like a NULL, and a NULL Yes/No as No.
std::vector<std::string> Expected(const JetTable& table) {
    std::vector<std::string> lines;
    for (const auto& row : table.rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::string cell = kNull;
            if (const auto* number = std::get_if<std::int64_t>(&row[c])) {
                cell = std::to_string(*number);
            } else if (const auto* text = std::get_if<std::string>(&row[c])) {
                cell = text->empty() ? kNull : *text;
            } else if (table.columns[c].type == JetType::Bool) {
                cell = "0";
            }
            line += (c == 0 ? "" : "|") + cell;
        }
        lines.push_back(line);
    }
    return lines;
}

std::uint32_t U32At(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

bool Contains(const Bytes& data, const Bytes& part) {
    return std::search(data.begin(), data.end(), part.begin(), part.end()) != data.end();
}

// A text of n characters that changes along its length, so a part read twice or out of
// order shows.
std::string LongText(std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        text += static_cast<char>('a' + (i / 7 + i) % 26);
    }
    return text;
}

// A Palm "Main" row: each column a value of its type, distinct per row and column.
std::vector<JetValue> PalmRow(const std::vector<JetColumn>& columns, int row) {
    std::vector<JetValue> cells;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        switch (columns[c].type) {
            case JetType::Long:
                cells.emplace_back(std::int64_t{row * 1000 + static_cast<int>(c)});
                break;
            case JetType::Bool:
                cells.emplace_back(std::int64_t{(row + static_cast<int>(c)) % 2});
                break;
            case JetType::Ole:
                cells.emplace_back(row % 3 == 0 ? JetValue{}
                                                : JetValue{"blob" + std::to_string(row)});
                break;
            default:
                cells.emplace_back("r" + std::to_string(row) + " c" + std::to_string(c));
                break;
        }
    }
    return cells;
}

// --- byte layouts ---

TEST(JetWriter, HeaderPageIsJet4WithEncodedRegion) {
    const Bytes file = BuildJetDatabase({JetTable{"T", {{"A", JetType::Long}}, {}}});
    ASSERT_EQ(file.size() % 4096, 0u);
    const Bytes start(file.begin(), file.begin() + 0x20);
    const Bytes expected = ByteWriter()
                               .U32(0x00000100)
                               .Text("Standard Jet DB")
                               .U8(0)
                               .U32(1)  // Jet 4
                               // The encoded region from 0x18 is the RC4 key stream of key
                               // 0x6B39DAC7 where the decoded bytes are zero.
                               .U8(0xB5)
                               .U8(0x6F)
                               .U8(0x03)
                               .U8(0x62)
                               .U8(0x61)
                               .U8(0x08)
                               .U8(0xC2)
                               .U8(0x55)
                               .Get();
    EXPECT_EQ(start, expected);
    EXPECT_EQ(file[2 * 4096], 0x02);       // MSysObjects' definition on page 2
    EXPECT_EQ(file[2 * 4096 + 40], 0x53);  // a system table
}

TEST(JetWriter, PasswordIsStoredUtf16AndMaskedInTheHeader) {
    const std::vector<JetTable> tables{JetTable{"T", {{"A", JetType::Long}}, {{std::int64_t{1}}}}};
    const Bytes plain = BuildJetDatabase(tables);
    const Bytes locked = BuildJetDatabase(tables, {true, "Geheim"});
    ASSERT_EQ(plain.size(), locked.size());
    // Both files share the key stream and the creation-date mask, so their XOR over the
    // 40-byte password field is the bare password in UTF-16LE, zero-padded.
    Bytes difference;
    for (std::size_t i = 0x42; i < 0x42 + 40; ++i) {
        difference.push_back(plain[i] ^ locked[i]);
    }
    Bytes password = ByteWriter().Utf16("Geheim").Get();
    password.resize(40, 0);
    EXPECT_EQ(difference, password);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (i < 0x42 || i >= 0x42 + 40) {
            ASSERT_EQ(plain[i], locked[i]) << "byte " << i;
        }
    }
    EXPECT_THROW(BuildJetDatabase(tables, {true, std::string(21, 'x')}), std::invalid_argument);

    REQUIRE_MDBTOOLS();
    const JetFile file(tables, {true, "Geheim"});
    EXPECT_EQ(file.TableNames(), std::vector<std::string>{"T"});
    EXPECT_EQ(file.Export("T"), std::vector<std::string>{"1"});
}

TEST(JetWriter, DataPageAndRowLayout) {
    // Pages: 0 header, 1 maps, 2 and 3 definitions, 4 catalogue rows, 5 the row below.
    const Bytes file = BuildJetDatabase(
        {JetTable{"T",
                  {{"Id", JetType::Long}, {"Name", JetType::Text, 20}, {"Flag", JetType::Bool}},
                  {{std::int64_t{7}, std::string("Hello"), std::int64_t{1}}}}});
    ASSERT_EQ(file.size(), 6u * 4096);
    const Bytes row = ByteWriter()
                          .U16(3)  // columns
                          .U32(7)  // Id
                          .U8(0xFF)
                          .U8(0xFE)
                          .Text("Hello")  // Name, compressed
                          .U16(13)        // end of variable data
                          .U16(6)         // offset of Name
                          .U16(1)         // variable columns
                          .U8(0x07)       // null mask
                          .Get();
    const std::size_t page = 5 * 4096;
    const Bytes header(file.begin() + page, file.begin() + page + 16);
    const Bytes expectedHeader = ByteWriter()
                                     .U8(0x01)
                                     .U8(0x01)
                                     .U16(4096 - 14 - 2 - 20)  // free space
                                     .U32(3)                   // definition page
                                     .U32(0)
                                     .U16(1)          // rows
                                     .U16(4096 - 20)  // offset of row 0
                                     .Get();
    EXPECT_EQ(header, expectedHeader);
    EXPECT_EQ(Bytes(file.begin() + page + 4096 - 20, file.begin() + page + 4096), row);

    // The definition: 3 columns, 1 variable; Name's entry a compressed text of 40 bytes.
    const std::size_t tdef = 3 * 4096;
    EXPECT_EQ(file[tdef], 0x02);
    EXPECT_EQ(file[tdef + 40], 0x4E);
    EXPECT_EQ(file[tdef + 43], 1);
    EXPECT_EQ(file[tdef + 45], 3);
    const std::size_t name = tdef + 63 + 25;
    EXPECT_EQ(file[name], 0x0A);
    EXPECT_EQ(file[name + 15], 0x02);  // variable, updatable
    EXPECT_EQ(file[name + 16], 0x01);  // compressed unicode
    EXPECT_EQ(file[name + 23], 40);
}

TEST(JetWriter, TextIsCompressedOnlyWhereItCanBeAndIsShorter) {
    const auto file = [](const std::string& text, bool compress) {
        return BuildJetDatabase({JetTable{"T", {{"A", JetType::Text}}, {{text}}}}, {compress, ""});
    };
    // Latin letters stay one byte each, the Greek ones after a switch to two bytes each.
    const Bytes mixed = ByteWriter()
                            .U8(0xFF)
                            .U8(0xFE)
                            .Text("Anna ")
                            .U8(0x00)
                            .U16(0x03A9)
                            .U16(0x03BC)
                            .U16(0x03AD)
                            .U16(0x03B3)
                            .U16(0x03B1)
                            .Get();
    EXPECT_TRUE(Contains(file("Anna Ωμέγα", true), mixed));
    const Bytes utf16 = ByteWriter().U16('A').U16('n').U16('n').U16('a').U16(' ').U16(0x03A9).Get();
    EXPECT_TRUE(Contains(file("Anna Ωμέγα", false), utf16));
    // U+4E00 has a zero low byte, which the compressed form cannot hold.
    EXPECT_TRUE(
        Contains(file("abcdef\u4e00gh", true), ByteWriter().U16('f').U16(0x4E00).U16('g').Get()));
    // All Greek: the compressed form would be longer.
    EXPECT_FALSE(Contains(file("ΩΩΩΩ", true), Bytes{0xFF, 0xFE, 0x00, 0xA9}));
}

TEST(JetWriter, RefusesTablesItCannotWrite) {
    const auto build = [](JetTable table) { return BuildJetDatabase({std::move(table)}); };
    EXPECT_THROW(build({"T", {{"A", JetType::Long}}, {{std::int64_t{1}, std::int64_t{2}}}}),
                 std::invalid_argument);
    EXPECT_THROW(build({"T", {{"A", JetType::Long}}, {{std::string("x")}}}), std::invalid_argument);
    EXPECT_THROW(build({"T", {{"A", JetType::Int}}, {{std::int64_t{40000}}}}),
                 std::invalid_argument);
    EXPECT_THROW(build({"T", {{"A", JetType::Text, 3}}, {{std::string("abcd")}}}),
                 std::invalid_argument);
    EXPECT_THROW(build({"T", {{"A", JetType::Guid}}, {{std::string("{1234}")}}}),
                 std::invalid_argument);
    EXPECT_THROW(build({"", {{"A", JetType::Long}}, {}}), std::invalid_argument);
    EXPECT_THROW(build({"T", {{"A", JetType::Text, 255, true}}, {}}), std::invalid_argument);
    // Twenty full text columns do not fit one page.
    JetTable wide{"T", {}, {{}}};
    for (int c = 0; c < 20; ++c) {
        wide.columns.push_back({"C" + std::to_string(c), JetType::Text});
        wide.rows[0].emplace_back(std::string(255, 'x'));
    }
    EXPECT_THROW(build(wide), std::invalid_argument);
}

TEST(JetWriter, PalmColumnsFollowTheSqliteColumnLists) {
    const auto check = [](JetPalmApp app, std::span<const Db6xColumn> declared) {
        const std::vector<JetColumn> columns = JetMainColumns(app);
        ASSERT_EQ(columns.size(), declared.size());
        for (std::size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(columns[i].name, declared[i].name);
            EXPECT_EQ(columns[i].type, JetTypeFromDeclared(declared[i].type));
        }
    };
    check(JetPalmApp::Contacts, kAddrColumns);
    check(JetPalmApp::Calendar, kDateColumns);
    check(JetPalmApp::Tasks, kTodoColumns);
    check(JetPalmApp::Memos, kMemoColumns);
    EXPECT_EQ(JetTypeFromDeclared("INTEGER"), JetType::Long);
    EXPECT_EQ(JetTypeFromDeclared("BIT"), JetType::Bool);
    EXPECT_EQ(JetTypeFromDeclared("TEXT"), JetType::Text);
    EXPECT_EQ(JetTypeFromDeclared("MEMO"), JetType::Memo);
    EXPECT_EQ(JetTypeFromDeclared("LONGBINARY"), JetType::Ole);
    EXPECT_EQ(JetTypeFromDeclared("DATETIME"), JetType::DateTime);
    const std::vector<JetTable> tables = JetPalmTables(JetPalmApp::Memos);
    ASSERT_EQ(tables.size(), 3u);
    EXPECT_EQ(tables[0].name, "Information");
    EXPECT_EQ(tables[1].name, "Category");
    EXPECT_EQ(tables[1].columns.size(), 4u);
    EXPECT_EQ(tables[2].name, "Main");
}

// --- read back by mdbtools ---

TEST(JetWriter, MdbToolsListExactlyTheWrittenTables) {
    REQUIRE_MDBTOOLS();
    std::vector<JetTable> tables;
    for (const std::string name : {"Zeta", "Alpha", "Main", "Ελληνικά"}) {
        tables.push_back({name, {{"A", JetType::Long}}, {}});
    }
    const JetFile file(tables);
    EXPECT_EQ(file.TableNames(), (std::vector<std::string>{"Zeta", "Alpha", "Main", "Ελληνικά"}));
    EXPECT_EQ(file.TableNames(true),
              (std::vector<std::string>{"MSysObjects", "Zeta", "Alpha", "Main", "Ελληνικά"}));
    // The catalogue: the "Tables" container, itself, then one entry per table whose Id is
    // its definition page (3 to 6) under the container.
    const std::string dates = "|2006-04-01 12:00:00|2006-04-01 12:00:00|";
    const std::string rest = "|<NULL>|<NULL>|<NULL>|<NULL>";
    EXPECT_EQ(
        file.Export("MSysObjects"),
        (std::vector<std::string>{"251658241|251658240|Tables|3" + dates + "-2147483648" + rest,
                                  "2|251658241|MSysObjects|1" + dates + "-2147483646" + rest,
                                  "3|251658241|Zeta|1" + dates + "0" + rest,
                                  "4|251658241|Alpha|1" + dates + "0" + rest,
                                  "5|251658241|Main|1" + dates + "0" + rest,
                                  "6|251658241|Ελληνικά|1" + dates + "0" + rest}));
}

TEST(JetWriter, MdbExportReadsEveryColumnTypeAndNulls) {
    REQUIRE_MDBTOOLS();
    JetTable table{"AllTypes",
                   {{"Id", JetType::Long, 255, true},
                    {"Yes", JetType::Bool},
                    {"Byte", JetType::Byte},
                    {"Int", JetType::Int},
                    {"Long", JetType::Long},
                    {"Money", JetType::Money},
                    {"Float", JetType::Float},
                    {"Double", JetType::Double},
                    {"When", JetType::DateTime},
                    {"Bin", JetType::Binary, 10},
                    {"Text", JetType::Text, 40},
                    {"Ole", JetType::Ole},
                    {"Memo", JetType::Memo},
                    {"Guid", JetType::Guid},
                    {"Dec", JetType::Numeric, 255, false, 18, 3}},
                   {}};
    table.rows.push_back(
        {JetValue{}, std::int64_t{1}, std::int64_t{255}, std::int64_t{-32768},
         std::int64_t{-2147483647}, 1234.5678, 1.5, -3.25, 38808.75, std::string("abc"),
         std::string("Text é"), std::string("ole bytes"), std::string("memo"),
         std::string("{12345678-9ABC-DEF0-1122-334455667788}"), std::string("-12.345")});
    table.rows.push_back(std::vector<JetValue>(table.columns.size()));
    table.rows.push_back({std::int64_t{10}, std::int64_t{0}, std::int64_t{0}, std::int64_t{32767},
                          std::int64_t{2147483647}, -0.5, 0.25, 1e10, 36526.0, std::string("z"),
                          std::string("x"), std::string("o"), std::string("m"),
                          std::string("{00000000-0000-0000-0000-000000000001}"), std::int64_t{42}});
    const JetFile file({table});
    // The NULL autonumbers continue after the highest one given. mdb-export prints a GUID
    // without the dash between its last two groups.
    EXPECT_EQ(file.Export("AllTypes"),
              (std::vector<std::string>{
                  "11|1|255|-32768|-2147483647|1234.5678|1.5|-3.25|2006-04-01 18:00:00|abc|"
                  "Text é|ole bytes|memo|{12345678-9ABC-DEF0-1122334455667788}|-12.345",
                  "12|0|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>|<NULL>|"
                  "<NULL>|<NULL>|<NULL>",
                  "10|0|0|32767|2147483647|-0.5000|0.25|10000000000|2000-01-01 00:00:00|z|x|o|m|"
                  "{00000000-0000-0000-0000000000000001}|42.000"}));
}

TEST(JetWriter, MdbExportReadsAnEmptyTableAndAutoNumbers) {
    REQUIRE_MDBTOOLS();
    JetTable numbered{"Numbered", {{"N", JetType::Long, 255, true}, {"T", JetType::Text}}, {}};
    numbered.rows = {{JetValue{}, std::string("a")},
                     {std::int64_t{5}, std::string("b")},
                     {JetValue{}, std::string("c")}};
    const JetFile file(
        {JetTable{"Empty", {{"A", JetType::Long}, {"B", JetType::Memo}}, {}}, numbered});
    EXPECT_EQ(file.Export("Empty"), std::vector<std::string>{});
    EXPECT_EQ(file.Export("Numbered"), (std::vector<std::string>{"6|a", "5|b", "7|c"}));
}

TEST(JetWriter, MdbExportReadsLongValuesInlineOnOnePageAndChained) {
    REQUIRE_MDBTOOLS();
    JetTable table{
        "Long", {{"Id", JetType::Long}, {"Memo", JetType::Memo}, {"Ole", JetType::Ole}}, {}};
    const std::string huge = LongText(100000);  // 200,000 bytes of UTF-16
    table.rows = {{std::int64_t{1}, std::string("inline"), std::string("tiny")},
                  {std::int64_t{2}, LongText(1500), LongText(4000)},
                  {std::int64_t{3}, huge, LongText(70000)},
                  {std::int64_t{4}, LongText(300), JetValue{}}};
    const JetFile file({table});
    EXPECT_GT(file.Data().size(), 50u * 4096);
    EXPECT_EQ(file.Export("Long"), Expected(table));
}

TEST(JetWriter, MdbExportReadsNonLatinTextCompressedOrNot) {
    REQUIRE_MDBTOOLS();
    for (const bool compress : {true, false}) {
        JetTable table{"Words", {{"Text", JetType::Text, 100}, {"Memo", JetType::Memo}}, {}};
        for (const std::string text : {"Ωμέγα", "Anna Ωμέγα", "Привет, мир", "東京都 渋谷区",
                                       "abcdef一gh", "plain ascii", "mixed Ж and 日本 and ß"}) {
            table.rows.push_back({text, text + " / " + text});
        }
        const JetFile file({table}, {compress, ""});
        EXPECT_EQ(file.Export("Words"), Expected(table)) << "compress " << compress;
    }
}

TEST(JetWriter, MdbExportReadsManyContactsOverSeveralDataPages) {
    REQUIRE_MDBTOOLS();
    std::vector<JetTable> tables = JetPalmTables(JetPalmApp::Contacts);
    JetTable& main = tables[2];
    for (int row = 0; row < 2000; ++row) {
        main.rows.push_back(PalmRow(main.columns, row));
    }
    const JetFile file(tables);
    EXPECT_GT(file.Data().size(), 300u * 4096);
    // The definition of the 99 columns goes on over a second page.
    const std::size_t mainDefinition = 5 * 4096;
    const std::uint32_t next = U32At(file.Data(), mainDefinition + 4);
    ASSERT_NE(next, 0u);
    EXPECT_EQ(file.Data()[next * 4096], 0x02);
    const std::vector<std::string> rows = file.Export("Main");
    const std::vector<std::string> expected = Expected(main);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i], expected[i]) << "row " << i;
    }
}

TEST(JetWriter, MdbExportReadsThePalmTablesOfEachApplication) {
    REQUIRE_MDBTOOLS();
    for (const JetPalmApp app :
         {JetPalmApp::Contacts, JetPalmApp::Calendar, JetPalmApp::Tasks, JetPalmApp::Memos}) {
        std::vector<JetTable> tables = JetPalmTables(app);
        tables[0].rows = {{std::string("Version"), std::string("6.0.108")}};
        tables[1].rows = {
            {std::int64_t{0}, std::string("Unfiled"), std::int64_t{1}, std::int64_t{0}},
            {std::int64_t{1}, std::string("Business"), std::int64_t{1}, std::int64_t{3}},
            {std::int64_t{2}, std::string("Persönlich"), std::int64_t{0}, std::int64_t{5}}};
        for (int row = 0; row < 5; ++row) {
            tables[2].rows.push_back(PalmRow(tables[2].columns, row));
        }
        tables[2].rows.push_back(std::vector<JetValue>(tables[2].columns.size()));
        const JetFile file(tables);
        EXPECT_EQ(file.TableNames(), (std::vector<std::string>{"Information", "Category", "Main"}));
        for (const JetTable& table : tables) {
            EXPECT_EQ(file.Export(table.name), Expected(table)) << table.name;
        }
    }
}

TEST(JetWriter, MdbExportReadsExtraTablesAndColumns) {
    REQUIRE_MDBTOOLS();
    std::vector<JetTable> tables = JetPalmTables(JetPalmApp::Memos);
    tables[2].columns.push_back({"Extra Ζ", JetType::Text, 30});
    tables[2].columns.push_back({"Extra Number", JetType::Long});
    std::vector<JetValue> row = PalmRow(JetMainColumns(JetPalmApp::Memos), 1);
    row.emplace_back(std::string("Zusatz"));
    row.emplace_back(std::int64_t{-7});
    tables[2].rows.push_back(row);
    tables.insert(tables.begin() + 1,
                  JetTable{"Settings", {{"Key", JetType::Text}}, {{std::string("k")}}});
    tables.push_back({"Later", {{"X", JetType::Double}}, {{2.5}}});
    const JetFile file(tables);
    EXPECT_EQ(file.TableNames(),
              (std::vector<std::string>{"Information", "Settings", "Category", "Main", "Later"}));
    EXPECT_EQ(file.Export("Main"), Expected(tables[3]));
    EXPECT_EQ(file.Export("Settings"), std::vector<std::string>{"k"});
    EXPECT_EQ(file.Export("Later"), std::vector<std::string>{"2.5"});
}

}  // namespace
}  // namespace tabrel::test
