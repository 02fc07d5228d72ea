#include <gtest/gtest.h>

#include "misc/CxCodePage.h"

namespace tabrel {

class CxCodePage : public ::testing::Test {
  protected:
    void TearDown() override { SetAnsiCodePage(""); }
};

TEST_F(CxCodePage, Windows1252IsTheDefaultAndUnknownNamesKeepIt) {
    SetAnsiCodePage("");
    EXPECT_EQ(GetAnsiCodePage(), "CP1252");
    SetAnsiCodePage("no-such-code-page");
    EXPECT_EQ(GetAnsiCodePage(), "CP1252");
    SetAnsiCodePage("1251");
    EXPECT_EQ(GetAnsiCodePage(), "CP1251");
}

TEST_F(CxCodePage, NarrowsAndWidensWithQuestionMarksForWhatTheCodePageLacks) {
    // "Grüße €" with a Cyrillic letter that Windows-1252 lacks.
    const std::u16string wide = u"Gr\u00fc\u00dfe \u20ac\u0416";
    EXPECT_EQ(ToNarrow(wide, 64),
              "Gr\xfc\xdf"
              "e \x80?");
    EXPECT_EQ(ToWide("Gr\xfc\xdf"
                     "e \x80",
                     64),
              u"Gr\u00fc\u00dfe \u20ac");
    // A character outside the basic plane is one character, one question mark.
    EXPECT_EQ(ToNarrow(u"a\U0001F600b", 64), "a?b");
    // Units whose bytes are each below 0x80 are not ASCII for that.
    EXPECT_EQ(ToNarrow(u"\u4100\u0041", 64), "?A");
}

TEST_F(CxCodePage, ACodePageThatChangesAsciiIsAskedOfIconvForAsciiTextToo) {
    SetAnsiCodePage("UTF-7");  // "+" opens an encoded run there
    EXPECT_EQ(Utf8ToAnsi("a+b"), "a+-b");
    EXPECT_EQ(ToNarrow(u"a+b", 64), "a+-b");
    SetAnsiCodePage("");
    EXPECT_EQ(Utf8ToAnsi("a+b"), "a+b");
}

TEST_F(CxCodePage, Windows1252GapsMapToTheControlCharactersOfTheirNumber) {
    const std::string gaps =
        "a\x81\x8d\x8f\x90\x9d"
        "b";
    const std::u16string wide = ToWide(gaps, 64);
    EXPECT_EQ(wide, u"a\u0081\u008d\u008f\u0090\u009db");
    EXPECT_EQ(ToNarrow(wide, 64), gaps);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(gaps)), gaps);
    // Another code page keeps its own rules.
    SetAnsiCodePage("1251");
    EXPECT_EQ(ToNarrow(u"\u0403", 8), "\x81");  // Cyrillic Gje is 0x81 there
    EXPECT_EQ(ToNarrow(u"\u0081", 8), "?");
}

TEST_F(CxCodePage, CutsToFitWithATerminatorAndEmptyStaysEmpty) {
    EXPECT_EQ(ToNarrow(u"", 10), "");
    EXPECT_EQ(ToNarrow(u"abcdef", 4), "abc");
    EXPECT_EQ(ToNarrow(u"abc", 0), "");
    EXPECT_EQ(ToWide("abcdef", 4), u"abc");
    EXPECT_EQ(ToWide("", 4), u"");
}

TEST_F(CxCodePage, MultiByteCodePagesAreNeverCutInsideACharacter) {
    SetAnsiCodePage("932");  // Shift-JIS: two bytes for each kana
    const std::u16string kana = u"\u3042\u3044\u3046";
    EXPECT_EQ(ToNarrow(kana, 64).size(), 6u);
    EXPECT_EQ(ToNarrow(kana, 6).size(), 4u);
    EXPECT_EQ(ToWide(ToNarrow(kana, 64), 64), kana);
}

TEST_F(CxCodePage, Utf8ConversionsBothWays) {
    EXPECT_EQ(AnsiToUtf8("caf\xe9"), "caf\xc3\xa9");
    EXPECT_EQ(Utf8ToAnsi("caf\xc3\xa9"), "caf\xe9");
    EXPECT_EQ(Utf8ToAnsi("\xd0\x96!"), "?!");
    // A malformed sequence is one question mark, and what follows survives.
    EXPECT_EQ(Utf8ToAnsi("a\xc3(b"), "a?(b");
}

}  // namespace tabrel
