#include <gtest/gtest.h>

#include <string>

#include "misc/IniFile.h"

namespace tabrel {

TEST(IniFile, NamesIgnoreLetterCaseAndBlanksAroundNamesAndValues) {
    const IniFile doc("[ Tabrel ]\n  Mode  =  2 words  \t\nempty=\n[path]\nPDPath=C:\\Palm\n");
    EXPECT_EQ(doc.GetValue("tabrel", "MODE"), "2 words");
    EXPECT_EQ(doc.GetValue("TABREL", "Empty"), "");
    EXPECT_EQ(doc.GetValue("Path", "pdpath"), "C:\\Palm");
    EXPECT_EQ(doc.GetValue("Tabrel", "PDPath"), std::nullopt);  // in another section
    EXPECT_EQ(doc.GetValue("Other", "Mode"), std::nullopt);
}

TEST(IniFile, ValueRunsToTheEndOfTheLineWithQuotesAndSeparators) {
    const IniFile doc("[s]\nQuoteMark=\"\nb=a=b ; not a comment\nc='x'\n");
    EXPECT_EQ(doc.GetValue("s", "QuoteMark"), "\"");
    EXPECT_EQ(doc.GetValue("s", "b"), "a=b ; not a comment");
    EXPECT_EQ(doc.GetValue("s", "c"), "'x'");
}

TEST(IniFile, CommentsKeysOutsideSectionsAndBrokenLinesAreNoValues) {
    const IniFile doc(
        "k=outside\n[s]\n;k=comment\n#k=hash\nno equals sign\n=nameless\n"
        "[broken\nk=inside\n");
    // "[broken" is no section header, so the key still belongs to [s].
    EXPECT_EQ(doc.GetValue("s", "k"), "inside");
    EXPECT_EQ(doc.GetValue("broken", "k"), std::nullopt);
    EXPECT_EQ(doc.GetValue("s", ";k"), std::nullopt);
}

TEST(IniFile, TheFirstOfTwinSectionsAndKeysWins) {
    IniFile doc("[s]\nk=1\nk=2\n[S]\nk=3\nj=4\n");
    EXPECT_EQ(doc.GetValue("s", "k"), "1");
    EXPECT_EQ(doc.GetValue("s", "j"), std::nullopt);
    ASSERT_TRUE(doc.SetValue("s", "K", "9"));
    EXPECT_EQ(doc.GetText(), "[s]\nk=9\nk=2\n[S]\nk=3\nj=4\n");
}

TEST(IniFile, UnchangedDocumentKeepsEveryByte) {
    const std::string text =
        "\xEF\xBB\xBF; settings\r\n\r\n[Tabrel]\r\nMode = 1 \r\n[Other]\r\nx=y\r\n  \t\r\nlast";
    EXPECT_EQ(IniFile(text).GetText(), text);
    EXPECT_EQ(IniFile(text).GetValue("tabrel", "mode"), "1");
    EXPECT_EQ(IniFile("").GetText(), "");
}

TEST(IniFile, ReplacesAValueInPlaceKeepingTheRestOfTheLine) {
    IniFile doc("; c\r\n[Tabrel]\r\n  mode = 1   \r\nApp=1\r\n[x]\r\n");
    ASSERT_TRUE(doc.SetValue("TABREL", "Mode", "2"));
    ASSERT_TRUE(doc.SetValue("Tabrel", "app", ""));
    EXPECT_EQ(doc.GetText(), "; c\r\n[Tabrel]\r\n  mode = 2   \r\nApp=\r\n[x]\r\n");
}

TEST(IniFile, AddsAMissingKeyAfterTheLastFilledLineOfItsSection) {
    IniFile doc("[a]\nk=1\n; note\n\n\n[b]\nk=2\n");
    ASSERT_TRUE(doc.SetValue("A", "New", "v"));
    EXPECT_EQ(doc.GetText(), "[a]\nk=1\n; note\nNew=v\n\n\n[b]\nk=2\n");

    IniFile empty("[a]\r\n[b]\r\n");
    ASSERT_TRUE(empty.SetValue("a", "k", "v"));
    EXPECT_EQ(empty.GetText(), "[a]\r\nk=v\r\n[b]\r\n");
}

TEST(IniFile, AddsAMissingKeyAfterALastLineWithoutLineEnd) {
    IniFile doc("[a]\r\nk=1");
    ASSERT_TRUE(doc.SetValue("a", "j", "2"));
    EXPECT_EQ(doc.GetText(), "[a]\r\nk=1\r\nj=2\r\n");
}

TEST(IniFile, AddsAMissingSectionAtTheEndInTheFileLineEndStyle) {
    IniFile crlf("[a]\r\nk=1");
    ASSERT_TRUE(crlf.SetValue("Path", "PDPath", "/opt/palm"));
    EXPECT_EQ(crlf.GetText(), "[a]\r\nk=1\r\n\r\n[Path]\r\nPDPath=/opt/palm\r\n");

    IniFile blankEnd("[a]\nk=1\n\n");
    ASSERT_TRUE(blankEnd.SetValue("b", "k", "2"));
    EXPECT_EQ(blankEnd.GetText(), "[a]\nk=1\n\n[b]\nk=2\n");

    IniFile fresh;
    ASSERT_TRUE(fresh.SetValue(" Tabrel ", " Mode ", "1"));
    EXPECT_EQ(fresh.GetText(), "[Tabrel]\nMode=1\n");
}

TEST(IniFile, RefusesWhatWouldNotReadBackAsWritten) {
    IniFile doc("[s]\nk=1\n");
    EXPECT_FALSE(doc.SetValue("s", "k", "two\nlines"));
    EXPECT_FALSE(doc.SetValue("s", "k", "cr\r"));
    EXPECT_FALSE(doc.SetValue("s", "new\nkey", "v"));
    EXPECT_FALSE(doc.SetValue("s]x", "k", "v"));
    EXPECT_FALSE(doc.SetValue("s", "a=b", "v"));
    EXPECT_FALSE(doc.SetValue("s", ";k", "v"));
    EXPECT_FALSE(doc.SetValue("s", "[k", "v"));
    EXPECT_FALSE(doc.SetValue("", "k", "v"));
    EXPECT_FALSE(doc.SetValue("s", "  ", "v"));
    EXPECT_EQ(doc.GetText(), "[s]\nk=1\n");
}

}  // namespace tabrel
