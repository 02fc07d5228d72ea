// The CSV text format: quoting, the title row, splitting records, multi-line records and
// the pass's output file that replaces the CSV file only when committed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CSV.h"
#include "engine/CsvFile.h"
#include "engine/CsvFormat.h"
#include "support/TestSupport.h"

namespace tabrel {

using namespace test;

namespace {

std::vector<std::string> Items(const std::string& line, char quote) {
    CSV csv(quote);
    EXPECT_TRUE(csv.parse(line)) << line;
    std::vector<std::string> items;
    for (std::size_t i = 0; i < csv.count(); ++i) {
        items.push_back(csv.item(i));
    }
    return items;
}

std::string Line(const std::vector<std::string>& values, char quote) {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        line += (i > 0 ? "," : "") + QuoteValue(values[i], quote);
    }
    return line;
}

std::vector<std::string> Records(const std::string& path, char quote) {
    CsvInput input;
    EXPECT_TRUE(input.Open(path));
    std::vector<std::string> records;
    std::string record;
    while (input.Next(record, quote)) {
        records.push_back(record);
    }
    return records;
}

}  // namespace

TEST(CsvFormat, QuotesValues) {
    EXPECT_EQ(CsvQuoteOf(""), '\0');
    EXPECT_EQ(CsvQuoteOf("\""), '"');
    EXPECT_EQ(CsvQuoteOf("##"), '#');

    EXPECT_EQ(Line({"a", "b", "c"}, '\0'), "a,b,c");
    EXPECT_EQ(Line({"a", "b", "c"}, '"'), "\"a\",\"b\",\"c\"");
    EXPECT_EQ(Line({"a", "b"}, '#'), "#a#,#b#");
    // Without a quotation character nothing protects a comma.
    EXPECT_EQ(QuoteValue("x,y", '\0'), "x,y");
    // A quotation character inside a value is doubled; other characters stay.
    EXPECT_EQ(QuoteValue("say \"hi\", ok\r\nnext", '"'), "\"say \"\"hi\"\", ok\r\nnext\"");
    EXPECT_EQ(QuoteValue("it's", '\''), "'it''s'");
    EXPECT_EQ(QuoteValue("", '"'), "\"\"");
    // A value is cut to 32765 characters before quoting.
    EXPECT_EQ(QuoteValue(std::string(40000, 'v'), '"'), "\"" + std::string(32765, 'v') + "\"");
    EXPECT_EQ(QuoteValue(std::string(40000, 'v'), '\0').size(), 32765u);
}

TEST(CsvFormat, TitleRow) {
    const std::vector<std::string> names = {"Last Name", "First Name", "Custom Field"};
    EXPECT_EQ(CsvTitleRow(names), "Last Name,First Name,Custom Field");
    EXPECT_EQ(CsvTitleRow({}), "");
}

TEST(CsvSplitter, SplitsRecords) {
    EXPECT_EQ(Items("a,b,c", '\0'), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Items("\"a\",\"b\",\"c\"", '"'), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Items(",", '"'), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Items("one", '"'), (std::vector<std::string>{"one"}));
    // Quoted items keep their commas; doubled quotation characters read as one.
    EXPECT_EQ(Items("\"x,y\",\"say \"\"hi\"\"\"", '"'),
              (std::vector<std::string>{"x,y", "say \"hi\""}));
    // Unquoted splitting keeps the quotation characters; an item that is not enclosed is
    // taken as it stands.
    EXPECT_EQ(Items("\"a\",b", '\0'), (std::vector<std::string>{"\"a\"", "b"}));
    EXPECT_EQ(Items("abc,\"d\"", '"'), (std::vector<std::string>{"abc", "d"}));
    EXPECT_EQ(Items("\"", '"'), (std::vector<std::string>{"\""}));

    CSV csv('"');
    EXPECT_FALSE(csv.parse(""));
    ASSERT_TRUE(csv.parse("a,b"));
    EXPECT_FALSE(csv.parse(""));  // keeps what it held
    EXPECT_EQ(csv.count(), 2u);
    EXPECT_EQ(csv.item(5), "");
}

