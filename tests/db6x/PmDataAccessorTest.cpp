#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "misc/CxCodePage.h"
#include "palm/db6x/PmDataAccessor.h"
#include "palm/db6x/engine/DbValue.h"

namespace tabrel {

namespace {

using Names = std::vector<std::string_view>;
using Values = std::vector<DbValue>;

}  // namespace

TEST(DbValue, ReadingValuesByKind) {
    std::int32_t number = 99;
    EXPECT_TRUE(ValueToInteger(DbValue::Int8(-7), number) && number == -7);
    EXPECT_TRUE(ValueToInteger(MakeTextValue(" 42abc"), number) && number == 42);
    EXPECT_EQ(LeadingNumber(u"99999999999"), 2147483647);
    number = 99;
    EXPECT_FALSE(ValueToInteger(DbValue(), number) || ValueToInteger(MakeBooleanValue(1), number));
    std::uint8_t flag = 7;
    EXPECT_TRUE(ValueToBoolean(DbValue::Boolean(-1), flag) && flag == 1);
    EXPECT_FALSE(ValueToBoolean(MakeIntegerValue(1), flag));
    std::string text = "untouched";
    EXPECT_FALSE(ValueToText(MakeIntegerValue(1), text) || ValueToText(DbValue(), text));
    EXPECT_TRUE(number == 99 && flag == 1 && text == "untouched");

    // Text goes through the ANSI code page both ways and is cut only when asked.
    EXPECT_EQ(MakeTextValue("caf\xE9").GetText(), u"caf\u00E9");
    EXPECT_TRUE(ValueToText(DbValue::Text(u"\u00E9t\u00E9 \u20AC"), text) &&
                text == "\xE9t\xE9 \x80");
    EXPECT_TRUE(ValueToText(MakeTextValue(std::string(50000, 'n')), text) && text.size() == 50000);
    EXPECT_TRUE(ValueToText(MakeTextValue("abcdef"), text, 4) && text == "abc");
}

TEST(DbValue, PrefixAndUtf8KeepSurrogatePairsWhole) {
    EXPECT_EQ(Utf16Prefix(u"abc", 2), u"ab");
    EXPECT_EQ(Utf16Prefix(u"a\U0001F600", 2), u"a");
    EXPECT_EQ(Utf16Prefix(u"a\U0001F600", 3), u"a\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"\u00E9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}

TEST(PmDataAccessor, StatementTexts) {
    PmDataAccessor accessor;
    const Names recordNote = {"Record ID", "Note"};
    EXPECT_EQ(accessor.BuildMainSql("", SqlSelect, recordNote),
              "SELECT [Record ID], [Note] FROM Main ");

    const Names id = {"Record ID"};
    const std::string where7 = BuildWhere(id, Values{MakeIntegerValue(7)});
    EXPECT_EQ(accessor.BuildMainSql(where7, SqlUpdate, Names{"Note", "Private"},
                                    Values{MakeTextValue("It's"), MakeBooleanValue(1)}),
              "UPDATE Main SET [Note]='It''s', [Private]=1 WHERE [Record ID] = 7");

    const Names category = {"ID", "Name", "Status", "Color"};
    EXPECT_EQ(accessor.BuildCategorySql("", SqlInsert, category,
                                        Values{MakeIntegerValue(5), MakeTextValue("Travel"),
                                               MakeIntegerValue(1), MakeIntegerValue(0)}),
              "INSERT INTO Category ([ID], [Name], [Status], [Color]) VALUES (5, 'Travel', 1, 0)");
    EXPECT_EQ(BuildWhere(Names{"Record ID", "First Name"},
                         Values{MakeIntegerValue(7), MakeTextValue("O'Neil")}),
              "WHERE [Record ID] = 7 AND [First Name] = 'O''Neil'");

    EXPECT_EQ(accessor.BuildInformationSql("WHERE [Name] = 'x'", SqlDelete, Names{"Name"}),
              "DELETE FROM Information WHERE [Name] = 'x'");
    EXPECT_EQ(accessor.BuildMainSql("", SqlSelect, Names{}), "");
    EXPECT_EQ(accessor.BuildMainSql("", 5, recordNote), "");
    EXPECT_EQ(accessor.BuildMainSql("", SqlInsert, recordNote, Values{MakeIntegerValue(1)}), "");
    // An empty value is written as NULL rather than leaving a hole in the statement.
    EXPECT_EQ(accessor.BuildMainSql(where7, SqlUpdate, Names{"Note"}, Values{DbValue()}),
              "UPDATE Main SET [Note]=NULL WHERE [Record ID] = 7");

    DbRow row;
    EXPECT_FALSE(accessor.SelectFirst("Main", recordNote, row) ||
                 accessor.ExecuteSql("SELECT 1", true));
}

TEST(PmDataAccessor, InsertAppendsBlankBinaryColumnsByColumnCount) {
    std::vector<std::string> store;
    Names names;
    Values values;
    for (int i = 0; i < 95; ++i) {
        store.push_back("C" + std::to_string(i));
        values.push_back(MakeIntegerValue(i));
    }
    names.assign(store.begin(), store.end());
    const auto insert = [&](std::size_t n) {
        return BuildSql("Main", "", SqlInsert, std::span(names).first(n),
                        std::span(values).first(n));
    };
    EXPECT_EQ(insert(4), "INSERT INTO Main ([C0], [C1], [C2], [C3]) VALUES (0, 1, 2, 3)");
    EXPECT_TRUE(insert(6).ends_with("[C5], [Blob]) VALUES (0, 1, 2, 3, 4, 5, 0x00000000)"));
    EXPECT_TRUE(insert(30).ends_with("29, 0x00000000)"));
    EXPECT_NE(insert(95).find("[C94], [Photo], [VoiceTag], [Ringtone], [Blob]) VALUES (0, "),
              std::string::npos);
    EXPECT_TRUE(insert(31).ends_with("30, 0x00000000, 0x00000000, 0x00000000, 0x00000000)"));
}

TEST(PmDataAccessor, LiteralsAndPrefixConditions) {
    EXPECT_EQ(FormatLiteral(MakeTextValue("")), "''");
    EXPECT_EQ(FormatLiteral(MakeBooleanValue(0)), "0");
    EXPECT_EQ(FormatLiteral(DbValue::Boolean(-1)), "1");
    EXPECT_EQ(FormatLiteral(MakeIntegerValue(-5)), "-5");
    EXPECT_EQ(FormatLiteral(MakeNumberTextValue(3)), "'3'");
    EXPECT_EQ(FormatLiteral(DbValue()), "");
    // Literals are UTF-8, whole, with every quote doubled: nothing is cut.
    EXPECT_EQ(FormatLiteral(MakeTextValue("\xE9'")), "'\xC3\xA9'''");
    const std::string longNote(50000, 'q');
    EXPECT_EQ(FormatLiteral(MakeTextValue(longNote)), "'" + longNote + "'");

    const Names note = {"Note"};
    const std::string text300 = std::string(255, 'a') + "'" + std::string(44, 'b');
    EXPECT_EQ(BuildWhere(note, Values{MakeTextValue(text300)}),
              "WHERE LEFT([Note], 256) = '" + std::string(255, 'a') + "'''");
    // The threshold is the literal's length: 253 characters and two quotes stay plain,
    // 254 do not; a quote counts twice.
    EXPECT_EQ(BuildWhere(note, Values{MakeTextValue(std::string(253, 'x'))}),
              "WHERE [Note] = '" + std::string(253, 'x') + "'");
    EXPECT_EQ(BuildWhere(note, Values{MakeTextValue(std::string(254, 'x'))}),
              "WHERE LEFT([Note], 256) = '" + std::string(254, 'x') + "'");
    EXPECT_TRUE(BuildWhere(note, Values{MakeTextValue(std::string(252, 'x') + "'")})
                    .starts_with("WHERE LEFT("));
    // Characters are counted as the database counts them, not as UTF-8 bytes.
    const DbValue wide = DbValue::Text(std::u16string(200, u'\u00E9'));
    EXPECT_EQ(BuildWhere(note, Values{wide}), "WHERE [Note] = " + FormatLiteral(wide));
    EXPECT_EQ(BuildWhere(Names{"Record ID", "Note"}, Values{MakeIntegerValue(0), DbValue()}),
              "WHERE [Record ID] = 0 AND [Note] IS NULL");
    EXPECT_EQ(BuildWhere(Names{}, Values{}), "");
    EXPECT_EQ(BuildWhere(note, Values{}), "");
}

}  // namespace tabrel