TEST(CsvSplitter, ValuesRoundTrip) {
    const std::vector<std::string> values = {
        "plain", "with, comma", "with \"quotes\"", "line one\r\nline two", "", "'single'"};
    for (const char quote : {'"', '\'', '#'}) {
        SCOPED_TRACE(quote);
        EXPECT_EQ(Items(Line(values, quote), quote), values);
    }
}

TEST(CsvInput, JoinsLinesOfAQuotedItem) {
    TempDir dir;
    const std::string path = dir.File("notes.csv");
    WriteTextFile(path,
                  "\"a\",\"first\r\nsecond\nthird\"\r\n"
                  "\"b\",\"one line\"\r\n"
                  "\r\n"
                  "unquoted,\"open\n");
    EXPECT_EQ(Records(path, '"'),
              (std::vector<std::string>{"\"a\",\"first\r\nsecond\nthird\"", "\"b\",\"one line\"",
                                        "", "unquoted,\"open"}));
    // Unquoted, every physical line is a record.
    EXPECT_EQ(Records(path, '\0').size(), 6u);
}

TEST(CsvInput, SkipsAndRemembersAByteOrderMark) {
    TempDir dir;
    const std::string path = dir.File("bom.csv");
    WriteTextFile(path, "\xEF\xBB\xBFname,x\r\n");
    EXPECT_EQ(Records(path, '\0'), (std::vector<std::string>{"name,x"}));
    CsvInput input;
    ASSERT_TRUE(input.Open(path));
    EXPECT_TRUE(input.HasUtf8Bom());
    WriteTextFile(path, "ab");
    EXPECT_EQ(Records(path, '\0'), (std::vector<std::string>{"ab"}));
    ASSERT_TRUE(input.Open(path));
    EXPECT_FALSE(input.HasUtf8Bom());
    CsvInput missing;
    EXPECT_FALSE(missing.Open(dir.File("none.csv")));
}

// Old Macintosh programs end lines with a CR alone; a CR inside a quoted item stays in it.
TEST(CsvInput, ACarriageReturnAloneEndsALine) {
    TempDir dir;
    const std::string path = dir.File("mac.csv");
    WriteTextFile(path, "\"a\",\"1\"\r\"b\",\"two\rlines\"\r\r\"c\",\"3\"\r\n\"d\"\r");
    EXPECT_EQ(Records(path, '"'), (std::vector<std::string>{"\"a\",\"1\"", "\"b\",\"two\rlines\"",
                                                            "", "\"c\",\"3\"", "\"d\""}));
}

TEST(CsvOutput, ReplacesTheFileOnlyWhenCommitted) {
    TempDir dir;
    const std::string path = dir.File("out.csv");
    WriteTextFile(path, "old\r\n");
    {
        CsvOutput output;
        ASSERT_TRUE(output.Begin(path, false));
        ASSERT_TRUE(output.WriteLine("new"));
        EXPECT_EQ(ReadTextFile(path), "old\r\n");  // untouched until the commit
    }
    EXPECT_EQ(ReadTextFile(path), "old\r\n");  // abandoned
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Folder()),
                            std::filesystem::directory_iterator()),
              1);

    CsvOutput output;
    ASSERT_TRUE(output.Begin(path, true));
    ASSERT_TRUE(output.WriteLine("appended"));
    ASSERT_TRUE(output.Commit());
    EXPECT_EQ(ReadTextFile(path), "old\r\nappended\r\n");

    ASSERT_TRUE(output.Begin(path, false));
    ASSERT_TRUE(output.WriteLine(std::string(70000, 'L')));  // a long line is written whole
    ASSERT_TRUE(output.Commit());
    EXPECT_EQ(ReadTextFile(path), std::string(70000, 'L') + "\r\n");

    // A CSV file reached through a symbolic link is written where the link points.
    const std::string link = dir.File("link.csv");
    std::filesystem::create_symlink(path, link);
    ASSERT_TRUE(output.Begin(link, true));
    ASSERT_TRUE(output.WriteLine("through the link"));
    ASSERT_TRUE(output.Commit());
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadTextFile(path), std::string(70000, 'L') + "\r\nthrough the link\r\n");

    // A new file in a folder that does not exist cannot be begun.
    EXPECT_FALSE(output.Begin(dir.File("no/such/out.csv"), false));
    EXPECT_FALSE(output.WriteLine("x"));
    EXPECT_FALSE(output.Commit());
}

}  // namespace tabrel
